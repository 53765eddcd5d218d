#include "engine/clock/local_time.h"

#include <gtest/gtest.h>

#include <ctime>
#include <iterator>

#include "engine/clock/utc_clock.h"

namespace brightline {
namespace {

int64_t utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return secondsFromCivil(y, mo, d, h, mi, s);
}

TEST(LocalTime, CalendarAgreesWithTheCLibrary) {
    // Every 7 hours 13 minutes from 1901 to 2100, both ways.
    for (int64_t s = -2145916800; s < 4102444800; s += 7 * 3600 + 13 * 60 + 7) {
        time_t t = static_cast<time_t>(s);
        std::tm tm{};
        ASSERT_NE(gmtime_r(&t, &tm), nullptr);
        CivilTime c = civilFromSeconds(s);
        ASSERT_EQ(c.year, tm.tm_year + 1900) << s;
        ASSERT_EQ(c.month, tm.tm_mon + 1) << s;
        ASSERT_EQ(c.day, tm.tm_mday) << s;
        ASSERT_EQ(c.hour, tm.tm_hour) << s;
        ASSERT_EQ(c.minute, tm.tm_min) << s;
        ASSERT_EQ(c.second, tm.tm_sec) << s;
        ASSERT_EQ(c.weekday, tm.tm_wday) << s;
        ASSERT_EQ(secondsFromCivil(c.year, c.month, c.day, c.hour, c.minute, c.second), s);
    }
}

TEST(LocalTime, NthSundayOfTheMonth) {
    struct Case {
        const char* rule;
        int year;
        int day;
    };
    const Case cases[] = {
        {"10/01:02", 2027, 3},  // 1 October 2027 is a Friday
        {"04/01:03", 2027, 4},
        {"02/05:02", 2027, 28},  // February 2027 has four Sundays: the fifth means the fourth
        {"03/05:01", 2026, 29},  // March 2026 has five, the first on the 1st
        {"03/01:01", 2026, 1},
        {"10/05:02", 2027, 31},
    };
    for (const Case& c : cases) {
        DaylightRule r = DaylightRule::parse(c.rule);
        EXPECT_EQ(ruleDay(r, c.year), c.day) << c.rule << " " << c.year;
        EXPECT_EQ(civilFromSeconds(utc(c.year, r.month, c.day)).weekday, 0) << c.rule;
    }
}

ClockPage zonePage(long diff, long daylight, const char* start, const char* end) {
    ClockPage p;
    p.diffTime = diff;
    p.daylight = daylight;
    p.daylightStart = DaylightRule::parse(start);
    p.daylightEnd = DaylightRule::parse(end);
    return p;
}

struct Expect {
    int64_t now;
    int day, hour, minute, second;
    const char* what;
};

void check(const ClockPage& page, const Expect* cases, size_t n) {
    ManualUtcClock clock;
    for (size_t i = 0; i < n; ++i) {
        clock.set(cases[i].now);
        CivilTime t = shownTime(page, clock.nowUtc());
        EXPECT_EQ(t.day, cases[i].day) << cases[i].what;
        EXPECT_EQ(t.hour, cases[i].hour) << cases[i].what;
        EXPECT_EQ(t.minute, cases[i].minute) << cases[i].what;
        EXPECT_EQ(t.second, cases[i].second) << cases[i].what;
    }
}

TEST(LocalTime, SouthernHemisphereTenHoursEast) {
    // Daylight saving from the first Sunday of October at 02:00 to the first Sunday of April at
    // 03:00 (3 October 2027 and 4 April 2027).
    ClockPage p = zonePage(-36000, -3600, "10/01:02", "04/01:03");
    const Expect cases[] = {
        {utc(2027, 7, 1, 0, 0, 0), 1, 10, 0, 0, "winter: UTC + 10"},
        {utc(2027, 1, 15, 0, 0, 0), 15, 11, 0, 0, "summer, before the end: UTC + 11"},
        {utc(2027, 12, 15, 0, 0, 0), 15, 11, 0, 0, "summer, after the start: UTC + 11"},
        {utc(2027, 10, 2, 15, 59, 59), 3, 1, 59, 59, "a second before 02:00 standard time"},
        {utc(2027, 10, 2, 16, 0, 0), 3, 3, 0, 0, "02:00 standard time becomes 03:00"},
        {utc(2027, 4, 3, 16, 0, 0), 4, 3, 0, 0, "03:00 daylight time, the last daylight second"},
        {utc(2027, 4, 3, 16, 0, 1), 4, 2, 0, 1, "then back to standard time"},
    };
    check(p, cases, std::size(cases));
}

TEST(LocalTime, NorthernHemisphereLastSundays) {
    // From the last Sunday of March at 01:00 to the last Sunday of October at 02:00 (written
    // with ordinal 5, which falls back to the fourth Sunday where there is no fifth).
    ClockPage p = zonePage(0, -3600, "03/05:01", "10/05:02");
    const Expect cases[] = {
        {utc(2027, 7, 1, 12, 0, 0), 1, 13, 0, 0, "summer: UTC + 1"},
        {utc(2027, 12, 1, 12, 0, 0), 1, 12, 0, 0, "winter: UTC"},
        {utc(2027, 3, 28, 0, 59, 59), 28, 0, 59, 59, "just before the change"},
        {utc(2027, 3, 28, 1, 0, 0), 28, 2, 0, 0, "01:00 becomes 02:00"},
    };
    check(p, cases, std::size(cases));
}

TEST(LocalTime, RulesThatGiveNoInstantMeanNoDaylightSaving) {
    // The editor's default end "10/31:02" names no Sunday.
    ClockPage p = zonePage(-3600, -3600, "04/05:02", "10/31:02");
    EXPECT_FALSE(daylightInForce(p, utc(2027, 7, 1)));
    EXPECT_EQ(shownTime(p, utc(2027, 7, 1, 10)).hour, 11);
    ClockPage none = zonePage(18000, -3600, "00/00:00", "00/00:00");
    EXPECT_EQ(shownTime(none, utc(2027, 7, 1, 10)).hour, 5);
}

}  // namespace
}  // namespace brightline
