#pragma once
// The clock page as the clock page editor ("Edit ZTIME") keeps and writes it: five items (date,
// time, week, temperature, title), each shown or not, with its format, font, colour and
// position, and the place's time zone values. The engine reads the same file
// (engine/clock/clock_page.h); this is the editor's side: its defaults, its font list and
// format lists, the file written key by key in the designed order with every other key left as
// it was, and the time zone taken from or given to the process.
//
// Plain functions; no window.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/time_zone.h"
#include "engine/clock/clock_page.h"
#include "engine/clock/local_time.h"

namespace brightline {

enum ClockItemKind { kClockDate = 0, kClockTime, kClockWeek, kClockTemperature, kClockTitle };
inline constexpr int kClockItemCount = 5;

// The names of the items in the item selector and the "Show" boxes' captions, by kind.
extern const std::array<const char*, kClockItemCount> kClockItemNames;     // "Date" .. "Title"
extern const std::array<const char*, kClockItemCount> kClockShowCaptions;  // "Show Date" ..

struct ClockItem {
    int kind = kClockDate;
    bool shown = true;
    // The date, time or week format; the temperature text ("##'C" or "##'F"); the title text.
    std::string format;
    int fontIndex = 2;           // editor font index 0..30 (the n-th font of "ezfon.bin")
    uint32_t colour = 0xFF0000;  // 0x00RRGGBB
    int x = 0;                   // top-left corner on the sign face, pixels
    int y = 0;
};

struct ClockPageDocument {
    std::array<ClockItem, kClockItemCount> items;
    long diffTime = 0;  // DIFF_TIME: seconds west of Greenwich (ten hours east: -36000)
    long daylight = 0;  // DAYLIGHT: seconds, -3600 where daylight saving is kept
    std::string daylightStart = "04/05:02";  // "MM/WW:HH"
    std::string daylightEnd = "10/31:02";
    long timeZone0 = 0;  // TIME_ZONE0/1: the codes of the standard zone name's first two letters
    long timeZone1 = 0;
    // Read and written back unchanged: DATE, WEEK, TIME, TEMPERATURE, TITLE _FONT_SIZE.
    std::array<long, kClockItemCount> fontSizes{8, 8, 8, 8, 8};
};

// The editor's font list in display order: name and editor font index.
struct ClockFont {
    const char* name;
    int index;
};
extern const std::array<ClockFont, 31> kClockFonts;
// The name of an editor font index ("E7X12" for 20); "" for none.
std::string clockFontName(int index);

// The formats the format box offers an item (the title: its own text only).
std::vector<std::string> clockFormats(const ClockItem& item);
// The format an item takes when its own is empty.
const char* defaultClockFormat(int kind);

// Reads a page: every key of the file, its default where the key is missing (a file that does
// not exist: all defaults). `namedFonts`: how many fonts "ezfon.bin" gave; a font index outside
// them becomes 2. False (and the defaults) when the file exists but cannot be read.
bool loadClockPageDocument(const std::string& path, int namedFonts, ClockPageDocument& page,
                           std::string* error = nullptr);
// A new page: the defaults, with the zone values of `zone`.
ClockPageDocument newClockPageDocument(const TimeZoneInfo& zone, int namedFonts);
// DIFF_TIME, DAYLIGHT, the daylight start and end texts and the two zone codes from `zone`.
void takeZone(ClockPageDocument& page, const TimeZoneInfo& zone);

// Writes every key in the designed order ("TIME" then "TEMPERATURE"; colours "#rrggbb",
// TEMPERATURE_MODE "C" when the temperature text holds a capital C, else "F"); keys the file
// has already are updated in place and every other line is left as it was. A new file is
// written with CR LF line ends. Atomic. False with `error` when it could not be written.
bool saveClockPageDocument(const std::string& path, const ClockPageDocument& page,
                           std::string* error = nullptr);

// The POSIX TZ rule that puts the process on the page's zone: offset DIFF_TIME, daylight
// saving by DAYLIGHT between the start and end rules (none when DAYLIGHT is 0 or a rule gives no
// day), the standard name `current`'s with its first two letters from the zone codes.
std::string posixZoneOf(const ClockPageDocument& page, const TimeZoneInfo& current);

// The text an item shows at the local moment `now` (date, time and week through their format,
// the temperature and title as they are).
std::string clockItemText(const ClockItem& item, const CivilTime& now);
// The page as the engine draws it: what the preview shows with the engine's own renderer.
ClockPage clockPageOf(const ClockPageDocument& page);

}  // namespace brightline
