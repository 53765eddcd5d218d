#include "engine/clock/clock_page.h"
#include "common/testing/scratch_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_io.h"
#include "engine/clock/clock_page_file.h"

namespace brightline {
namespace {

// A page as the clock page editor writes it.
const char kEditorPage[] =
    "[TIME]\r\n"
    "SHOW_DATE=1\r\nSHOW_TIME=1\r\nSHOW_WEEK=0\r\n"
    "DIFF_TIME=-36000\r\nDAYLIGHT=-3600\r\n"
    "DAYLIGHT_START=10/01:02\r\nDAYLIGHT_END=04/01:03\r\n"
    "TIME_ZONE0=65\r\nTIME_ZONE1=85\r\n"
    "DATE_COLOR=#ff0000\r\nWEEK_COLOR=#00ff00\r\nTIME_COLOR=#0000ff\r\n"
    "DATE_FONT_SIZE=8\r\nWEEK_FONT_SIZE=9\r\nTIME_FONT_SIZE=10\r\n"
    "DATE_FONT_INDEX=2\r\nWEEK_FONT_INDEX=3\r\nTIME_FONT_INDEX=20\r\n"
    "DATE_X=0\r\nDATE_Y=0\r\nWEEK_X=0\r\nWEEK_Y=16\r\nTIME_X=3\r\nTIME_Y=8\r\n"
    "DATE=YYYY/MM/DD\r\nWEEK=WWW.\r\nTIME=HH:MM:SS\r\n"
    "[TEMPERATURE]\r\n"
    "SHOW_TEMPERATURE=1\r\nSHOW_TITLE=0\r\nTEMPERATURE_MODE=F\r\n"
    "TEMPERATURE_COLOR=#123456\r\nTITLE_COLOR=#abcdef\r\n"
    "TEMPERATURE_FONT_SIZE=8\r\nTEMPERATURE_FONT_INDEX=4\r\nTITLE_FONT_SIZE=8\r\nTITLE_FONT_INDEX="
    "5\r\n"
    "TEMPERATURE_X=1\r\nTEMPERATURE_Y=48\r\nTITLE_X=2\r\nTITLE_Y=32\r\n"
    "TITLE=Room Temperature\r\n";

TEST(ClockPage, ReadsEveryKeyTheEditorWrites) {
    ClockPage p;
    applyClockPageText(kEditorPage, p);
    EXPECT_TRUE(p.date.shown);
    EXPECT_TRUE(p.time.shown);
    EXPECT_FALSE(p.week.shown);
    EXPECT_TRUE(p.temperature.shown);
    EXPECT_FALSE(p.title.shown);
    EXPECT_EQ(p.diffTime, -36000);
    EXPECT_EQ(p.daylight, -3600);
    EXPECT_TRUE(p.daylightStart.valid);
    EXPECT_EQ(p.daylightStart.month, 10);
    EXPECT_EQ(p.daylightStart.ordinal, 1);
    EXPECT_EQ(p.daylightStart.hour, 2);
    EXPECT_EQ(p.daylightEnd.month, 4);
    EXPECT_EQ(p.daylightEnd.hour, 3);
    EXPECT_EQ(p.date.colour, 0xFF0000u);
    EXPECT_EQ(p.week.colour, 0x00FF00u);
    EXPECT_EQ(p.time.colour, 0x0000FFu);
    EXPECT_EQ(p.temperature.colour, 0x123456u);
    EXPECT_EQ(p.title.colour, 0xABCDEFu);
    EXPECT_EQ(p.week.fontSize, 9);
    EXPECT_EQ(p.time.fontSize, 10);
    EXPECT_EQ(p.time.fontIndex, 20);
    EXPECT_EQ(p.temperature.fontIndex, 4);
    EXPECT_EQ(p.title.fontIndex, 5);
    EXPECT_EQ(p.time.x, 3);
    EXPECT_EQ(p.time.y, 8);
    EXPECT_EQ(p.week.y, 16);
    EXPECT_EQ(p.temperature.x, 1);
    EXPECT_EQ(p.temperature.y, 48);
    EXPECT_EQ(p.title.x, 2);
    EXPECT_EQ(p.title.y, 32);
    EXPECT_EQ(p.date.text, "YYYY/MM/DD");
    EXPECT_EQ(p.week.text, "WWW.");
    EXPECT_EQ(p.time.text, "HH:MM:SS");
    EXPECT_TRUE(p.fahrenheit());
    EXPECT_EQ(p.title.text, "Room Temperature");
}

TEST(ClockPage, OnlyTheKeysPresentChangeTheFields) {
    ClockPage p;
    applyClockPageText(kEditorPage, p);
    // Keys in any section, or in none, count; unknown keys and lines without "=" are passed over.
    applyClockPageText(
        "DATE_X=7\nnonsense line\n[OTHER]\nTIME = H H\nUNKNOWN_KEY=5\nTIME_ZONE0=1\n", p);
    EXPECT_EQ(p.date.x, 7);
    EXPECT_EQ(p.time.text, "H H");
    EXPECT_EQ(p.diffTime, -36000);
    EXPECT_EQ(p.date.text, "YYYY/MM/DD");
    EXPECT_EQ(p.title.text, "Room Temperature");
}

TEST(ClockPage, SpacesAreDroppedFromKeysAndNumbers) {
    ClockPage p;
    applyClockPageText(
        "[TIME]\nDATE _X = 1 2\nDIFF_TIME= - 3600\nDATE_COLOR = # 00 ff 00\nSHOW_DATE= 1\n", p);
    EXPECT_EQ(p.date.x, 12);
    EXPECT_EQ(p.diffTime, -3600);
    EXPECT_EQ(p.date.colour, 0x00FF00u);
    EXPECT_TRUE(p.date.shown);
}

TEST(ClockPage, TemplatesAndTitleAreCutToTheirLimits) {
    ClockPage p;
    applyClockPageText("DATE=" + std::string(40, 'Y') + "\nTITLE=" + std::string(300, 'x') + "\n",
                       p);
    EXPECT_EQ(p.date.text.size(), 19u);
    EXPECT_EQ(p.title.text.size(), 159u);
    // Numbers that would overflow stay within the int range.
    applyClockPageText("DATE_X=99999999999999999999\nDATE_Y=-99999999999999999999\n", p);
    EXPECT_EQ(p.date.x, 2147483647L);
    EXPECT_EQ(p.date.y, -2147483648L);
}

TEST(DaylightRule, ParsesMonthOrdinalHour) {
    struct Case {
        const char* text;
        bool valid;
        int month, ordinal, hour;
    };
    const Case cases[] = {
        {"10/01:02", true, 10, 1, 2},
        {"04/05:02", true, 4, 5, 2},
        {"12/05:23", true, 12, 5, 23},
        {"10/31:02", false, 10, 31, 2},  // the editor's default end: no fifth-plus Sunday
        {"00/00:00", false, 0, 0, 0},    // a zone without daylight saving
        {"13/01:02", false, 13, 1, 2},
        {"10/01:24", false, 10, 1, 24},
        {"10/01", false, 10, 1, -1},
        {"1a/01:02", false, -1, 1, 2},
        {"", false, -1, -1, -1},
    };
    for (const Case& c : cases) {
        DaylightRule r = DaylightRule::parse(c.text);
        EXPECT_EQ(r.valid, c.valid) << c.text;
        EXPECT_EQ(r.month, c.month) << c.text;
        EXPECT_EQ(r.ordinal, c.ordinal) << c.text;
        EXPECT_EQ(r.hour, c.hour) << c.text;
    }
}

TEST(ClockPageFile, MissingFileIsReportedAndLeavesThePage) {
    const testkit::ScratchFolder scratch("bl_clock");
    const std::filesystem::path dir = scratch.path();
    std::string text = "[TIME]\r\nSHOW_TIME=1\r\nTIME=HH:MM\r\n";
    std::string path = (dir / "70001001.TIM").string();
    ASSERT_TRUE(writeFileAtomically(path, {text.begin(), text.end()}));

    ClockPage p;
    std::vector<std::string> lines;
    auto record = [&](const std::string& l) { lines.push_back(l); };
    EXPECT_TRUE(loadClockPage(path, p, record));
    EXPECT_EQ(p.time.text, "HH:MM");

    std::string missing = (dir / "70001002.tim").string();
    EXPECT_FALSE(loadClockPage(missing, p, record));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "could not open " + missing + " \n");
    EXPECT_TRUE(p.time.shown);
}

}  // namespace
}  // namespace brightline
