#include "engine/clock/local_time.h"

namespace brightline {
namespace {

constexpr int64_t kDay = 86400;

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 of a civil date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = floorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

int daysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

CivilTime civilFromSeconds(int64_t seconds) {
    int64_t days = floorDiv(seconds, kDay);
    int64_t rest = seconds - days * kDay;
    CivilTime t;
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    t.weekday = static_cast<int>(days + 4 - floorDiv(days + 4, 7) * 7);  // 1970-01-01: Thursday
    int64_t z = days + 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    return t;
}

int64_t secondsFromCivil(int year, int month, int day, int hour, int minute, int second) {
    return daysFromCivil(year, month, day) * kDay + hour * 3600 + minute * 60 + second;
}

int ruleDay(const DaylightRule& rule, int year) {
    if (!rule.valid) return 0;
    int w = civilFromSeconds(secondsFromCivil(year, rule.month, 1, 0, 0, 0)).weekday;
    int day = w == 0 ? 7 * rule.ordinal - 6 : 7 * rule.ordinal - w + 1;
    if (day > daysInMonth(year, rule.month)) day -= 7;
    return day;
}

int64_t ruleInstant(const DaylightRule& rule, int year, int64_t wallOffset) {
    return secondsFromCivil(year, rule.month, ruleDay(rule, year), rule.hour, 0, 0) - wallOffset;
}

bool daylightInForce(const ClockPage& page, int64_t utcNow) {
    if (!page.daylightStart.valid || !page.daylightEnd.valid) return false;
    const int64_t standardOffset = -static_cast<int64_t>(page.diffTime);
    const int64_t daylightOffset = standardOffset - page.daylight;
    const int year = civilFromSeconds(utcNow + standardOffset).year;
    const int64_t start = ruleInstant(page.daylightStart, year, standardOffset);
    const int64_t end = ruleInstant(page.daylightEnd, year, daylightOffset);
    if (page.daylightEnd.month < page.daylightStart.month) return utcNow >= start || utcNow <= end;
    return utcNow >= start && utcNow <= end;
}

CivilTime shownTime(const ClockPage& page, int64_t utcNow) {
    int64_t shown = utcNow - page.diffTime;
    if (daylightInForce(page, utcNow)) shown -= page.daylight;
    return civilFromSeconds(shown);
}

}  // namespace brightline
