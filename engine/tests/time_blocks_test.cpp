// The schedule lines as the sign reads them, and shows played in schedule mode: which block
// plays at a moment, the clock moving on 40 ms a tick, the sign going dark.
#include <gtest/gtest.h>

#include "engine/tests/show_fixture.h"
#include "engine/time_blocks.h"

namespace brightline::engine {
namespace {

using testing::lines;
using testing::ShowFixture;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

CivilTime at(int y, int mo, int d, int h, int mi, int s = 0) {
    return civilFromSeconds(secondsFromCivil(y, mo, d, h, mi, s));
}

// 2026-03-07 is a Saturday, 2026-03-10 a Tuesday.
TEST(TimeBlocks, EachLineKindPlaysOnItsDaysWithinItsHours) {
    struct Case {
        const char* line;
        CivilTime moment;
        bool plays;
    } cases[] = {
        {"AT 00:00 00:00 ", at(2026, 3, 7, 3, 17), true},
        {"AT 08:00 09:00", at(2026, 3, 7, 8, 0), true},
        {"AT 08:00 09:00", at(2026, 3, 7, 8, 59, 59), true},
        {"AT 08:00 09:00", at(2026, 3, 7, 9, 0), false},
        {"AT 08:00 09:00", at(2026, 3, 7, 7, 59, 59), false},
        // Monday to Friday.
        {"WEEK --/--/--  --/--/--  3e 08:00 17:30", at(2026, 3, 10, 17, 29, 59), true},
        {"WEEK --/--/--  --/--/--  3e 08:00 17:30", at(2026, 3, 10, 17, 30), false},
        {"WEEK --/--/--  --/--/--  3e 08:00 17:30", at(2026, 3, 7, 10, 0), false},
        // The weekend in March; 23:59 as the end runs to midnight.
        {"WEEK 2026/03/01  2026/03/31  41 00:00 23:59", at(2026, 3, 7, 23, 59, 59), true},
        {"WEEK 2026/03/01  2026/03/31  41 00:00 23:59", at(2026, 3, 8, 0, 0), true},
        {"WEEK 2026/03/01  2026/03/31  41 00:00 23:59", at(2026, 4, 4, 12, 0), false},
        {"WEEK 2026/03/01  2026/03/31  41 00:00 23:59", at(2026, 2, 28, 12, 0), false},
        // Dates are inclusive; no weekday ticked: every day between them.
        {"WEEK 2026/03/10  2026/03/10  00 08:00 09:00", at(2026, 3, 10, 8, 30), true},
        {"WEEK 2026/03/10  2026/03/10  00 08:00 09:00", at(2026, 3, 11, 8, 30), false},
        // The first and the last day of the month.
        {"DAY --/--/--  --/--/--  40000001 06:05 07:00", at(2026, 3, 1, 6, 5), true},
        {"DAY --/--/--  --/--/--  40000001 06:05 07:00", at(2026, 3, 31, 6, 30), true},
        {"DAY --/--/--  --/--/--  40000001 06:05 07:00", at(2026, 3, 2, 6, 30), false},
        {"DAY --/--/--  --/--/--  40000001 06:05 07:00", at(2026, 3, 1, 6, 4), false},
        // Past midnight: the small hours belong to the day before.
        {"AT 22:00 06:00", at(2026, 3, 7, 23, 0), true},
        {"AT 22:00 06:00", at(2026, 3, 7, 5, 59), true},
        {"AT 22:00 06:00", at(2026, 3, 7, 6, 0), false},
        {"WEEK --/--/--  --/--/--  02 22:00 02:00", at(2026, 3, 6, 23, 0), true},   // Friday
        {"WEEK --/--/--  --/--/--  02 22:00 02:00", at(2026, 3, 7, 1, 0), true},    // its night
        {"WEEK --/--/--  --/--/--  02 22:00 02:00", at(2026, 3, 7, 23, 0), false},  // Saturday
        {"WEEK --/--/--  --/--/--  02 22:00 02:00", at(2026, 3, 6, 1, 0), false},   // Thursday's
        {"OTHER", at(2026, 3, 7, 12, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " at " + std::to_string(c.moment.day) + " " +
                     std::to_string(c.moment.hour) + ":" + std::to_string(c.moment.minute));
        auto rule = parseTimeBlockLine(c.line);
        ASSERT_TRUE(rule);
        EXPECT_EQ(rule->playsAt(c.moment), c.plays);
    }
    EXPECT_FALSE(parseTimeBlockLine("RUN wzp 0 "));
    EXPECT_FALSE(parseTimeBlockLine("ATX 08:00 09:00"));
}

TEST(TimeBlocks, TheFirstPlayingBlockWinsAndOtherFillsIn) {
    std::vector<TimeBlockRule> rules;
    for (const char* line :
         {"AT 08:00 12:00", "WEEK --/--/--  --/--/--  41 00:00 00:00", "OTHER", "OTHER"})
        rules.push_back(*parseTimeBlockLine(line));
    EXPECT_EQ(chooseTimeBlock(rules, at(2026, 3, 7, 10, 0)), 0);  // both play: the first
    EXPECT_EQ(chooseTimeBlock(rules, at(2026, 3, 7, 13, 0)), 1);
    EXPECT_EQ(chooseTimeBlock(rules, at(2026, 3, 10, 13, 0)), 2);  // the first OTHER
    rules.resize(2);
    EXPECT_EQ(chooseTimeBlock(rules, at(2026, 3, 10, 13, 0)), -1);
}

TEST(TimeBlocks, BlocksRunFromTheirLineToTheNextScheduleLine) {
    const std::string text =
        lines({"TIME_ZONE 0 ", "LED_W 8 ",
               "WEEK --/--/--  --/--/--  3e "
               "08:00 17:30",
               "RUN wzp 1 70000.shw 0 0 8 8 1 ", "OTHER", "RUN wzp 1 70100.shw 0 0 8 8 1 "}) +
        "END";
    const auto blocks = findTimeBlocks(text);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].rule.kind, TimeBlockRule::Kind::Week);
    EXPECT_EQ(blocks[0].rule.mask, 0x3Eu);
    EXPECT_EQ(text.substr(blocks[0].begin, blocks[0].end - blocks[0].begin),
              "\r\nRUN wzp 1 70000.shw 0 0 8 8 1 \r\n");
    EXPECT_EQ(text.substr(blocks[1].begin), "\r\nRUN wzp 1 70100.shw 0 0 8 8 1 \r\nEND");
    EXPECT_EQ(blocks[1].end, text.size());
}

TEST(ShowZone, LocalTimeFollowsTheHeaderBothWays) {
    // Ten hours east, daylight saving from the first Sunday of October to that of April.
    const ShowZone zone = readShowZone(lines({"TIME_ZONE -36000 ", "DAYLIGHT_START 10/01:02 ",
                                              "DAYLIGHT_END  04/01:03 ", "DAYLIGHT_BIAS -3600 "}));
    EXPECT_EQ(zone.timeZone, -36000);
    EXPECT_EQ(zone.daylightBias, -3600);
    struct Case {
        CivilTime local;
        int64_t utc;
    } cases[] = {
        {at(2026, 1, 15, 12, 0), secondsFromCivil(2026, 1, 15, 1, 0, 0)},  // summer: +11
        {at(2026, 7, 15, 12, 0), secondsFromCivil(2026, 7, 15, 2, 0, 0)},  // winter: +10
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utcOfLocal(zone, c.local), c.utc);
        const CivilTime back = localTimeOf(zone, c.utc);
        EXPECT_EQ(secondsFromCivil(back.year, back.month, back.day, back.hour, back.minute, 0),
                  secondsFromCivil(c.local.year, c.local.month, c.local.day, c.local.hour,
                                   c.local.minute, 0));
    }
    // 02:30 on 4 October 2026 does not exist there: taken in standard time, it shows as 03:30.
    const CivilTime skipped = localTimeOf(zone, utcOfLocal(zone, at(2026, 10, 4, 2, 30)));
    EXPECT_EQ(skipped.hour, 3);
    EXPECT_EQ(skipped.minute, 30);
    // A script without a header is on universal time.
    EXPECT_EQ(utcOfLocal(readShowZone("RUN wzp 0 "), at(2026, 1, 1, 0, 0)),
              secondsFromCivil(2026, 1, 1, 0, 0, 0));
}

class ScheduleModeTest : public ::testing::Test {
  protected:
    ScheduleModeTest() {
        ws.writePng("red.png", 8, 8, kRed);
        ws.writePng("blue.png", 8, 8, kBlue);
        ws.write("70000.shw", lines({"PNG red ", "AP SHOW 0", "STOP 1 "}));
        ws.write("70100.shw", lines({"PNG blue ", "AP SHOW 0", "STOP 1 "}));
    }
    ShowFixture::Result playAt(const CivilTime& local, uint64_t maxTicks = 0, int maxPages = 1) {
        ShowOptions options;
        options.schedule = true;
        options.maxTicks = maxTicks;
        options.maxPages = maxPages;
        clock = ShowClock::stepped(secondsFromCivil(local.year, local.month, local.day, local.hour,
                                                    local.minute, local.second) *
                                   1000);
        options.showClock = clock;
        return ws.play(options);
    }
    static std::string header() {
        return lines({"TIME_ZONE 0 ", "DAYLIGHT_START 00/00:00 ", "DAYLIGHT_END  00/00:00 ",
                      "DAYLIGHT_BIAS 0 ", "LED_W 8 ", "LED_H 8 "});
    }
    ShowFixture ws;
    std::shared_ptr<ShowClock> clock;
};

TEST_F(ScheduleModeTest, WeekdayMorningsAndWeekendsPlayTheirOwnProgram) {
    ws.write(
        "run.at",
        header() +
            lines({"WEEK --/--/--  --/--/--  3e 06:00 12:00", "RUN wzp 1 70000.shw 0 0 8 8 1 ",
                   "WEEK --/--/--  --/--/--  41 00:00 23:59", "RUN wzp 1 70100.shw 0 0 8 8 1 "}) +
            "END");
    const auto tuesday = playAt(at(2026, 3, 10, 9, 0));
    ASSERT_FALSE(tuesday.frames.empty()) << tuesday.diagnostics;
    EXPECT_EQ(tuesday.frames.back().at(4, 4), kRed);
    const auto saturday = playAt(at(2026, 3, 7, 9, 0));
    ASSERT_FALSE(saturday.frames.empty()) << saturday.diagnostics;
    EXPECT_EQ(saturday.frames.back().at(4, 4), kBlue);
    // Tuesday afternoon nothing is scheduled: the show says so and ends without a frame.
    const auto afternoon = playAt(at(2026, 3, 10, 13, 0));
    EXPECT_TRUE(afternoon.frames.empty());
    EXPECT_EQ(afternoon.diagnostics, "nothing is scheduled at 2026-03-10 13:00:00\n");
    // Without schedule mode the lines are skipped and the first page plays, as always.
    const auto plain = ws.play();
    ASSERT_FALSE(plain.frames.empty());
    EXPECT_EQ(plain.frames.back().at(4, 4), kRed);
}

TEST_F(ScheduleModeTest, TheChoiceIsMadeAgainAfterEachPassAsTheClockMovesOn) {
    ws.write("run.at", header() +
                           lines({"AT 09:00 09:01", "RUN wzp 1 70100.shw 0 0 8 8 1 ", "OTHER",
                                  "RUN wzp 1 70000.shw 0 0 8 8 1 "}) +
                           "END");
    // A second before nine: a red page (26 ticks), then the clock has passed nine and the
    // blue block plays until one minute past, when the sign falls back to red.
    const auto r = playAt(at(2026, 3, 10, 8, 59, 59), 1600, 0);
    ASSERT_FALSE(r.frames.empty()) << r.diagnostics;
    EXPECT_EQ(r.frames.front().at(0, 0), kRed);
    uint64_t firstBlue = 0, redAgain = 0;
    for (const auto& f : r.frames) {
        if (!firstBlue && f.at(0, 0) == kBlue) firstBlue = f.tick;
        if (firstBlue && !redAgain && f.at(0, 0) == kRed) redAgain = f.tick;
    }
    // 25 ticks are one second: blue once the red page has ended, red again after 09:01:00.
    EXPECT_GT(firstBlue, 25u);
    EXPECT_LT(firstBlue, 60u);
    EXPECT_GE(redAgain, 25u * 61);
    EXPECT_LT(redAgain, 25u * 61 + 60);
    EXPECT_EQ(clock->nowUtcMs(),
              (secondsFromCivil(2026, 3, 10, 8, 59, 59) * 1000) + int64_t(r.ticks) * 40);
}

TEST_F(ScheduleModeTest, TheSignGoesDarkWhenItsBlockEnds) {
    ws.write("run.at",
             header() + lines({"AT 08:00 09:00", "RUN wzp 1 70000.shw 0 0 8 8 1 "}) + "END");
    const auto r = playAt(at(2026, 3, 10, 8, 59, 59), 100, 0);
    ASSERT_GE(r.frames.size(), 2u) << r.diagnostics;
    EXPECT_EQ(r.frames.front().at(0, 0), kRed);
    EXPECT_EQ(r.frames.back().at(0, 0), 0u);
    EXPECT_EQ(r.ticks, 100u);  // the dark sign still keeps time
}

}  // namespace
}  // namespace brightline::engine
