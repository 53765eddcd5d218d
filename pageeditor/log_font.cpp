#include "pageeditor/log_font.h"

#include <cstring>

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/code_page.h"
#include "pageeditor/dbcs_text.h"

namespace brightline::pageeditor {

std::string LogFont::face() const {
    size_t n = 0;
    while (n < faceName.size() && faceName[n] != 0) ++n;
    return fromOem(std::string(reinterpret_cast<const char*>(faceName.data()), n));
}

void LogFont::setFace(const std::string& utf8) {
    const std::string oem = toOem(utf8);
    size_t n = 0;
    while (n < oem.size()) {
        const size_t next = n + characterLength(oem, n);
        if (next > kFaceNameSize - 1) break;
        n = next;
    }
    faceName.fill(0);
    std::memcpy(faceName.data(), oem.data(), n);
}

std::array<uint8_t, kLogFontSize> LogFont::encode() const {
    ByteWriter w;
    w.i32(height);
    w.i32(width);
    w.i32(escapement);
    w.i32(orientation);
    w.i32(weight);
    for (uint8_t b : {italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality,
                      pitchAndFamily})
        w.u8(b);
    w.bytes(faceName.data(), faceName.size());
    std::array<uint8_t, kLogFontSize> out{};
    std::memcpy(out.data(), w.data().data(), kLogFontSize);
    return out;
}

LogFont LogFont::decode(const uint8_t* data) {
    ByteReader r(data, kLogFontSize);
    LogFont f;
    f.height = r.i32();
    f.width = r.i32();
    f.escapement = r.i32();
    f.orientation = r.i32();
    f.weight = r.i32();
    f.italic = r.u8();
    f.underline = r.u8();
    f.strikeOut = r.u8();
    f.charSet = r.u8();
    f.outPrecision = r.u8();
    f.clipPrecision = r.u8();
    f.quality = r.u8();
    f.pitchAndFamily = r.u8();
    r.bytes(f.faceName.data(), f.faceName.size());
    return f;
}

LogFont defaultLogFont() {
    LogFont f;
    f.height = 14;
    f.weight = 400;
    f.charSet = kDefaultCharset;
    f.setFace("Tahoma");
    return f;
}

}  // namespace brightline::pageeditor
