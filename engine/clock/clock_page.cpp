#include "engine/clock/clock_page.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "common/ini_file.h"
#include "engine/fonts/colour_token.h"

namespace brightline {
namespace {

std::string withoutSpaces(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\t') out += c;
    return out;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The leading decimal number, as atoi reads it, kept within the int range so that positions
// and offsets never overflow later sums.
long number(const std::string& value) {
    errno = 0;
    long v = std::strtol(withoutSpaces(value).c_str(), nullptr, 10);
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    return v;
}

// Section names in file order, each once (the first section of a name is the one that counts).
std::vector<std::string> sectionsOf(const std::string& text) {
    std::vector<std::string> out;
    size_t from = 0;
    while (from < text.size()) {
        size_t nl = text.find('\n', from);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(from, nl - from);
        size_t b = line.find_first_not_of(" \t\r");
        if (b != std::string::npos && line[b] == '[') {
            size_t close = line.find(']', b);
            if (close != std::string::npos) {
                std::string name = line.substr(b + 1, close - b - 1);
                size_t s = name.find_first_not_of(" \t");
                size_t e = name.find_last_not_of(" \t");
                std::string trimmed = s == std::string::npos ? "" : name.substr(s, e - s + 1);
                bool seen = false;
                for (const std::string& o : out) seen = seen || upper(o) == upper(trimmed);
                if (!seen) out.push_back(trimmed);
            }
        }
        from = nl + 1;
    }
    return out;
}

ClockField* fieldOf(ClockPage& page, const std::string& prefix) {
    if (prefix == "DATE") return &page.date;
    if (prefix == "TIME") return &page.time;
    if (prefix == "WEEK") return &page.week;
    if (prefix == "TEMPERATURE") return &page.temperature;
    if (prefix == "TITLE") return &page.title;
    return nullptr;
}

// Applies one key; `raw` is the value as stored (white space around it removed).
void applyKey(ClockPage& page, const std::string& key, const std::string& raw) {
    const std::string value = withoutSpaces(raw);
    if (key == "DATE" || key == "WEEK" || key == "TIME") {
        fieldOf(page, key)->text = raw.substr(0, kTemplateLimit);
        return;
    }
    if (key == "TITLE") {
        page.title.text = raw.substr(0, kTitleLimit);
        return;
    }
    if (key == "DIFF_TIME") {
        page.diffTime = number(value);
        return;
    }
    if (key == "DAYLIGHT") {
        page.daylight = number(value);
        return;
    }
    if (key == "DAYLIGHT_START") {
        page.daylightStart = DaylightRule::parse(value);
        return;
    }
    if (key == "DAYLIGHT_END") {
        page.daylightEnd = DaylightRule::parse(value);
        return;
    }
    if (key == "TEMPERATURE_MODE") {
        page.temperatureMode = value.empty() ? '\0' : value[0];
        return;
    }
    if (key.compare(0, 5, "SHOW_") == 0) {
        if (ClockField* f = fieldOf(page, key.substr(5))) f->shown = number(value) != 0;
        return;
    }
    static const char* const kSuffixes[] = {"_COLOR", "_FONT_SIZE", "_FONT_INDEX", "_X", "_Y"};
    for (const char* suffix : kSuffixes) {
        std::string s = suffix;
        if (key.size() <= s.size() || key.compare(key.size() - s.size(), s.size(), s) != 0)
            continue;
        ClockField* f = fieldOf(page, key.substr(0, key.size() - s.size()));
        if (!f) return;
        if (s == "_COLOR")
            f->colour = parseColourToken(value);
        else if (s == "_FONT_SIZE")
            f->fontSize = number(value);
        else if (s == "_FONT_INDEX")
            f->fontIndex = number(value);
        else if (s == "_X")
            f->x = number(value);
        else
            f->y = number(value);
        return;
    }
}

int twoDigits(const std::string& text, size_t at) {
    if (at + 2 > text.size()) return -1;
    char a = text[at], b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

}  // namespace

DaylightRule DaylightRule::parse(const std::string& text) {
    DaylightRule r;
    r.month = twoDigits(text, 0);
    r.ordinal = twoDigits(text, 3);
    r.hour = twoDigits(text, 6);
    r.valid = r.month >= 1 && r.month <= 12 && r.ordinal >= 1 && r.ordinal <= 5 && r.hour >= 0 &&
              r.hour <= 23;
    return r;
}

void applyClockPageText(const std::string& text, ClockPage& page) {
    // A "[]" line first gives the keys before the first section a section of their own.
    std::string limited = "[]\n" + text.substr(0, kClockPageLimit);
    IniFile ini;
    ini.parse(limited);
    for (const std::string& section : sectionsOf(limited)) {
        for (const std::string& key : ini.keys(section)) {
            auto value = ini.get(section, key);
            if (value) applyKey(page, upper(withoutSpaces(key)), *value);
        }
    }
}

}  // namespace brightline
