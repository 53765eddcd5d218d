#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "common/time_zone.h"

namespace brightline {
namespace {

TEST(TimeZone, RulesGiveTheHeaderLines) {
    struct Case {
        const char* rule;
        const char* header;
    };
    const Case cases[] = {
        {"CST-8",
         "TIME_ZONE -28800 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 "
         "\r\nDAYLIGHT_BIAS 0 \r\n"},
        {"UTC0",
         "TIME_ZONE 0 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 \r\nDAYLIGHT_BIAS 0 "
         "\r\n"},
        {"CET-1CEST,M3.5.0,M10.5.0/3",
         "TIME_ZONE -3600 \r\nDAYLIGHT_START 03/05:02 \r\nDAYLIGHT_END  10/05:03 \r\nDAYLIGHT_BIAS "
         "-3600 \r\n"},
        {"EST5EDT,M3.2.0,M11.1.0",
         "TIME_ZONE 18000 \r\nDAYLIGHT_START 03/02:02 \r\nDAYLIGHT_END  11/01:02 \r\nDAYLIGHT_BIAS "
         "-3600 \r\n"},
        // Southern hemisphere: daylight saving starts in October and ends in April.
        {"AEST-10AEDT,M10.1.0,M4.1.0/3",
         "TIME_ZONE -36000 \r\nDAYLIGHT_START 10/01:02 \r\nDAYLIGHT_END  04/01:03 "
         "\r\nDAYLIGHT_BIAS -3600 \r\n"},
        {"<+0530>-5:30",
         "TIME_ZONE -19800 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 "
         "\r\nDAYLIGHT_BIAS 0 \r\n"},
        {"<-03>3<-02>,M3.5.0/-2,M10.5.0/-1",
         "TIME_ZONE 10800 \r\nDAYLIGHT_START 03/05:22 \r\nDAYLIGHT_END  10/05:23 \r\nDAYLIGHT_BIAS "
         "-3600 \r\n"},
        {"XXX3YYY,J60/1,300",
         "TIME_ZONE 10800 \r\nDAYLIGHT_START 03/01:01 \r\nDAYLIGHT_END  10/27:02 \r\nDAYLIGHT_BIAS "
         "-3600 \r\n"},
    };
    for (const Case& c : cases) {
        auto zone = parsePosixTimeZone(c.rule);
        ASSERT_TRUE(zone.has_value()) << c.rule;
        EXPECT_EQ(timeZoneHeader(*zone), c.header) << c.rule;
    }
}

TEST(TimeZone, NotARule) {
    for (const char* bad :
         {"", "Europe/Berlin", "CET", "CET-1CEST,M13.1.0,M10.5.0", "CET-1CEST,M3.5.0", "AB-1"})
        EXPECT_FALSE(parsePosixTimeZone(bad).has_value()) << bad;
    auto dst = parsePosixTimeZone("NZST-12NZDT-13,M9.5.0,M4.1.0/3");
    ASSERT_TRUE(dst.has_value());
    EXPECT_EQ(dst->daylightSaving, 3600);
}

TEST(TimeZone, ZoneNamesAndTheSystemFile) {
    // Zone files come with the system's tzdata when it is installed; without them the rule
    // itself still works.
    setenv("TZ", "Europe/Berlin", 1);
    TimeZoneInfo berlin = currentTimeZone();
    if (!zoneFileRule("/usr/share/zoneinfo/Europe/Berlin").empty()) {
        EXPECT_EQ(berlin.standardOffsetWest, -3600);
        EXPECT_TRUE(berlin.observesDaylight);
        EXPECT_EQ(berlin.daylightStart.month, 3);
    }
    setenv("TZ", "JST-9", 1);
    EXPECT_EQ(currentTimeZone().standardOffsetWest, -32400);
    setenv("TZ", ":No/Such_Zone", 1);
    EXPECT_EQ(currentTimeZone().standardOffsetWest, 0);
    unsetenv("TZ");
    EXPECT_EQ(zoneFileRule("/nonexistent"), "");
}

TEST(TimeZone, NamesAreKeptAndTheProcessZoneCanBeSetAndPutBack) {
    auto aest = parsePosixTimeZone("AEST-10AEDT,M10.1.0,M4.1.0/3");
    ASSERT_TRUE(aest);
    EXPECT_EQ(aest->standardName, "AEST");
    EXPECT_EQ(aest->daylightName, "AEDT");
    auto india = parsePosixTimeZone("<+0530>-5:30");
    ASSERT_TRUE(india);
    EXPECT_EQ(india->standardName, "+0530");
    EXPECT_EQ(india->daylightName, "");

    const std::optional<std::string> before = processTimeZoneVariable();
    ASSERT_TRUE(setProcessTimeZone(std::string("JST-9")));
    EXPECT_EQ(currentTimeZone().standardOffsetWest, -32400);
    std::time_t noon = 12 * 3600;
    std::tm local{};
    localtime_r(&noon, &local);
    EXPECT_EQ(local.tm_hour, 21);  // the C library follows at once
    ASSERT_TRUE(setProcessTimeZone(std::nullopt));
    EXPECT_FALSE(processTimeZoneVariable());
    setProcessTimeZone(before);
}

}  // namespace
}  // namespace brightline
