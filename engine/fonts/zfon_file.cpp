#include "engine/fonts/zfon_file.h"

#include <cstring>

#include "common/byte_reader.h"
#include "common/byte_writer.h"

namespace brightline {

ZfonContents readZfon(const uint8_t* data, size_t size, int maxFonts) {
    ZfonContents out;
    ByteReader in(data, size);
    char magic[4] = {};
    in.bytes(magic, 4);
    int32_t count = in.i32();
    if (!in.ok()) {
        out.error = "font file header cut short (" + std::to_string(size) + " bytes)";
        return out;
    }
    if (std::memcmp(magic, kZfonMagic, 4) != 0) {
        out.error = "not a ZFON font file";
        return out;
    }
    for (int32_t i = 0; i < count && static_cast<int>(out.fonts.size()) < maxFonts; ++i) {
        FontHeader h;
        h.proportional = in.u8();
        h.width = in.u8();
        h.height = in.u8();
        h.firstCode = in.u8();
        h.count = in.u16();
        if (!in.ok()) {
            out.error = "font " + std::to_string(i) + ": header cut short";
            out.shortGlyphBlock = true;
            return out;
        }
        size_t need = h.blockSize();
        if (in.remaining() < need) {
            out.error = "font " + std::to_string(i) + ": glyph block of " + std::to_string(need) +
                        " bytes, " + std::to_string(in.remaining()) + " left";
            out.shortGlyphBlock = true;
            return out;
        }
        std::vector<uint8_t> block(need);
        if (need > 0) in.bytes(block.data(), need);
        out.fonts.emplace_back(h, std::move(block));
    }
    return out;
}

std::vector<uint8_t> writeZfon(const std::vector<BitmapFont>& fonts) {
    ByteWriter w;
    w.bytes(kZfonMagic, 4);
    w.i32(static_cast<int32_t>(fonts.size()));
    for (const BitmapFont& f : fonts) {
        const FontHeader& h = f.header();
        w.u8(h.proportional);
        w.u8(h.width);
        w.u8(h.height);
        w.u8(h.firstCode);
        w.u16(h.count);
        w.bytes(f.glyphBlock().data(), f.glyphBlock().size());
    }
    return w.take();
}

}  // namespace brightline
