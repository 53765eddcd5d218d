#include "common/time_zone.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/file_io.h"

namespace brightline {
namespace {

class RuleReader {
  public:
    explicit RuleReader(const std::string& text) : s_(text) {}

    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++i_;
        return true;
    }

    // A zone abbreviation: three or more letters, or "<...>" (given without the brackets).
    std::optional<std::string> name() {
        if (take('<')) {
            size_t close = s_.find('>', i_);
            if (close == std::string::npos || close - i_ < 3) return std::nullopt;
            std::string text = s_.substr(i_, close - i_);
            i_ = close + 1;
            return text;
        }
        size_t from = i_;
        while (!atEnd() && std::isalpha(static_cast<unsigned char>(peek()))) ++i_;
        if (i_ - from < 3) return std::nullopt;
        return s_.substr(from, i_ - from);
    }

    // [+-]hh[:mm[:ss]] in seconds.
    std::optional<long> offset() {
        int sign = 1;
        if (take('-'))
            sign = -1;
        else
            take('+');
        auto h = number(0, 167);
        if (!h) return std::nullopt;
        long seconds = *h * 3600;
        if (take(':')) {
            auto m = number(0, 59);
            if (!m) return std::nullopt;
            seconds += *m * 60;
            if (take(':')) {
                auto sec = number(0, 59);
                if (!sec) return std::nullopt;
                seconds += *sec;
            }
        }
        return sign * seconds;
    }

    std::optional<long> number(long lo, long hi) {
        size_t from = i_;
        long v = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek())) && i_ - from < 4)
            v = v * 10 + (s_[i_++] - '0');
        if (i_ == from || v < lo || v > hi) return std::nullopt;
        return v;
    }

    // A change rule: "Mm.w.d", "Jn" or "n", with an optional "/time" (default 02:00).
    std::optional<TransitionDate> change() {
        TransitionDate date;
        if (take('M')) {
            auto m = number(1, 12);
            if (!m || !take('.')) return std::nullopt;
            auto w = number(1, 5);
            if (!w || !take('.')) return std::nullopt;
            auto d = number(0, 6);
            if (!d) return std::nullopt;
            date.month = static_cast<int>(*m);
            date.day = static_cast<int>(*w);
        } else {
            bool julian = take('J');
            auto n = number(julian ? 1 : 0, 365);
            if (!n) return std::nullopt;
            // Day of a non-leap year (J counts 1..365 without 29 February; plain n counts from 0).
            int dayOfYear = static_cast<int>(julian ? *n - 1 : (*n > 59 ? *n - 1 : *n));
            static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            int month = 0;
            while (month < 11 && dayOfYear >= kDays[month]) dayOfYear -= kDays[month++];
            date.month = month + 1;
            date.day = dayOfYear + 1;
        }
        long time = 2 * 3600;
        if (take('/')) {
            auto t = offset();
            if (!t) return std::nullopt;
            time = *t;
        }
        long hour = time / 3600;
        date.hour = static_cast<int>(((hour % 24) + 24) % 24);
        return date;
    }

  private:
    const std::string& s_;
    size_t i_ = 0;
};

}  // namespace

std::optional<TimeZoneInfo> parsePosixTimeZone(const std::string& rule) {
    RuleReader r(rule);
    TimeZoneInfo zone;
    zone.rule = rule;
    auto standardName = r.name();
    if (!standardName) return std::nullopt;
    zone.standardName = *standardName;
    auto standard = r.offset();
    if (!standard) return std::nullopt;
    zone.standardOffsetWest = *standard;
    if (r.atEnd()) return zone;
    auto daylightName = r.name();
    if (!daylightName) return std::nullopt;
    zone.daylightName = *daylightName;
    long daylightWest = zone.standardOffsetWest - 3600;
    if (r.peek() != ',' && !r.atEnd()) {
        auto d = r.offset();
        if (!d) return std::nullopt;
        daylightWest = *d;
    }
    zone.observesDaylight = true;
    zone.daylightSaving = zone.standardOffsetWest - daylightWest;
    if (r.atEnd()) {
        // No rule given: the United States' rule, as the C library assumes.
        zone.daylightStart = {3, 2, 2};
        zone.standardStart = {11, 1, 2};
        return zone;
    }
    if (!r.take(',')) return std::nullopt;
    auto start = r.change();
    if (!start || !r.take(',')) return std::nullopt;
    auto end = r.change();
    if (!end || !r.atEnd()) return std::nullopt;
    zone.daylightStart = *start;
    zone.standardStart = *end;
    // "Daylight saving all year" rules (start Jan 1 0:00, end Dec 31 24:00) are a fixed offset.
    return zone;
}

std::string zoneFileRule(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, nullptr, size_t(4) << 20)) return {};
    if (bytes.size() < 5 || bytes[0] != 'T' || bytes[1] != 'Z' || bytes[2] != 'i' ||
        bytes[3] != 'f')
        return {};
    if (bytes[4] < '2') return {};
    // The rule is the last line, between the final two newlines.
    if (bytes.back() != '\n') return {};
    size_t end = bytes.size() - 1;
    size_t start = end;
    while (start > 0 && bytes[start - 1] != '\n') --start;
    if (start == 0) return {};
    return std::string(bytes.begin() + static_cast<long>(start),
                       bytes.begin() + static_cast<long>(end));
}

TimeZoneInfo currentTimeZone() {
    std::string rule;
    const char* tz = std::getenv("TZ");
    if (tz && *tz) {
        std::string name = tz;
        if (name[0] == ':') name.erase(0, 1);
        if (auto parsed = parsePosixTimeZone(name)) return *parsed;
        std::string file = !name.empty() && name[0] == '/' ? name : "/usr/share/zoneinfo/" + name;
        rule = zoneFileRule(file);
    } else {
        rule = zoneFileRule("/etc/localtime");
    }
    if (auto parsed = parsePosixTimeZone(rule)) return *parsed;
    TimeZoneInfo utc;
    utc.rule = "UTC0";
    utc.standardName = "UTC";
    return utc;
}

std::optional<std::string> processTimeZoneVariable() {
    const char* tz = std::getenv("TZ");
    if (!tz) return std::nullopt;
    return std::string(tz);
}

bool setProcessTimeZone(const std::optional<std::string>& tz) {
    const int result = tz ? ::setenv("TZ", tz->c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    return result == 0;
}

std::string timeZoneHeader(const TimeZoneInfo& zone) {
    char buffer[256];
    std::snprintf(
        buffer, sizeof buffer,
        "TIME_ZONE %ld \r\nDAYLIGHT_START %02d/%02d:%02d \r\nDAYLIGHT_END  %02d/%02d:%02d "
        "\r\nDAYLIGHT_BIAS %d \r\n",
        zone.standardOffsetWest, zone.daylightStart.month, zone.daylightStart.day,
        zone.daylightStart.hour, zone.standardStart.month, zone.standardStart.day,
        zone.standardStart.hour, zone.observesDaylight ? -3600 : 0);
    return buffer;
}

}  // namespace brightline
