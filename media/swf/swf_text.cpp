#include "media/swf/swf_text.h"

#include <algorithm>

namespace brightline::swf {
namespace {

// Glyph i's outline lies from offsets[i] to offsets[i + 1] (the last one to `end`), counted
// from `table`.
void readGlyphs(const uint8_t* table, size_t end, const std::vector<uint32_t>& offsets, Font& out) {
    out.glyphs.resize(offsets.size());
    for (size_t i = 0; i < offsets.size(); ++i) {
        const size_t from = offsets[i];
        const size_t to = i + 1 < offsets.size() ? offsets[i + 1] : end;
        if (from >= to || to > end) continue;
        SwfReader glyph(table + from, to - from);
        std::string ignored;
        if (!readGlyphShape(glyph, out.glyphs[i], ignored)) out.glyphs[i] = Shape();
    }
}

}  // namespace

bool readFont(int code, SwfReader& r, Font& out, std::string& error) {
    if (code == 10) {
        const size_t size = r.remaining();
        const uint8_t* table = r.bytes(size);
        if (!table || size < 2) return true;  // a font of no glyphs
        const size_t count = (size_t(table[0]) | (size_t(table[1]) << 8)) / 2;
        if (count * 2 > size) {
            error = "the glyph offset table is longer than the font";
            return false;
        }
        std::vector<uint32_t> offsets(count);
        for (size_t i = 0; i < count; ++i)
            offsets[i] = uint32_t(table[2 * i]) | (uint32_t(table[2 * i + 1]) << 8);
        readGlyphs(table, size, offsets, out);
        return true;
    }
    const uint8_t flags = r.u8();
    r.u8();  // language
    const size_t nameLength = r.u8();
    r.skip(nameLength);
    const size_t count = r.u16();
    const bool wide = flags & 0x08;
    out.emSize = code == 75 ? 20480 : 1024;
    if (!r.ok()) {
        error = "the font header is cut short";
        return false;
    }
    if (count == 0) return true;
    const size_t tableStart = r.position();
    std::vector<uint32_t> offsets(count);
    for (size_t i = 0; i < count; ++i) offsets[i] = wide ? r.u32() : r.u16();
    const uint32_t codeTableOffset = wide ? r.u32() : r.u16();
    if (!r.ok()) {
        error = "the glyph offset table is cut short";
        return false;
    }
    const size_t available = r.position() + r.remaining() - tableStart;
    const size_t end = std::min<size_t>(codeTableOffset, available);
    readGlyphs(r.data() + tableStart, end, offsets, out);
    // The code table and layout that follow only serve text typed at run time.
    return true;
}

bool readText(int code, SwfReader& r, Text& out, std::string& error) {
    out.bounds = r.rect();
    out.matrix = r.matrix();
    const int glyphBits = r.u8();
    const int advanceBits = r.u8();
    if (glyphBits > 32 || advanceBits > 32) {
        error = "glyph fields wider than 32 bits";
        return false;
    }
    TextRun run;
    double x = 0;
    while (r.ok()) {
        const uint8_t first = r.u8();
        if (first == 0 || !(first & 0x80)) break;
        if (first & 0x08) run.fontId = r.u16();
        if (first & 0x04) run.color = code == 33 ? r.rgba() : r.rgb();
        if (first & 0x01) x = r.s16();
        if (first & 0x02) run.y = r.s16();
        if (first & 0x08) run.height = r.u16();
        const int count = r.u8();
        run.glyphs.clear();
        for (int i = 0; i < count; ++i) {
            TextGlyph g;
            g.index = int(r.ub(glyphBits));
            g.x = x;
            x += r.sb(advanceBits);
            run.glyphs.push_back(g);
        }
        if (r.ok()) out.runs.push_back(run);
    }
    if (!r.ok()) {
        error = "the text records are cut short";
        return false;
    }
    return true;
}

}  // namespace brightline::swf
