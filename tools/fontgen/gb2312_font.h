#pragma once
// The 16 x 16 GB2312 font ("zhzk16.bin"): the 8,178 glyphs of rows 0xA1 to 0xF7, 94 cells a
// row, drawn from GNU Unifont's "unifont.hex" through iconv's GB2312 table. Codes GB2312 leaves
// unassigned, or Unifont does not draw, are blank. Unifont's 8-pixel-wide glyphs are centred in
// the 16-pixel cell.
#include <string>

#include "engine/fonts/bitmap_font.h"

namespace brightline::fontgen {

inline constexpr int kGbFirstRow = 0xA1;
inline constexpr int kGbLastRow = 0xF7;
inline constexpr int kGbCellsPerRow = 94;

// Throws std::runtime_error when the hex file cannot be read or iconv lacks GB2312.
BitmapFont makeGb2312Font(const std::string& unifontHexPath);

}  // namespace brightline::fontgen
