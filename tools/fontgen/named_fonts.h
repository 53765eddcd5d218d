#pragma once
// The 31 single-byte fonts of "ezfon.bin", in file order, each exactly the cell its name gives,
// holding the printable ASCII range 0x20 to 0x7E.
//
// Where the X11 misc-fixed collection has a font of that cell (or one a row or two shorter,
// padded, or a row taller, descenders lifted into the blank rows above), its bitmaps are used;
// the other cells are rasterised with FreeType from DejaVu Sans Mono, scaled separately in x and
// y to fill the cell (the proportional ones keep the face's own shapes). "S" and "A" variants
// are bold, "n"/"N" variants and the QV family are proportional (each glyph's ink moved to
// column 0, its advance the ink width + 1).
#include <string>
#include <vector>

#include "engine/fonts/bitmap_font.h"

namespace brightline::fontgen {

inline constexpr int kFirstCode = 0x20;
inline constexpr int kLastCode = 0x7E;

struct FontSources {
    std::string x11MiscFolder;  // holds "5x7.pcf.gz" and friends
    std::string dejavuFolder;   // holds "DejaVuSansMono.ttf" and "DejaVuSansMono-Bold.ttf"
};

// Throws std::runtime_error when a source font cannot be opened.
std::vector<BitmapFont> makeNamedFonts(const FontSources& sources);

}  // namespace brightline::fontgen
