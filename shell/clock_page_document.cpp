#include "shell/clock_page_document.h"

#include <cstdio>

#include "common/ini_file.h"
#include "engine/clock/clock_fields.h"

namespace brightline {
namespace {

constexpr const char* kTimeSection = "TIME";
constexpr const char* kTemperatureSection = "TEMPERATURE";
constexpr uint32_t kRed = 0xFF0000;
constexpr size_t kRuleLimit = 15;
constexpr size_t kFormatLimit = 19;
constexpr size_t kEditorTitleLimit = 255;
constexpr size_t kColourLimit = 9;
constexpr int kFallbackFont = 2;

// Key prefix, section, default position of each item.
struct ItemKeys {
    const char* prefix;
    const char* section;
    int x, y;
};
constexpr ItemKeys kKeys[kClockItemCount] = {
    {"DATE", kTimeSection, 0, 0},          {"TIME", kTimeSection, 0, 8},
    {"WEEK", kTimeSection, 0, 16},         {"TEMPERATURE", kTemperatureSection, 0, 48},
    {"TITLE", kTemperatureSection, 0, 32},
};

std::string key(int kind, const char* suffix) {
    return std::string(kKeys[kind].prefix) + suffix;
}

uint32_t colourOf(const std::string& text) {
    if (text.size() < 7 || text[0] != '#') return kRed;
    uint32_t value = 0;
    for (size_t i = 1; i < 7; ++i) {
        const char c = text[i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return kRed;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

std::string colourText(uint32_t colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", (colour >> 16) & 0xFF,
                  (colour >> 8) & 0xFF, colour & 0xFF);
    return buffer;
}

std::string ruleText(const TransitionDate& d) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d:%02d", d.month, d.day, d.hour);
    return buffer;
}

// [+-]hh[:mm[:ss]], positive west of Greenwich, as a POSIX rule writes offsets.
std::string offsetText(long west) {
    const char* sign = west < 0 ? "-" : "";
    const long a = west < 0 ? -west : west;
    char buffer[32];
    if (a % 60)
        std::snprintf(buffer, sizeof buffer, "%s%ld:%02ld:%02ld", sign, a / 3600, a / 60 % 60,
                      a % 60);
    else if (a % 3600)
        std::snprintf(buffer, sizeof buffer, "%s%ld:%02ld", sign, a / 3600, a / 60 % 60);
    else
        std::snprintf(buffer, sizeof buffer, "%s%ld", sign, a / 3600);
    return buffer;
}

bool nameCharacter(long code) {
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
           (code >= 'a' && code <= 'z') || code == '+' || code == '-';
}

// A zone name as a quoted POSIX name: only the characters a rule allows, at least three.
std::string quotedName(std::string name) {
    for (char& c : name)
        if (!nameCharacter(static_cast<unsigned char>(c))) c = 'X';
    while (name.size() < 3) name += 'X';
    return "<" + name + ">";
}

bool readable(const DaylightRule& rule) {
    return rule.valid;
}

}  // namespace

const std::array<const char*, kClockItemCount> kClockItemNames = {"Date", "Time", "Week",
                                                                  "Temperature", "Title"};
const std::array<const char*, kClockItemCount> kClockShowCaptions = {
    "Show Date", "Show Time", "Show Week", "Show Temperature", "Show Title"};

const std::array<ClockFont, 31> kClockFonts = {{
    {"E4X7", 0},      {"E5X5", 1},      {"E5X7", 2},      {"E5X7n", 3},     {"E5X7S", 4},
    {"E5X8", 5},      {"E5X8N", 6},     {"E6X10", 7},     {"E6X11", 8},     {"E7X12", 20},
    {"E7X13", 9},     {"E7X15", 10},    {"E7X15A", 11},   {"E7X16", 12},    {"E9X15", 13},
    {"E9X19", 21},    {"E11X23", 14},   {"E12X24", 15},   {"E13X32", 16},   {"E15X31", 22},
    {"E16X32", 17},   {"E17X40", 18},   {"E21X48", 19},   {"QVX8X8", 23},   {"QVX16X14", 24},
    {"QVX16X16", 25}, {"QVX24X22", 26}, {"QVX24X24", 27}, {"QVX32X32", 28}, {"QVX32X36", 29},
    {"QVX40X42", 30},
}};

std::string clockFontName(int index) {
    for (const ClockFont& f : kClockFonts)
        if (f.index == index) return f.name;
    return {};
}

const char* defaultClockFormat(int kind) {
    switch (kind) {
        case kClockDate:
            return "YYYY/MM/DD";
        case kClockTime:
            return "HH:MM:SS";
        case kClockWeek:
            return "WWW.";
        case kClockTemperature:
            return "## 'C";
        default:
            return "";
    }
}

std::vector<std::string> clockFormats(const ClockItem& item) {
    switch (item.kind) {
        case kClockDate:
            return {"YYYY/MM/DD", "MM/DD/YYYY", "DD/MM/YYYY", "YY/MM/DD", "MM/DD/YY", "DD/MM/YY"};
        case kClockTime:
            return {"HH:MM", "HH:MMP", "HH:MM:SS", "HH:MM:SSP"};
        case kClockWeek:
            return {"WWW.", "D"};
        case kClockTemperature:
            return {"## 'C", "## 'F"};
        default:
            return {item.format};
    }
}

bool loadClockPageDocument(const std::string& path, int namedFonts, ClockPageDocument& page,
                           std::string* error) {
    page = ClockPageDocument();
    IniFile ini;
    const bool ok = path.empty() || ini.load(path);
    if (!ok && error) *error = "cannot read " + path;
    auto text = [&](const char* section, const std::string& k, const char* fallback, size_t limit) {
        return ini.getString(section, k, fallback).substr(0, limit);
    };
    page.diffTime = ini.getInt(kTimeSection, "DIFF_TIME", 0);
    page.daylight = ini.getInt(kTimeSection, "DAYLIGHT", 0);
    page.daylightStart = text(kTimeSection, "DAYLIGHT_START", "04/05:02", kRuleLimit);
    page.daylightEnd = text(kTimeSection, "DAYLIGHT_END", "10/31:02", kRuleLimit);
    page.timeZone0 = ini.getInt(kTimeSection, "TIME_ZONE0", 0);
    page.timeZone1 = ini.getInt(kTimeSection, "TIME_ZONE1", 0);
    const char mode = text(kTemperatureSection, "TEMPERATURE_MODE", "C", 1).c_str()[0];
    for (int kind = 0; kind < kClockItemCount; ++kind) {
        ClockItem& item = page.items[static_cast<size_t>(kind)];
        const char* section = kKeys[kind].section;
        item.kind = kind;
        item.shown = ini.getInt(section, "SHOW_" + std::string(kKeys[kind].prefix), 1) != 0;
        item.colour = colourOf(text(section, key(kind, "_COLOR"), "#FF0000", kColourLimit));
        page.fontSizes[static_cast<size_t>(kind)] = ini.getInt(section, key(kind, "_FONT_SIZE"), 8);
        const long font = ini.getInt(section, key(kind, "_FONT_INDEX"), kFallbackFont);
        item.fontIndex = font >= 0 && font < namedFonts ? static_cast<int>(font) : kFallbackFont;
        item.x = static_cast<int>(ini.getInt(section, key(kind, "_X"), kKeys[kind].x));
        item.y = static_cast<int>(ini.getInt(section, key(kind, "_Y"), kKeys[kind].y));
        if (kind == kClockTemperature)
            item.format = mode == 'C' ? "##'C" : "##'F";
        else if (kind == kClockTitle)
            item.format = text(section, "TITLE", "Temperature", kEditorTitleLimit);
        else
            item.format = text(section, kKeys[kind].prefix, defaultClockFormat(kind), kFormatLimit);
        if (item.format.empty()) item.format = defaultClockFormat(kind);
    }
    return ok;
}

ClockPageDocument newClockPageDocument(const TimeZoneInfo& zone, int namedFonts) {
    ClockPageDocument page;
    loadClockPageDocument("", namedFonts, page);
    takeZone(page, zone);
    return page;
}

void takeZone(ClockPageDocument& page, const TimeZoneInfo& zone) {
    page.diffTime = zone.standardOffsetWest;
    page.daylight = zone.observesDaylight ? -zone.daylightSaving : 0;
    page.daylightStart = ruleText(zone.daylightStart);
    page.daylightEnd = ruleText(zone.standardStart);
    const std::string& name = zone.standardName;
    page.timeZone0 = name.size() > 0 ? static_cast<unsigned char>(name[0]) : 0;
    page.timeZone1 = name.size() > 1 ? static_cast<unsigned char>(name[1]) : 0;
}

bool saveClockPageDocument(const std::string& path, const ClockPageDocument& page,
                           std::string* error) {
    IniFile ini;
    if (!ini.load(path)) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    if (ini.empty()) ini.setLineEnd("\r\n");
    const auto& items = page.items;
    auto setInt = [&](const char* section, const std::string& k, long v) {
        ini.setInt(section, k, v);
    };
    // The "TIME" section, in the designed order.
    const char* t = kTimeSection;
    setInt(t, "SHOW_DATE", items[kClockDate].shown);
    setInt(t, "SHOW_TIME", items[kClockTime].shown);
    setInt(t, "SHOW_WEEK", items[kClockWeek].shown);
    setInt(t, "DIFF_TIME", page.diffTime);
    setInt(t, "DAYLIGHT", page.daylight);
    ini.set(t, "DAYLIGHT_START", page.daylightStart);
    ini.set(t, "DAYLIGHT_END", page.daylightEnd);
    setInt(t, "TIME_ZONE0", page.timeZone0);
    setInt(t, "TIME_ZONE1", page.timeZone1);
    const int dateWeekTime[3] = {kClockDate, kClockWeek, kClockTime};
    for (int kind : dateWeekTime) ini.set(t, key(kind, "_COLOR"), colourText(items[kind].colour));
    for (int kind : dateWeekTime) setInt(t, key(kind, "_FONT_SIZE"), page.fontSizes[kind]);
    for (int kind : dateWeekTime) setInt(t, key(kind, "_FONT_INDEX"), items[kind].fontIndex);
    for (int kind : dateWeekTime) {
        setInt(t, key(kind, "_X"), items[kind].x);
        setInt(t, key(kind, "_Y"), items[kind].y);
    }
    for (int kind : dateWeekTime) ini.set(t, kKeys[kind].prefix, items[kind].format);
    // Then "TEMPERATURE".
    const char* m = kTemperatureSection;
    const ClockItem& temperature = items[kClockTemperature];
    const ClockItem& title = items[kClockTitle];
    setInt(m, "SHOW_TEMPERATURE", temperature.shown);
    setInt(m, "SHOW_TITLE", title.shown);
    ini.set(m, "TEMPERATURE_MODE", temperature.format.find('C') != std::string::npos ? "C" : "F");
    ini.set(m, "TEMPERATURE_COLOR", colourText(temperature.colour));
    ini.set(m, "TITLE_COLOR", colourText(title.colour));
    setInt(m, "TEMPERATURE_FONT_SIZE", page.fontSizes[kClockTemperature]);
    setInt(m, "TEMPERATURE_FONT_INDEX", temperature.fontIndex);
    setInt(m, "TITLE_FONT_SIZE", page.fontSizes[kClockTitle]);
    setInt(m, "TITLE_FONT_INDEX", title.fontIndex);
    setInt(m, "TEMPERATURE_X", temperature.x);
    setInt(m, "TEMPERATURE_Y", temperature.y);
    setInt(m, "TITLE_X", title.x);
    setInt(m, "TITLE_Y", title.y);
    ini.set(m, "TITLE", title.format);
    if (ini.save(path)) return true;
    if (error) *error = "cannot write " + path;
    return false;
}

std::string posixZoneOf(const ClockPageDocument& page, const TimeZoneInfo& current) {
    std::string name = current.standardName;
    while (name.size() < 2) name += 'X';
    if (nameCharacter(page.timeZone0)) name[0] = static_cast<char>(page.timeZone0);
    if (nameCharacter(page.timeZone1)) name[1] = static_cast<char>(page.timeZone1);
    std::string rule = quotedName(name) + offsetText(page.diffTime);
    const DaylightRule start = DaylightRule::parse(page.daylightStart);
    const DaylightRule end = DaylightRule::parse(page.daylightEnd);
    if (page.daylight == 0 || !readable(start) || !readable(end)) return rule;
    std::string daylightName =
        current.daylightName.empty() ? current.standardName + "D" : current.daylightName;
    rule += quotedName(daylightName) + offsetText(page.diffTime + page.daylight);
    char changes[64];
    std::snprintf(changes, sizeof changes, ",M%d.%d.0/%d,M%d.%d.0/%d", start.month, start.ordinal,
                  start.hour, end.month, end.ordinal, end.hour);
    return rule + changes;
}

std::string clockItemText(const ClockItem& item, const CivilTime& now) {
    switch (item.kind) {
        case kClockDate:
            return dateText(item.format, now);
        case kClockTime:
            return timeText(item.format, now);
        case kClockWeek:
            return weekText(item.format, now);
        default:
            return item.format;
    }
}

ClockPage clockPageOf(const ClockPageDocument& page) {
    ClockPage out;
    ClockField* fields[kClockItemCount] = {&out.date, &out.time, &out.week, &out.temperature,
                                           &out.title};
    for (int kind = 0; kind < kClockItemCount; ++kind) {
        const ClockItem& item = page.items[static_cast<size_t>(kind)];
        ClockField& f = *fields[kind];
        f.shown = item.shown;
        f.colour = item.colour;
        f.fontIndex = item.fontIndex;
        f.fontSize = page.fontSizes[static_cast<size_t>(kind)];
        f.x = item.x;
        f.y = item.y;
        f.text = item.format;
    }
    out.diffTime = page.diffTime;
    out.daylight = page.daylight;
    out.daylightStart = DaylightRule::parse(page.daylightStart);
    out.daylightEnd = DaylightRule::parse(page.daylightEnd);
    out.temperatureMode =
        page.items[kClockTemperature].format.find('C') != std::string::npos ? 'C' : 'F';
    return out;
}

}  // namespace brightline
