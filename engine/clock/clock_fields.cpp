#include "engine/clock/clock_fields.h"

#include <cstdio>

namespace brightline {
namespace {

constexpr const char* kWeekdayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string formatted(const char* pattern, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

int countOf(const std::string& tmpl, char letter) {
    int n = 0;
    for (char c : tmpl) n += c == letter;
    return n;
}

// Hands out the digits of one number to the letters that stand for it: with k letters, the
// first takes digit (length - k), the next the one after, ...; positions before the number
// give '0'.
class DigitFeed {
  public:
    DigitFeed(std::string digits, int letters)
        : digits_(std::move(digits)), next_(static_cast<long>(digits_.size()) - letters) {}
    char take() {
        long at = next_++;
        if (at < 0) return '0';
        if (at >= static_cast<long>(digits_.size())) return '0';
        return digits_[static_cast<size_t>(at)];
    }

  private:
    std::string digits_;
    long next_;
};

void placeText(const std::string& text, int font, uint32_t colour, long x, long y,
               bool fontWidthAdvance, const FontTable& fonts, RegionSize region,
               std::vector<PlacedGlyph>& out, long* penOut = nullptr) {
    long pen = x;
    for (char c : text) {
        GlyphView g = fonts.glyph(font, static_cast<uint8_t>(c));
        if (pen >= 0 && pen < region.width && y >= 0)
            out.push_back(PlacedGlyph{pen, y, colour, g, c});
        pen += (fontWidthAdvance ? fonts.width(font) : g.advance) + 1;
    }
    if (penOut) *penOut = pen;
}

bool fieldVisible(const ClockField& f, RegionSize region) {
    return f.shown && f.x < region.width && f.y < region.height;
}

}  // namespace

std::string dateText(const std::string& tmpl, const CivilTime& t) {
    DigitFeed year(formatted("%04d", t.year), countOf(tmpl, 'Y'));
    DigitFeed month(formatted("%02d", t.month), countOf(tmpl, 'M'));
    DigitFeed day(formatted("%02d", t.day), countOf(tmpl, 'D'));
    std::string out;
    for (char c : tmpl) {
        if (c == '\r') continue;
        if (c == 'Y')
            out += year.take();
        else if (c == 'M')
            out += month.take();
        else if (c == 'D')
            out += day.take();
        else
            out += c;
    }
    return out;
}

std::string timeText(const std::string& tmpl, const CivilTime& t) {
    const bool twelveHour = tmpl.find('P') != std::string::npos;
    int hour = t.hour;
    const bool pm = hour >= 12;
    if (twelveHour) {
        hour %= 12;
        if (hour == 0) hour = 12;
    }
    DigitFeed hours(formatted("%02d", hour), countOf(tmpl, 'H'));
    DigitFeed minutes(formatted("%02d", t.minute), countOf(tmpl, 'M'));
    DigitFeed seconds(formatted("%02d", t.second), countOf(tmpl, 'S'));
    std::string out;
    for (char c : tmpl) {
        if (c == '\r') continue;
        if (c == 'H')
            out += hours.take();
        else if (c == 'M')
            out += minutes.take();
        else if (c == 'S')
            out += seconds.take();
        else if (c == 'P')
            out += pm ? "PM" : "AM";
        else
            out += c;
    }
    return out;
}

std::string weekText(const std::string& tmpl, const CivilTime& t) {
    const std::string name = kWeekdayNames[((t.weekday % 7) + 7) % 7];
    const int letters = countOf(tmpl, 'W');
    int next = 3 - letters;
    std::string out;
    for (char c : tmpl) {
        if (c == '\r') continue;
        if (c == 'W') {
            int at = next++;
            out += at >= 0 ? name[static_cast<size_t>(at)] : ' ';
        } else if (c == 'D') {
            out += formatted("%01d", ((t.weekday % 7) + 7) % 7);
        } else {
            out += c;
        }
    }
    return out;
}

std::string temperatureText(std::optional<int> celsius, bool fahrenheit) {
    if (!celsius || *celsius == -1 || *celsius > 85 || *celsius < -85) return "##";
    int value = *celsius;
    if (fahrenheit) value = static_cast<int>(value * 9 * 0.2 + 32);
    return formatted("%d", value);
}

std::vector<PlacedGlyph> layoutClockFields(const ClockPage& page, const CivilTime& shown,
                                           const FontTable& fonts, RegionSize region) {
    std::vector<PlacedGlyph> out;
    struct Item {
        const ClockField& field;
        std::string text;
    };
    const Item items[] = {
        {page.date, dateText(page.date.text, shown)},
        {page.time, timeText(page.time.text, shown)},
        {page.week, weekText(page.week.text, shown)},
    };
    for (const Item& item : items) {
        if (!fieldVisible(item.field, region)) continue;
        placeText(item.text, fonts.fontForIndex(item.field.fontIndex), item.field.colour,
                  item.field.x, item.field.y, false, fonts, region, out);
    }
    return out;
}

std::vector<PlacedGlyph> layoutClockExtras(const ClockPage& page, std::optional<int> celsius,
                                           const FontTable& fonts, RegionSize region) {
    std::vector<PlacedGlyph> out;
    const ClockField& temp = page.temperature;
    if (fieldVisible(temp, region)) {
        const int font = fonts.fontForIndex(temp.fontIndex);
        long pen = temp.x;
        placeText(temperatureText(celsius, page.fahrenheit()), font, temp.colour, pen, temp.y, true,
                  fonts, region, out, &pen);
        // The degree mark: a small "o" from font 1, two rows higher.
        placeText("o", 1, temp.colour, pen, temp.y - 2, true, fonts, region, out, &pen);
        placeText(page.fahrenheit() ? "F" : "C", font, temp.colour, pen, temp.y, true, fonts,
                  region, out);
    }
    const ClockField& title = page.title;
    if (fieldVisible(title, region))
        placeText(title.text, fonts.fontForIndex(title.fontIndex), title.colour, title.x, title.y,
                  true, fonts, region, out);
    return out;
}

}  // namespace brightline
