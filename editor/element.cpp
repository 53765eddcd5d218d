#include "editor/element.h"

namespace brightline {

void CElement::serialize(ArchiveWriter& ar) const {
    ByteWriter& out = ar.out();
    out.i32(moveIn);
    out.i32(moveOut);
    out.i32(speed);
    out.i32(start);
    out.i32(hold);
    writeRect(out, barRect);
    out.i32(thumbIndex);
    ar.writeString(path);
}

void CElement::deserialize(ArchiveReader& ar) {
    ByteReader& in = ar.in();
    moveIn = in.i32();
    moveOut = in.i32();
    speed = in.i32();
    start = in.i32();
    hold = in.i32();
    barRect = readRect(in);
    thumbIndex = in.i32();
    path = ar.readString();
}

bool CElement::operator==(const CElement& o) const {
    return path == o.path && thumbIndex == o.thumbIndex && moveIn == o.moveIn &&
           moveOut == o.moveOut && speed == o.speed && start == o.start && hold == o.hold &&
           barRect == o.barRect;
}

}  // namespace brightline
