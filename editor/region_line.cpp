#include "editor/region_line.h"

namespace brightline {

void CRegion_Line::serialize(ByteWriter& out) const {
    writeRect(out, band);
    out.i32(selected);
    out.i32(horizontal);
    out.i32(role);
    out.i32(endLineA);
    out.i32(endLineB);
}

void CRegion_Line::deserialize(ByteReader& in) {
    band = readRect(in);
    selected = in.i32();
    horizontal = in.i32();
    role = in.i32();
    endLineA = in.i32();
    endLineB = in.i32();
}

bool CRegion_Line::operator==(const CRegion_Line& o) const {
    return band == o.band && selected == o.selected && horizontal == o.horizontal &&
           role == o.role && endLineA == o.endLineA && endLineB == o.endLineB;
}

}  // namespace brightline
