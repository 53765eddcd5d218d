#pragma once
// One bitmap font of a ZFON font file: its six header bytes and its glyph block.
//
// Glyphs are stored in character order from the first code; each glyph is `height` rows, top
// row first, of ceil(width / 8) bytes, most significant bit first, bit 1 = ink. A proportional
// glyph starts with one byte, its advance in pixels, before its rows.
//
// Immutable after construction; safe to read from any number of threads.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brightline {

struct FontHeader {
    uint8_t proportional = 0;  // 0 fixed width, non-zero proportional
    uint8_t width = 0;         // glyph width in pixels
    uint8_t height = 0;        // glyph height in pixels
    uint8_t firstCode = 0;     // code of the first glyph
    uint16_t count = 0;        // number of glyphs

    int bytesPerRow() const { return (width + 7) / 8; }
    // Bytes of one glyph in the glyph block, the advance byte included.
    size_t glyphSize() const {
        return static_cast<size_t>(height) * static_cast<size_t>(bytesPerRow()) +
               (proportional ? 1 : 0);
    }
    size_t blockSize() const { return glyphSize() * count; }
};

// A borrowed view of one glyph. `rows` is null for a blank glyph (a code the font does not
// hold): nothing is drawn, the pen still advances. Valid while the font lives.
struct GlyphView {
    const uint8_t* rows = nullptr;  // height x bytesPerRow bytes, top row first
    int width = 0;
    int height = 0;
    int bytesPerRow = 0;
    int advance = 0;  // pixels: the font width, or a proportional glyph's own advance byte

    bool blank() const { return rows == nullptr; }
    // True when pixel (x, y) of the glyph is ink; false outside the glyph.
    bool ink(int x, int y) const {
        if (!rows || x < 0 || y < 0 || x >= width || y >= height) return false;
        return (rows[y * bytesPerRow + x / 8] >> (7 - x % 8)) & 1;
    }
};

class BitmapFont {
  public:
    // `glyphs` must hold exactly header.blockSize() bytes (std::invalid_argument otherwise).
    BitmapFont(const FontHeader& header, std::vector<uint8_t> glyphs);

    const FontHeader& header() const { return header_; }
    int width() const { return header_.width; }
    int height() const { return header_.height; }
    bool proportional() const { return header_.proportional != 0; }
    int glyphCount() const { return header_.count; }
    const std::vector<uint8_t>& glyphBlock() const { return glyphs_; }

    // Glyph number n (0 = the first code); a blank glyph of the font's width when n is out of
    // range.
    GlyphView glyph(long n) const;
    // The glyph of single-byte character c: glyph number c - first code.
    GlyphView glyphForCode(uint8_t c) const {
        return glyph(static_cast<long>(c) - header_.firstCode);
    }

  private:
    FontHeader header_;
    std::vector<uint8_t> glyphs_;
};

}  // namespace brightline
