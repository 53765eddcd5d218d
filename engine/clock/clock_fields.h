#pragma once
// The texts of a clock page's fields and where their glyphs go.
//
// Templates: in a date, each Y, M, D takes the next digit of the year ("%04d"), month or day
// ("%02d"), starting so that k letters give the last k digits ("YY" of 2027 is "27"); in a
// time, H, M, S take digits of the hour, minute and second, and P gives "AM" or "PM" and puts
// the hour on the 12-hour clock (0 shows as 12 AM, 12 as 12 PM, 13 as 01 PM); in a weekday,
// k letters W give the last k letters of "Sun" .. "Sat" and D the day number 0 (Sunday) to 6.
// More letters than digits give leading "0"s (more W than three: spaces). A CR is skipped,
// every other character stands for itself.
//
// The layout functions return what to draw where; the engine draws each glyph with its own
// glyph drawing into page 0 of the region (rows outside the region are its to clip). Pure
// functions; the GlyphViews point into the font table and live as long as its fonts.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock/clock_page.h"
#include "engine/clock/local_time.h"
#include "engine/fonts/bitmap_font.h"
#include "engine/fonts/font_table.h"

namespace brightline {

std::string dateText(const std::string& tmpl, const CivilTime& t);
std::string timeText(const std::string& tmpl, const CivilTime& t);
std::string weekText(const std::string& tmpl, const CivilTime& t);
// "##" for no reading, -1 (the sign's "no reading"), above 85 or below -85; otherwise the
// reading in degrees Celsius, or converted to Fahrenheit (x x 9 x 0.2 + 32, truncated), "%d".
std::string temperatureText(std::optional<int> celsius, bool fahrenheit);

struct PlacedGlyph {
    long x = 0;  // top-left pen position in the region, pixels
    long y = 0;
    uint32_t colour = 0;  // 0x00RRGGBB
    GlyphView glyph;
    char code = 0;  // the character drawn (for diagnostics and tests)
};

struct RegionSize {
    int width = 0;
    int height = 0;
};

// Date, time and weekday (Draw clock), in that order. A field is laid out only when shown and
// its x lies left of the region's right edge and its y above its bottom edge. Each character
// draws one glyph of the field's font in the field's colour and moves the pen by the glyph's
// advance + 1; characters left of column 0, right of the region or above row 0 are not placed
// but still move the pen.
std::vector<PlacedGlyph> layoutClockFields(const ClockPage& page, const CivilTime& shown,
                                           const FontTable& fonts, RegionSize region);

// Temperature and title (Draw extras). The temperature is its number, then a small "o" from
// font 1 two rows higher as the degree mark, then "C" or "F", each advancing by its font's width
// + 1; the title advances by the title font's width + 1 a character.
std::vector<PlacedGlyph> layoutClockExtras(const ClockPage& page, std::optional<int> celsius,
                                           const FontTable& fonts, RegionSize region);

}  // namespace brightline
