#pragma once
// A clock page (".tim"): which of date, time, weekday, temperature and title a region shows,
// each field's template or text, font, colour and position, and the place's time zone rules.
//
// The file is INI-style text ("[TIME]" and "[TEMPERATURE]" sections of KEY=VALUE lines, CR LF)
// as the clock page editor writes it. The engine takes the keys whatever section they stand in;
// spaces are dropped from keys and from numbers and colours, the templates and the title keep
// the spaces between their characters. Loading a page overwrites only the fields whose keys it
// holds; a fresh ClockPage has every field off, black, at (0, 0), with an empty template.
#include <cstdint>
#include <string>

namespace brightline {

struct ClockField {
    bool shown = false;
    uint32_t colour = 0;  // 0x00RRGGBB
    long fontSize = 0;    // kept for the editor; drawing does not use it
    long fontIndex = 0;   // stored font index n: engine font n + 1 when loaded, else font 3
    long x = 0;           // pen position of the field's top-left corner, pixels in the region
    long y = 0;
    std::string text;  // the template (date, time, week) or the title text
};

// "MM/NN:HH": month 1-12, ordinal of the Sunday in that month 1-5 (5: the last one), hour 0-23.
struct DaylightRule {
    int month = 0;
    int ordinal = 0;
    int hour = 0;
    // False for a text that gives no instant (a number out of range, not digits, too short):
    // daylight saving is then never in force.
    bool valid = false;

    static DaylightRule parse(const std::string& text);
};

struct ClockPage {
    ClockField date;
    ClockField time;
    ClockField week;
    ClockField temperature;
    ClockField title;
    long diffTime = 0;  // seconds subtracted from universal time (ten hours east: -36000)
    long daylight = 0;  // seconds subtracted in addition while daylight saving is in force
    DaylightRule daylightStart;
    DaylightRule daylightEnd;
    char temperatureMode = 'C';  // 'F' Fahrenheit, anything else Celsius

    bool fahrenheit() const { return temperatureMode == 'F'; }
};

inline constexpr size_t kClockPageLimit = 65536;  // bytes of a page file that are read
inline constexpr size_t kTemplateLimit = 19;      // characters of DATE, WEEK, TIME
inline constexpr size_t kTitleLimit = 159;        // characters of TITLE

// The engine's diagnostic lines.
inline constexpr char kCouldNotOpenPage[] = "could not open %s \n";
inline constexpr char kReadTimFailed[] = "read tim failed\n";

// Applies the keys of a page text (at most kClockPageLimit bytes are looked at) to `page`.
// Unknown keys ("TIME_ZONE0", ...) and lines without "=" are passed over.
void applyClockPageText(const std::string& text, ClockPage& page);

}  // namespace brightline
