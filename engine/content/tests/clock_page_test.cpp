// Clock pages in a region: fields drawn with the bitmap fonts at the injected time, the
// temperature with its degree mark, fields beyond the region, and STOP redrawing every tick.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock/local_time.h"
#include "engine/content/tests/content_fixture.h"
#include "engine/show_clock.h"

namespace brightline::content {
namespace {

using testing::builtInFonts;
using testing::scriptLines;
using testing::Workspace;

constexpr int kWidth = 64;
constexpr int kHeight = 16;

// A clock page as the clock page editor writes it: every field off unless `keys` says so.
std::string clockPage(const std::vector<std::string>& keys) {
    std::vector<std::string> lines = {"[TIME]"};
    lines.insert(lines.end(), keys.begin(), keys.end());
    const std::vector<std::string> defaults = {
        "SHOW_DATE=0",           "SHOW_TIME=0",        "SHOW_WEEK=0",
        "DIFF_TIME=0",           "DAYLIGHT=0",         "DAYLIGHT_START=03/05:02",
        "DAYLIGHT_END=10/05:03", "TIME_ZONE0=x",       "SHOW_TEMPERATURE=0",
        "SHOW_TITLE=0",          "TEMPERATURE_MODE=C",
    };
    for (const std::string& line : defaults) {
        const std::string key = line.substr(0, line.find('=') + 1);
        bool given = false;
        for (const std::string& k : keys) given = given || k.compare(0, key.size(), key) == 0;
        if (!given) lines.push_back(line);
    }
    return scriptLines(lines);
}

// The page a person expects: `text` in `font`, each glyph width + 1 further on.
struct Expected {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(kWidth) * kHeight, 0);
    long draw(const std::string& text, int font, long x, long y, uint32_t colour) {
        const FontTable& fonts = builtInFonts();
        for (char c : text) {
            const GlyphView g = fonts.glyph(font, static_cast<uint8_t>(c));
            for (int row = 0; row < g.height; ++row)
                for (int col = 0; col < g.width; ++col)
                    if (g.ink(col, row) && x + col < kWidth && y + row >= 0 && y + row < kHeight)
                        pixels[size_t(y + row) * kWidth + size_t(x + col)] = colour;
            x += g.advance + 1;
        }
        return x;
    }
};

int64_t utc(int y, int mo, int d, int h, int mi, int s) {
    return secondsFromCivil(y, mo, d, h, mi, s);
}

Workspace::Result playClock(const std::string& page, std::vector<std::string> script,
                            ContentSettings settings) {
    Workspace ws;
    ws.write("run.at", testing::oneRegionShow(kWidth, kHeight));
    ws.write("10000.shw", scriptLines(script));
    ws.write("CLK.TIM", page);
    return ws.play(std::move(settings));
}

TEST(ClockPage, TemperatureShowsHashesWithoutAReadingThenDegreeMarkAndUnit) {
    struct Case {
        std::optional<int> reading;
        char mode;
        std::string shown;
    } cases[] = {
        {std::nullopt, 'C', "##"}, {-1, 'C', "##"}, {90, 'C', "##"},
        {21, 'C', "21"},           {20, 'F', "68"}, {-5, 'C', "-5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        ContentSettings settings;
        settings.clock = std::make_shared<ManualUtcClock>(utc(2027, 3, 5, 13, 0, 0));
        if (c.reading) settings.temperature = [r = *c.reading] { return std::optional<int>(r); };
        const auto result =
            playClock(clockPage({"SHOW_TEMPERATURE=1", "TEMPERATURE_X=2", "TEMPERATURE_Y=6",
                                 "TEMPERATURE_COLOR=#FF8000", "TEMPERATURE_FONT_INDEX=0",
                                 std::string("TEMPERATURE_MODE=") + c.mode}),
                      {"TIME clk 1", "STOP 1"}, settings);
        ASSERT_FALSE(result.frames.empty()) << result.diagnostics;
        Expected expected;
        long pen = expected.draw(c.shown, 1, 2, 6, 0xFF8000);
        pen = expected.draw("o", 1, pen, 4, 0xFF8000);
        expected.draw(std::string(1, c.mode), 1, pen, 6, 0xFF8000);
        EXPECT_EQ(result.frames.front().pixels, expected.pixels);
    }
}

TEST(ClockPage, FieldsAtTheInjectedTimeAndNoneBeyondTheRegion) {
    ContentSettings settings;
    settings.clock = std::make_shared<ManualUtcClock>(utc(2027, 3, 5, 13, 0, 0));
    const auto result = playClock(
        clockPage({"SHOW_TIME=1", "TIME=HH:MM", "TIME_X=1", "TIME_Y=0", "TIME_COLOR=#FF0000",
                   "TIME_FONT_INDEX=0", "SHOW_DATE=1", "DATE=DD/MM/YY", "DATE_X=64", "DATE_Y=0",
                   "DATE_COLOR=#00FF00", "DATE_FONT_INDEX=0", "SHOW_TITLE=1", "TITLE=Hello",
                   "TITLE_X=0", "TITLE_Y=16", "TITLE_COLOR=#0000FF", "TITLE_FONT_INDEX=0"}),
        {"TIME clk 1", "STOP 1"}, settings);
    ASSERT_FALSE(result.frames.empty()) << result.diagnostics;
    Expected expected;
    expected.draw("13:00", 1, 1, 0, 0xFF0000);
    EXPECT_EQ(result.frames.front().pixels, expected.pixels)
        << "only the time: the date starts at x = 64 and the title at y = 16";
}

// A clock that moves on a second every time it is read.
class SteppingClock : public UtcClock {
  public:
    explicit SteppingClock(int64_t start) : next_(start) {}
    int64_t nowUtc() const override { return next_.fetch_add(1); }

  private:
    mutable std::atomic<int64_t> next_;
};

TEST(ClockPage, StopInClockModeRedrawsEveryTickAndOnlyThen) {
    ContentSettings settings;
    settings.clock = std::make_shared<SteppingClock>(utc(2027, 3, 5, 23, 59, 30));
    const auto result = playClock(clockPage({"SHOW_TIME=1", "TIME=HH:MM:SS", "TIME_X=0", "TIME_Y=0",
                                             "TIME_COLOR=#FFFFFF", "TIME_FONT_INDEX=0"}),
                                  {"TIME clk 1", "STOP 2", "STOP 1"}, settings);
    // Two seconds of ticks, each drawn anew from the clock (one read a tick); the second STOP
    // only waits. The display runs one drawing ahead of the tick that shows it, so the last
    // drawing stands on the last two frames.
    ASSERT_EQ(result.frames.size(), 50u) << result.diagnostics;
    for (size_t i = 1; i + 1 < result.frames.size(); ++i) {
        EXPECT_EQ(result.frames[i].tick, result.frames[i - 1].tick + 1);
        EXPECT_NE(result.frames[i].pixels, result.frames[i - 1].pixels) << "tick " << i;
    }
    Expected last;
    last.draw("00:00:19", 1, 0, 0, 0xFFFFFF);
    EXPECT_EQ(result.frames.back().pixels, last.pixels);
}

TEST(ClockPage, AMissingPageIsReportedAndNothingIsDrawn) {
    Workspace ws;
    ws.write("run.at", testing::oneRegionShow(kWidth, kHeight));
    ws.write("10000.shw", scriptLines({"TIME nothere 1", "STOP 1"}));
    const auto result = ws.play();
    EXPECT_NE(result.diagnostics.find("could not open " + ws.file("nothere.tim") + " \n"),
              std::string::npos);
    EXPECT_TRUE(result.frames.empty());
}

TEST(ClockPage, ALaterPagesRegionStartsWithEveryClockFieldOff) {
    Workspace ws;
    ws.write("run.at", scriptLines({"LED_W 64", "LED_H 16", "RUN wzp 1 10000.shw 0 0 64 16 1",
                                    "RUN wzp 1 10001.shw 0 0 64 16 1", "END"}));
    ws.write("10000.shw", scriptLines({"TIME first 1", "STOP 1"}));
    ws.write("10001.shw", scriptLines({"TIME second 1", "STOP 1"}));
    ws.write("FIRST.TIM", clockPage({"SHOW_TITLE=1", "TITLE=Hi", "TITLE_X=0", "TITLE_Y=0",
                                     "TITLE_COLOR=#FF0000", "TITLE_FONT_INDEX=0"}));
    // A page that holds one key: everything else stays as a fresh region has it, off.
    ws.write("SECOND.TIM", scriptLines({"[TIME]", "SHOW_DATE=0"}));
    ContentSettings settings;
    settings.clock = std::make_shared<ManualUtcClock>(utc(2027, 3, 5, 13, 0, 0));
    engine::ShowOptions options;
    options.maxPages = 2;
    const auto result = ws.play(settings, options);
    ASSERT_GE(result.frames.size(), 2u) << result.diagnostics;
    Expected title;
    title.draw("Hi", 1, 0, 0, 0xFF0000);
    EXPECT_EQ(result.frames.front().pixels, title.pixels);
    EXPECT_EQ(result.frames.back().pixels, Expected().pixels)
        << "the second page's region drew the first page's title";
}

// A schedule played from a local moment: the clock page shows that moment and runs on 40 ms a
// tick; the same moment played again gives the same frames.
TEST(ClockPage, InScheduleModeTheShowClockIsTheClockPagesClock) {
    Workspace ws;
    ws.write("run.at",
             scriptLines({"TIME_ZONE -3600 ", "DAYLIGHT_START 00/00:00 ", "DAYLIGHT_END  00/00:00 ",
                          "DAYLIGHT_BIAS 0 ", "LED_W 64 ", "LED_H 16 ", "AT 00:00 00:00 ",
                          "RUN wzp 1 10000.shw 0 0 64 16 1 ", "END"}));
    ws.write("10000.shw", scriptLines({"TIME clk 1", "STOP 2"}));
    ws.write("CLK.TIM", clockPage({"SHOW_TIME=1", "TIME=HH:MM:SS", "TIME_X=0", "TIME_Y=0",
                                   "TIME_COLOR=#FFFFFF", "TIME_FONT_INDEX=0", "DIFF_TIME=-3600"}));
    auto play = [&] {
        // 13:05:09 local, one hour east of Greenwich.
        auto clock = engine::ShowClock::stepped(utc(2026, 3, 10, 12, 5, 9) * 1000);
        ContentSettings settings;
        settings.clock = clock;
        engine::ShowOptions options;
        options.schedule = true;
        options.showClock = clock;
        options.maxPages = 1;
        return ws.play(settings, options);
    };
    const auto first = play();
    ASSERT_GE(first.frames.size(), 30u) << first.diagnostics;
    Expected at9, at10;
    at9.draw("13:05:09", 1, 0, 0, 0xFFFFFF);
    at10.draw("13:05:10", 1, 0, 0, 0xFFFFFF);
    EXPECT_EQ(first.frames.front().pixels, at9.pixels);
    EXPECT_EQ(first.frames[28].pixels, at10.pixels);
    const auto second = play();
    ASSERT_EQ(second.frames.size(), first.frames.size());
    for (size_t i = 0; i < first.frames.size(); ++i)
        EXPECT_EQ(second.frames[i].pixels, first.frames[i].pixels) << "frame " << i;
}

}  // namespace
}  // namespace brightline::content
