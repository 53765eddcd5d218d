#pragma once
// The ZFON font file, little-endian:
//   0  4  magic "ZFON"
//   4  4  number of fonts N (signed; below 1 means none)
//   8  …  N fonts, each a 6-byte header (proportional flag, width, height, first code,
//         uint16 glyph count) followed by glyph count x glyph size bytes of glyph data
// Reading never goes past the end of the buffer; writing gives the same bytes back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/fonts/bitmap_font.h"

namespace brightline {

inline constexpr char kZfonMagic[4] = {'Z', 'F', 'O', 'N'};

struct ZfonContents {
    std::vector<BitmapFont> fonts;
    // Empty when the whole file was read. Otherwise why reading stopped: a bad header (no
    // fonts), or a font whose glyph block is cut short (that font dropped, the ones before it
    // kept).
    std::string error;
    // True when a font's glyph block was cut short (the engine's "read failed").
    bool shortGlyphBlock = false;
};

// Reads at most `maxFonts` fonts (those after are ignored).
ZfonContents readZfon(const uint8_t* data, size_t size, int maxFonts);
inline ZfonContents readZfon(const std::vector<uint8_t>& bytes, int maxFonts) {
    return readZfon(bytes.data(), bytes.size(), maxFonts);
}

std::vector<uint8_t> writeZfon(const std::vector<BitmapFont>& fonts);

}  // namespace brightline
