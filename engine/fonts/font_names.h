#pragma once
// The names the editors know the fonts of "ezfon.bin" by, in file order: name i is the font at
// position i of the file (engine font i + 1 when "zhzk16.bin" is loaded first). Each name gives
// the cell size, width x height in pixels.
#include <cstddef>

namespace brightline {

inline constexpr size_t kNamedFontCount = 31;
inline constexpr const char* kNamedFonts[kNamedFontCount] = {
    "E4X7",     "E5X5",     "E5X7",     "E5X7n",    "E5X7S",    "E5X8",     "E5X8N",    "E6X10",
    "E6X11",    "E7X13",    "E7X15",    "E7X15A",   "E7X16",    "E9X15",    "E11X23",   "E12X24",
    "E13X32",   "E16X32",   "E17X40",   "E21X48",   "E7X12",    "E9X19",    "E15X31",   "QVX8X8",
    "QVX16X14", "QVX16X16", "QVX24X22", "QVX24X24", "QVX32X32", "QVX32X36", "QVX40X42",
};

}  // namespace brightline
