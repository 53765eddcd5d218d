// Whole shows played in stepped mode: the script rules as a viewer of the sign sees them.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/media_hooks.h"
#include "engine/png_frame_writer.h"
#include "engine/tests/show_fixture.h"

namespace brightline::engine {
namespace {

using testing::lines;
using testing::ShowFixture;
using testing::waitForTheShow;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
const char* const kAllQuit = "**********All Region quit \r\n";

std::string header(int w, int h) {
    return "TIME_ZONE 28800 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 \r\n"
           "DAYLIGHT_BIAS 0 \r\nLED_W " +
           std::to_string(w) + " \r\nLED_H " + std::to_string(h) + " \r\nAT 00:00 00:00 \r\n";
}

// The first frame at which pixel (x, y) has `colour`, 0 when none.
uint64_t firstTickWith(const ShowFixture::Result& r, int x, int y, uint32_t colour) {
    for (const auto& f : r.frames)
        if (f.at(x, y) == colour) return f.tick;
    return 0;
}

TEST(Show, RunLineClipsRegionsToTheScreenAndDropsThoseOutside) {
    ShowFixture ws;
    ws.writePng("red.png", 100, 20, kRed);
    ws.writePng("green.png", 10, 10, kGreen);
    ws.write("a.shw", lines({"PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("c.shw", lines({"PNG green", "AP SHOW 0", "STOP 1"}));
    ws.write("run.at", header(256, 32) +
                           "RUN wzp 4 a.shw 250 0 100 20 1 b.shw 256 0 10 10 1 "
                           "z.shw 0 0 0 10 1 c.shw 0 20 10 10 1 \r\nEND");
    auto r = ws.play();
    ASSERT_FALSE(r.frames.empty());
    const auto& f = r.frames.front();
    EXPECT_EQ(f.width, 256);
    EXPECT_EQ(f.at(249, 0), 0u);
    EXPECT_EQ(f.at(250, 0), kRed);  // 6 pixels wide: 250..255
    EXPECT_EQ(f.at(255, 19), kRed);
    EXPECT_EQ(f.at(250, 20), 0u);
    EXPECT_EQ(f.at(0, 20), kGreen);
    // Dropped entries start nothing: no script of theirs is opened.
    EXPECT_EQ(r.diagnostics.find("could not open"), std::string::npos) << r.diagnostics;
}

TEST(Show, DroppedEntriesDoNotTakeARegionNumber) {
    // Region "c" follows a dropped entry, so it is region 2: the WAIT for region 2 in "a" ends
    // when "c" signals, long before its 10 x 5 ticks.
    ShowFixture ws;
    ws.writePng("red.png", 10, 10, kRed);
    ws.write("a.shw", lines({"WAIT 2 10", "PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("c.shw", lines({"SIGNAL", "STOP 4"}));
    ws.write("run.at", header(64, 32) +
                           "RUN wzp 3 a.shw 0 0 10 10 1 b.shw 64 0 10 10 1 "
                           "c.shw 20 0 10 10 1 \r\n");
    auto r = ws.play();
    uint64_t shown = firstTickWith(r, 0, 0, kRed);
    EXPECT_GT(shown, 0u);
    EXPECT_LT(shown, 10u);
}

TEST(Show, WaitWithoutSignalTimesOutAfterFiveTicksPerUnit) {
    ShowFixture ws;
    ws.writePng("red.png", 10, 10, kRed);
    ws.write("a.shw", lines({"WAIT 2 10", "PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("c.shw", lines({"STOP 3"}));
    ws.write("run.at", header(64, 32) + "RUN wzp 2 a.shw 0 0 10 10 1 c.shw 20 0 10 10 1 \r\n");
    auto r = ws.play();
    // 50 ticks of waiting, then the picture appears on the next tick.
    EXPECT_EQ(firstTickWith(r, 0, 0, kRed), 51u);
}

TEST(Show, StopHoldsTwentyFiveTicksASecond) {
    for (int seconds : {1, 2, 4}) {
        ShowFixture ws;
        ws.writePng("red.png", 8, 8, kRed);
        ws.write("a.shw",
                 lines({"PNG red", "AP SHOW 0", "STOP " + std::to_string(seconds), "EP SHOW 0"}));
        ws.write("run.at", header(16, 8) + "RUN wzp 1 a.shw 0 0 8 8 1 \r\n");
        auto r = ws.play();
        ASSERT_GE(r.frames.size(), 2u) << seconds;
        EXPECT_EQ(r.frames[0].at(0, 0), kRed);
        EXPECT_EQ(r.frames[1].at(0, 0), 0u);
        // the hold, then one tick of the exit's own wait
        EXPECT_EQ(r.frames[1].tick - r.frames[0].tick, uint64_t(seconds) * 25 + 1) << seconds;
    }
}

TEST(Show, ForRepeatsItsBodyAndTheFortiethNestedForAbandonsTheScript) {
    ShowFixture ws;
    ws.writePng("red.png", 8, 8, kRed);
    ws.write("a.shw",
             lines({"PNG red", "FOR 3", "AP SHOW 0", "STOP 1", "EP SHOW 0", "STOP 1", "END"}));
    ws.write("run.at", header(8, 8) + "RUN wzp 1 a.shw 0 0 8 8 1 \r\n");
    auto r = ws.play();
    int shows = 0;
    for (const auto& f : r.frames) shows += f.at(0, 0) == kRed;
    EXPECT_EQ(shows, 3);

    auto nested = [&](int depth) {
        std::string script;
        for (int i = 0; i < depth; ++i) script += "FOR 1\r\n";
        script += "PNG red\r\nAP SHOW 0\r\nSTOP 1\r\n";
        for (int i = 0; i < depth; ++i) script += "END\r\n";
        ws.write("a.shw", script);
        return ws.play();
    };
    auto ok = nested(39);
    EXPECT_EQ(ok.diagnostics.find("FOR stack error"), std::string::npos);
    EXPECT_EQ(firstTickWith(ok, 0, 0, kRed), 1u);
    auto refused = nested(40);
    EXPECT_NE(refused.diagnostics.find("FOR stack error1\n"), std::string::npos);
    EXPECT_EQ(firstTickWith(refused, 0, 0, kRed), 0u);                 // abandoned before drawing
    EXPECT_NE(refused.diagnostics.find(kAllQuit), std::string::npos);  // and the page ended
}

TEST(Show, PageLastsAsLongAsItsLongestRegionWhileShorterOnesReplay) {
    ShowFixture ws;
    ws.writePng("red.png", 8, 8, kRed);
    ws.writePng("green.png", 8, 8, kGreen);
    ws.write("short.shw", lines({"PNG red", "AP SHOW 0", "STOP 2", "EP SHOW 0"}));
    ws.write("long.shw", lines({"PNG green", "AP SHOW 0", "STOP 10"}));
    ws.write("run.at", header(16, 8) + "RUN wzp 2 short.shw 0 0 8 8 1 long.shw 8 0 8 8 1 \r\n");
    auto r = ws.play();
    // The long region ends its pass after 251 ticks; the short one then finishes the command
    // it is in (at most its 50-tick hold).
    EXPECT_GE(r.ticks, 252u);
    EXPECT_LE(r.ticks, 252u + 51);
    int shortShown = 0;
    for (size_t i = 0; i < r.frames.size(); ++i)
        shortShown += r.frames[i].at(0, 0) == kRed && (i == 0 || r.frames[i - 1].at(0, 0) != kRed);
    EXPECT_GE(shortShown, 4);  // replayed about every 52 ticks
    EXPECT_EQ(r.frames.back().at(8, 0), kGreen);
}

TEST(Show, ShowWithoutRunLineLoopsWithoutDrawingUntilStopped) {
    ShowFixture ws;
    ws.write("run.at", header(16, 8) + "WEEK 2026/01/01 --/--/-- 7f 08:00 18:00\r\nOTHER\r\nEND");
    auto r = ws.play(/*maxTicks=*/40, /*maxPages=*/0);
    EXPECT_EQ(r.ticks, 40u);
    EXPECT_TRUE(r.frames.empty());
    EXPECT_TRUE(r.diagnostics.empty()) << r.diagnostics;
}

TEST(Show, RunCountWithEntriesOnTheNextLineStartsNothing) {
    ShowFixture ws;
    ws.writePng("red.png", 8, 8, kRed);
    ws.write("a.shw", lines({"PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("run.at", header(16, 8) + "RUN wzp 2 \r\na.shw 0 0 8 8 1 a.shw 8 0 8 8 1 \r\n");
    auto r = ws.play();
    EXPECT_TRUE(r.frames.empty());
    EXPECT_EQ(r.ticks, 1u);
    EXPECT_EQ(r.diagnostics, kAllQuit);
}

TEST(Show, OnlyTheFirstEightEntriesPlay) {
    ShowFixture ws;
    ws.writePng("red.png", 1, 1, kRed);
    ws.write("a.shw", lines({"PNG red", "AP SHOW 0", "STOP 1"}));
    std::string run = "RUN wzp 9 ";
    for (int i = 0; i < 9; ++i) run += "a.shw " + std::to_string(i) + " 0 1 1 1 ";
    ws.write("run.at", header(16, 1) + run + "\r\n");
    auto r = ws.play();
    ASSERT_FALSE(r.frames.empty());
    for (int x = 0; x < 8; ++x) EXPECT_EQ(r.frames[0].at(x, 0), kRed) << x;
    EXPECT_EQ(r.frames[0].at(8, 0), 0u);
}

TEST(Show, LongRegionScriptNamesAreCutTo39Characters) {
    ShowFixture ws;
    ws.writePng("red.png", 4, 4, kRed);
    std::string name39(39, 'n');
    ws.write(name39, lines({"PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("run.at", header(4, 4) + "RUN wzp 1 " + name39 + "xyz.shw 0 0 4 4 1 \r\n");
    auto r = ws.play();
    EXPECT_EQ(firstTickWith(r, 0, 0, kRed), 1u) << r.diagnostics;
}

TEST(Show, UnknownWordsChangeNothing) {
    auto frames = [](const std::string& noise) {
        ShowFixture ws;
        ws.writePng("red.png", 8, 8, kRed, kGreen);
        ws.write("a.shw",
                 "WIBBLE 3 4\r\n" + noise +
                     lines({"PNG red", "AP SHOW 0", "STOP 1", "RP 1 2", "FLAG 3", "EP SHOW 0"}));
        ws.write("run.at", header(8, 8) + noise +
                               "DAY 2026/01/01 --/--/-- 7fffffff 00:00 23:59\r\n"
                               "OTHER\r\nRUN wzp 1 a.shw 0 0 8 8 1 \r\nEND");
        auto r = ws.play();
        std::vector<std::pair<uint64_t, std::vector<uint32_t>>> out;
        for (auto& f : r.frames) out.emplace_back(f.tick, f.pixels);
        return out;
    };
    auto plain = frames("");
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(frames("DAYLIGHT_BIAS -3600 \r\nDAY OTHER\r\nMSG none\r\n"), plain);
}

TEST(Show, MissingRegionScriptIsReportedAndThePageStillEnds) {
    ShowFixture ws;
    ws.write("run.at", header(8, 8) + "RUN wzp 1 none.shw 0 0 8 8 1 \r\n");
    auto r = ws.play();
    EXPECT_EQ(r.diagnostics, "could not open " + ws.workspace() + "/none.shw \n" + kAllQuit);
}

TEST(Show, RepeatCountBelowOneCountsAsPlayed) {
    ShowFixture ws;
    ws.write("a.shw", "STOP 1\r\n");
    ws.write("run.at", header(8, 8) + "RUN wzp 1 a.shw 0 0 8 8 0 \r\n");
    auto r = ws.play();
    EXPECT_EQ(r.diagnostics, kAllQuit);
    EXPECT_LE(r.ticks, 2u);
}

TEST(Show, MissingShowScriptAndImpossibleScreenEndTheShow) {
    ShowFixture ws;
    auto r = ws.play();
    EXPECT_EQ(r.diagnostics, "could not open " + ws.workspace() + "/run.at \n");
    EXPECT_TRUE(r.failed);
    ws.write("run.at", "LED_W 30000 \r\nLED_H 30000 \r\nRUN wzp 1 a.shw 0 0 8 8 1 \r\n");
    r = ws.play();
    EXPECT_EQ(r.diagnostics, "could not allocate buffer\n");
    EXPECT_TRUE(r.failed);
    ws.write("run.at", "LED_W 0 \r\nRUN wzp 1 a.shw 0 0 8 8 1 \r\n");
    r = ws.play();
    EXPECT_EQ(r.diagnostics, "could not allocate buffer\n");
    EXPECT_TRUE(r.failed);
    ws.write("run.at", "RUN wzp 1 a.shw 0 0 8 8 1 \r\n");  // default 256 x 128 screen
    r = ws.play();
    EXPECT_FALSE(r.failed);
}

TEST(Show, PageTooLargeForTheArenaIsRefusedAndTheShowGoesOn) {
    ShowFixture ws;
    ws.writePng("red.png", 64, 64, kRed);
    ws.write("a.shw", lines({"PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("run.at", header(64, 64) +
                           "RUN wzp 2 a.shw 0 0 64 64 1 a.shw 0 0 64 64 1 \r\n"
                           "RUN wzp 1 a.shw 0 0 8 8 1 \r\n");
    // Screen and one 64 x 64 region fit; two do not.
    auto r = ws.play(0, 1, size_t(3 * 4 * 64 * 64) * 2 + 3 * 4 * 64);
    EXPECT_EQ(r.diagnostics.find("could not allocate buffer\n"), 0u);
    ASSERT_FALSE(r.frames.empty());
    EXPECT_EQ(r.frames[0].at(7, 7), kRed);
    EXPECT_EQ(r.frames[0].at(8, 8), 0u);  // only the small second page played
}

TEST(Show, SteppedPlayGivesIdenticalFramesEveryTime) {
    ShowFixture ws;
    ws.writePng("a.png", 32, 16, kRed, kBlue);
    ws.writePng("b.png", 16, 16, kGreen, 0);
    ws.write("r1.shw", lines({"WIN_TYPE 1", "PNG a", "FOR 3", "AP SHOW 1", "STOP 1", "SIGNAL",
                              "EP SHOW 0", "END"}));
    ws.write("r2.shw",
             lines({"WIN_TYPE 2", "WAIT 1 20", "PNG b", "AP RANDOM 0", "STOP 1", "EP FR_LF 2"}));
    ws.write("r3.shw", lines({"PNG b", "AP DFR_LF 3", "WAIT 2 1", "STOP 2"}));
    ws.write("run.at", header(48, 24) +
                           "RUN wzp 3 r1.shw 0 0 32 16 1 r2.shw 8 0 16 16 1 r3.shw 32 0 16 24 1 "
                           "\r\nRUN wzp 1 r3.shw 0 0 48 24 1 \r\n");
    auto render = [&](const std::string& dir) {
        std::filesystem::create_directory(dir);
        ShowOptions options;
        options.workspace = ws.workspace();
        options.maxPages = 2;
        PngFrameWriter writer(dir);
        CollectingDiagnostics diag;
        Engine engine;
        engine.start("run.at", options, &writer, diag);
        waitForTheShow(engine);
        EXPECT_TRUE(writer.error().empty()) << writer.error();
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(dir)) {
            std::ifstream in(e.path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            files[e.path().filename().string()] = bytes.str();
        }
        return files;
    };
    auto first = render(ws.workspace() + "/one");
    auto second = render(ws.workspace() + "/two");
    EXPECT_GT(first.size(), 5u);
    EXPECT_EQ(first.count("000002.png"), 1u);  // AP SHOW 1 shows on the second tick
    EXPECT_TRUE(first == second);
}

// A sink that asks the player to stop once tick `at` has been drawn.
class StopAtTick : public FrameSink {
  public:
    explicit StopAtTick(uint64_t at) : at_(at) {}
    void frame(int, int, const uint32_t*, uint64_t tick) override {
        if (tick == at_ && player) player->requestStop();
    }
    ShowPlayer* player = nullptr;

  private:
    uint64_t at_;
};

TEST(Show, StopDuringAHoldOrAnEffectEndsWithoutAnotherTick) {
    for (const char* slow :
         {"STOP 1000", "AP FR_LF 9", "AP COLOR 20", "EP RADAR_360_CW 50", "WAIT 2 1000"}) {
        ShowFixture ws;
        ws.writePng("red.png", 40, 4, kRed);
        ws.write("slow.shw", lines({"PNG red", "AP SHOW 0", slow}));
        ws.write("busy.shw", lines({"PNG red", "FOR 100000", "AP SHOW 0", "EP SHOW 0", "END"}));
        ws.write("run.at",
                 header(48, 4) + "RUN wzp 2 slow.shw 0 0 40 4 1 busy.shw 40 0 8 4 1 \r\n");
        ShowOptions options;
        options.workspace = ws.workspace();
        StopAtTick sink(10);
        CollectingDiagnostics diag;
        MediaHooks media;
        ShowPlayer player(options, diag, &sink, media);
        sink.player = &player;
        player.run(ws.workspace() + "/run.at");
        EXPECT_EQ(player.ticks(), 10u) << slow;
        EXPECT_EQ(diag.count(kAllQuit), 1) << slow;
    }
}

TEST(Show, StartingAgainEndsTheRunningShowAndPlaysTheNewOneFromItsStart) {
    ShowFixture a, b;
    for (ShowFixture* ws : {&a, &b}) {
        ws->writePng("p.png", 4, 4, ws == &a ? kRed : kGreen);
        ws->write("r.shw", lines({"PNG p", "AP SHOW 0", "STOP 1000"}));
        ws->write("run.at", header(4, 4) + "RUN wzp 1 r.shw 0 0 4 4 1 \r\n");
    }
    CollectingSink first, second;
    CollectingDiagnostics diag;
    Engine engine;
    ShowOptions options;
    options.workspace = a.workspace();
    engine.start("run.at", options, &first, diag);
    options.workspace = b.workspace();
    options.maxTicks = 5;
    engine.start("run.at", options, &second, diag);
    waitForTheShow(engine);
    EXPECT_FALSE(engine.running());
    ASSERT_FALSE(second.frames.empty());
    EXPECT_EQ(second.frames[0].tick, 1u);
    EXPECT_EQ(second.frames[0].at(0, 0), kGreen);
    for (const auto& f : first.frames) EXPECT_EQ(f.at(0, 0), kRed);
    EXPECT_GE(diag.count(kAllQuit), 1);

    engine.stop();  // stopping an ended show is harmless
}

TEST(Show, RealTimeClockPlaysTheSameShow) {
    ShowFixture ws;
    ws.writePng("red.png", 4, 4, kRed);
    ws.write("r.shw", lines({"PNG red", "AP SHOW 0", "STOP 1"}));
    ws.write("run.at", header(4, 4) + "RUN wzp 1 r.shw 0 0 4 4 1 \r\n");
    ShowOptions options;
    options.workspace = ws.workspace();
    options.clock = ClockMode::RealTime;
    options.maxTicks = 4;
    CollectingSink sink;
    CollectingDiagnostics diag;
    Engine engine;
    engine.start("RUN.AT", options, &sink, diag);  // found whatever the case
    waitForTheShow(engine);
    EXPECT_EQ(engine.ticks(), 4u);
    ASSERT_EQ(sink.frames.size(), 1u);
    EXPECT_EQ(sink.frames[0].at(3, 3), kRed);
}

// Plays a show that never ends by itself with a tick limit; the show must end by that limit
// (a deadline turns a hang into a failure instead of a stuck test).
struct Bounded {
    uint64_t ticks = 0;
    std::string diagnostics;
};
Bounded playBounded(const ShowFixture& ws, ShowOptions options, const std::string& what) {
    options.workspace = ws.workspace();
    CollectingDiagnostics diag;
    Engine engine;
    engine.start("run.at", options, nullptr, diag);
    if (!engine.waitDoneFor(std::chrono::seconds(20))) {
        ADD_FAILURE() << what << ": the show did not end within its " << options.maxTicks
                      << " ticks";
        engine.stop();
    }
    return {engine.ticks(), diag.text()};
}

ShowOptions limited(uint64_t maxTicks, ClockMode clock = ClockMode::Stepped) {
    ShowOptions options;
    options.maxTicks = maxTicks;
    options.clock = clock;
    return options;
}

TEST(Show, ShowsThatNeverEndStopAtTheirTickLimit) {
    std::string deep;
    for (int i = 0; i < 1000; ++i) deep += "FOR 2\r\n";
    const std::string forever = "FOR 2147483647\r\n";
    struct Case {
        const char* what;
        std::string run;     // after the header
        std::string region;  // "r.shw"
    } cases[] = {
        {"missing region script", "RUN wzp 1 none.shw 0 0 8 8 1 \r\n", ""},
        {"1,000 nested FORs", "RUN wzp 1 r.shw 0 0 8 8 1 \r\n", deep},
        {"region FOR that waits for nothing", "RUN wzp 1 r.shw 0 0 8 8 1 \r\n",
         forever + "END\r\n"},
        {"region FOR around STOP 0", "RUN wzp 1 r.shw 0 0 8 8 1 \r\n",
         forever + "STOP 0 \r\nEND\r\n"},
        {"region FOR around WAIT for nothing", "RUN wzp 1 r.shw 0 0 8 8 1 \r\n",
         forever + "WAIT 2 0\r\nFLAG 1\r\nEND\r\n"},
        {"huge STOP", "RUN wzp 1 r.shw 0 0 8 8 1 \r\n", "STOP 2147483647 \r\n"},
        {"huge WAIT", "RUN wzp 1 r.shw 0 0 8 8 1 \r\n", "WAIT 2 2147483647\r\n"},
        {"show FOR that plays nothing", forever + "END\r\n", ""},
        {"show FOR around a page that cannot be allocated",
         forever + "RUN wzp 1 r.shw 0 0 8 8 1 \r\nEND\r\n", "STOP 1 \r\n"},
    };
    for (const Case& c : cases) {
        ShowFixture ws;
        ws.write("run.at", header(8, 8) + c.run);
        ws.write("r.shw", c.region);
        // The last case: the page's regions do not fit beside the screen.
        ShowOptions options = limited(30);
        if (std::string(c.what).find("allocated") != std::string::npos)
            options.maxArenaBytes = 8 * 8 * 12;
        Bounded r = playBounded(ws, options, c.what);
        EXPECT_EQ(r.ticks, 30u) << c.what;
        // However often a page ends at once, its lines are not printed on every tick.
        EXPECT_LE(r.diagnostics.size(), 400u) << c.what << ": " << r.diagnostics;
    }
}

TEST(Show, ALineRepeatedOnEveryTickIsPrintedOnceWithItsCount) {
    ShowFixture ws;
    ws.write("run.at", header(8, 8) + "RUN wzp 1 none.shw 0 0 8 8 1 \r\n");
    Bounded r = playBounded(ws, limited(60), "missing region script");
    const std::string missing = "could not open " + ws.workspace() + "/none.shw \n";
    // Page k plays tick k: its region reports the missing script, the page ends at once.
    EXPECT_EQ(r.diagnostics, missing + kAllQuit + "repeated 59 times: " + kAllQuit +
                                 "repeated 59 times: " + missing);
}

TEST(Show, ALineThatComesBackAfterAPauseIsPrintedEachTime) {
    ShowFixture ws;
    ws.write("a.shw", "STOP 1 \r\n");
    ws.write("run.at", header(8, 8) + "RUN wzp 1 a.shw 0 0 8 8 1 \r\n");
    Bounded r = playBounded(ws, limited(130), "pages of a second");
    CollectingDiagnostics lines;
    lines.write(r.diagnostics);
    EXPECT_GE(lines.count(kAllQuit), 5) << r.diagnostics;  // one a page, and the stop
    EXPECT_EQ(lines.count("repeated"), 0) << r.diagnostics;
}

TEST(Show, RealTimeLoopsThatWaitForNothingStillLetTheTicksPass) {
    ShowFixture ws;
    ws.write("run.at", header(8, 8) + "RUN wzp 1 r.shw 0 0 8 8 1 \r\n");
    ws.write("r.shw", "FOR 2147483647\r\nEND\r\n");
    EXPECT_EQ(playBounded(ws, limited(5, ClockMode::RealTime), "real time").ticks, 5u);

    // And a stop request ends it without any tick limit.
    ShowOptions options;
    options.workspace = ws.workspace();
    options.clock = ClockMode::RealTime;
    CollectingDiagnostics diag;
    Engine engine;
    engine.start("run.at", options, nullptr, diag);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    engine.stop();
    EXPECT_FALSE(engine.running());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

TEST(Show, UnsupportedMediaSayWhatIsMissingAndLeaveTheRegionAsItIs) {
    ShowFixture ws;
    ws.writePng("red.png", 4, 4, kRed);
    ws.write("r.shw",
             lines({"PNG red", "AP SHOW 0", "JPG 70001001", "ZAVI 70001002 10 0 SHOW NULL 0",
                    "HTML page x", "TIME clock 1", "STOP 1", "AP SHOW 0", "STOP 1"}));
    ws.write("run.at", header(4, 4) + "RUN wzp 1 r.shw 0 0 4 4 1 \r\n");
    auto r = ws.play();
    EXPECT_EQ(r.diagnostics, std::string("JPG not supported yet\nZAVI not supported yet\n"
                                         "HTML not supported yet\nTIME not supported yet\n") +
                                 kAllQuit);
    for (const auto& f : r.frames) EXPECT_EQ(f.at(0, 0), kRed);
}

}  // namespace
}  // namespace brightline::engine
