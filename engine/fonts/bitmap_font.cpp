#include "engine/fonts/bitmap_font.h"

#include <stdexcept>
#include <string>

namespace brightline {

BitmapFont::BitmapFont(const FontHeader& header, std::vector<uint8_t> glyphs)
    : header_(header), glyphs_(std::move(glyphs)) {
    if (glyphs_.size() != header_.blockSize())
        throw std::invalid_argument("glyph block of " + std::to_string(glyphs_.size()) +
                                    " bytes, the header needs " +
                                    std::to_string(header_.blockSize()));
}

GlyphView BitmapFont::glyph(long n) const {
    GlyphView v;
    v.width = header_.width;
    v.height = header_.height;
    v.bytesPerRow = header_.bytesPerRow();
    v.advance = header_.width;
    if (n < 0 || n >= header_.count) return v;
    const uint8_t* g = glyphs_.data() + static_cast<size_t>(n) * header_.glyphSize();
    if (proportional()) {
        v.advance = g[0];
        ++g;
    }
    v.rows = g;
    return v;
}

}  // namespace brightline
