// The clock page as the editor keeps and writes it: defaults, the file byte for byte, foreign
// keys left alone, the zone taken from and given to the process.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/testing/scratch_folder.h"
#include "shell/clock_page_document.h"

namespace brightline {
namespace {

constexpr int kNamedFonts = 31;

std::string read(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path, bytes));
    return std::string(bytes.begin(), bytes.end());
}

void write(const std::string& path, const std::string& text) {
    ASSERT_TRUE(writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end())));
}

TimeZoneInfo tenHoursEast() {
    // Daylight saving from the first Sunday of October, 02:00, to the first of April, 03:00.
    return *parsePosixTimeZone("AEST-10AEDT,M10.1.0,M4.1.0/3");
}

TEST(ClockPageDocument, ANewPageHasTheDesignedItemsAndTheZoneInForce) {
    const ClockPageDocument page = newClockPageDocument(tenHoursEast(), kNamedFonts);
    struct Item {
        int kind, x, y;
        const char* format;
    } items[] = {{kClockDate, 0, 0, "YYYY/MM/DD"},
                 {kClockTime, 0, 8, "HH:MM:SS"},
                 {kClockWeek, 0, 16, "WWW."},
                 {kClockTemperature, 0, 48, "##'C"},
                 {kClockTitle, 0, 32, "Temperature"}};
    for (const Item& i : items) {
        const ClockItem& item = page.items[static_cast<size_t>(i.kind)];
        SCOPED_TRACE(kClockItemNames[static_cast<size_t>(i.kind)]);
        EXPECT_TRUE(item.shown);
        EXPECT_EQ(item.x, i.x);
        EXPECT_EQ(item.y, i.y);
        EXPECT_EQ(item.format, i.format);
        EXPECT_EQ(item.fontIndex, 2);
        EXPECT_EQ(item.colour, 0xFF0000u);
    }
    EXPECT_EQ(page.diffTime, -36000);
    EXPECT_EQ(page.daylight, -3600);
    EXPECT_EQ(page.daylightStart, "10/01:02");
    EXPECT_EQ(page.daylightEnd, "04/01:03");
    EXPECT_EQ(page.timeZone0, 'A');
    EXPECT_EQ(page.timeZone1, 'E');
}

TEST(ClockPageDocument, ANewFileHasEveryKeyInTheDesignedOrder) {
    testkit::ScratchFolder dir("bl_tim");
    ClockPageDocument page = newClockPageDocument(tenHoursEast(), kNamedFonts);
    page.items[kClockWeek].colour = 0x00A0FF;
    page.items[kClockTitle].format = "Outside";
    page.items[kClockTemperature].format = "##'F";
    page.items[kClockTime].shown = false;
    ASSERT_TRUE(saveClockPageDocument(dir.file("a.TIM"), page));
    EXPECT_EQ(read(dir.file("a.TIM")),
              "[TIME]\r\nSHOW_DATE=1\r\nSHOW_TIME=0\r\nSHOW_WEEK=1\r\nDIFF_TIME=-36000\r\n"
              "DAYLIGHT=-3600\r\nDAYLIGHT_START=10/01:02\r\nDAYLIGHT_END=04/01:03\r\n"
              "TIME_ZONE0=65\r\nTIME_ZONE1=69\r\nDATE_COLOR=#ff0000\r\nWEEK_COLOR=#00a0ff\r\n"
              "TIME_COLOR=#ff0000\r\nDATE_FONT_SIZE=8\r\nWEEK_FONT_SIZE=8\r\nTIME_FONT_SIZE=8\r\n"
              "DATE_FONT_INDEX=2\r\nWEEK_FONT_INDEX=2\r\nTIME_FONT_INDEX=2\r\nDATE_X=0\r\n"
              "DATE_Y=0\r\nWEEK_X=0\r\nWEEK_Y=16\r\nTIME_X=0\r\nTIME_Y=8\r\nDATE=YYYY/MM/DD\r\n"
              "WEEK=WWW.\r\nTIME=HH:MM:SS\r\n\r\n[TEMPERATURE]\r\nSHOW_TEMPERATURE=1\r\n"
              "SHOW_TITLE=1\r\nTEMPERATURE_MODE=F\r\nTEMPERATURE_COLOR=#ff0000\r\n"
              "TITLE_COLOR=#ff0000\r\nTEMPERATURE_FONT_SIZE=8\r\nTEMPERATURE_FONT_INDEX=2\r\n"
              "TITLE_FONT_SIZE=8\r\nTITLE_FONT_INDEX=2\r\nTEMPERATURE_X=0\r\nTEMPERATURE_Y=48\r\n"
              "TITLE_X=0\r\nTITLE_Y=32\r\nTITLE=Outside\r\n");
    // The sign reads what the editor means.
    ClockPage engine;
    applyClockPageText(read(dir.file("a.TIM")), engine);
    const ClockPage meant = clockPageOf(page);
    EXPECT_EQ(engine.week.colour, meant.week.colour);
    EXPECT_EQ(engine.time.shown, meant.time.shown);
    EXPECT_EQ(engine.title.text, "Outside");
    EXPECT_EQ(engine.title.y, 32);
    EXPECT_EQ(engine.temperatureMode, 'F');
    EXPECT_EQ(engine.diffTime, -36000);
    EXPECT_TRUE(engine.daylightStart.valid && engine.daylightEnd.valid);
    // And it reads back as it was.
    ClockPageDocument back;
    ASSERT_TRUE(loadClockPageDocument(dir.file("a.TIM"), kNamedFonts, back));
    EXPECT_EQ(back.items[kClockWeek].colour, 0x00A0FFu);
    EXPECT_EQ(back.items[kClockTemperature].format, "##'F");
    EXPECT_FALSE(back.items[kClockTime].shown);
    EXPECT_EQ(back.items[kClockTitle].format, "Outside");
    EXPECT_EQ(back.diffTime, -36000);
}

TEST(ClockPageDocument, OtherKeysAndLinesStayWhereTheyWere) {
    testkit::ScratchFolder dir("bl_tim");
    write(dir.file("b.TIM"),
          "; made elsewhere\n[TIME]\nSHOW_DATE=0\nVENDOR_FLAG=7\nDATE_FONT_INDEX=99\nDATE=\n"
          "[EXTRA]\nNOTE=keep me\n[TEMPERATURE]\nTEMPERATURE_MODE=F\n");
    ClockPageDocument page;
    ASSERT_TRUE(loadClockPageDocument(dir.file("b.TIM"), kNamedFonts, page));
    EXPECT_FALSE(page.items[kClockDate].shown);
    EXPECT_EQ(page.items[kClockDate].fontIndex, 2);          // 99 is no loaded font
    EXPECT_EQ(page.items[kClockDate].format, "YYYY/MM/DD");  // empty: the kind's default
    EXPECT_EQ(page.items[kClockTemperature].format, "##'F");
    EXPECT_EQ(page.items[kClockTime].y, 8);  // missing: its default
    page.items[kClockDate].shown = true;
    ASSERT_TRUE(saveClockPageDocument(dir.file("b.TIM"), page));
    const std::string text = read(dir.file("b.TIM"));
    EXPECT_EQ(text.rfind("; made elsewhere\n[TIME]\nSHOW_DATE=1\nVENDOR_FLAG=7\nDATE_FONT_INDEX=2\n"
                         "DATE=YYYY/MM/DD\nSHOW_TIME=1\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("[EXTRA]\nNOTE=keep me\n[TEMPERATURE]\nTEMPERATURE_MODE=F\n"),
              std::string::npos)
        << text;
}

TEST(ClockPageDocument, ThePagesZoneAsARuleForTheProcess) {
    const TimeZoneInfo sydney = tenHoursEast();
    const ClockPageDocument page = newClockPageDocument(sydney, kNamedFonts);
    // Another zone is in force when the page is applied: the page's values come back.
    const TimeZoneInfo berlin = *parsePosixTimeZone("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::string rule = posixZoneOf(page, berlin);
    EXPECT_EQ(rule, "<AET>-10<CEST>-11,M10.1.0/2,M4.1.0/3");
    auto applied = parsePosixTimeZone(rule);
    ASSERT_TRUE(applied);
    ClockPageDocument again;
    takeZone(again, *applied);
    EXPECT_EQ(again.diffTime, page.diffTime);
    EXPECT_EQ(again.daylight, page.daylight);
    EXPECT_EQ(again.daylightStart, page.daylightStart);
    EXPECT_EQ(again.daylightEnd, page.daylightEnd);
    EXPECT_EQ(again.timeZone0, 'A');
    EXPECT_EQ(again.timeZone1, 'E');
    // No daylight saving, half an hour off the hour, no zone codes.
    ClockPageDocument india = newClockPageDocument(*parsePosixTimeZone("IST-5:30"), kNamedFonts);
    india.timeZone0 = india.timeZone1 = 0;
    EXPECT_EQ(posixZoneOf(india, berlin), "<CET>-5:30");
}

TEST(ClockPageDocument, ItemTextsFontNamesAndFormatLists) {
    const CivilTime monday = civilFromSeconds(secondsFromCivil(2026, 3, 9, 13, 5, 9));
    ClockItem item;
    item.kind = kClockTime;
    item.format = "HH:MM:SSP";
    EXPECT_EQ(clockItemText(item, monday), "01:05:09PM");
    item.kind = kClockWeek;
    item.format = "WWW.";
    EXPECT_EQ(clockItemText(item, monday), "Mon.");
    item.format = "D";
    EXPECT_EQ(clockItemText(item, monday), "1");
    item.kind = kClockTitle;
    item.format = "Hello";
    EXPECT_EQ(clockItemText(item, monday), "Hello");
    EXPECT_EQ(clockFormats(item), std::vector<std::string>{"Hello"});
    item.kind = kClockTime;
    EXPECT_EQ(clockFormats(item),
              (std::vector<std::string>{"HH:MM", "HH:MMP", "HH:MM:SS", "HH:MM:SSP"}));
    EXPECT_EQ(clockFontName(20), "E7X12");
    EXPECT_EQ(clockFontName(9), "E7X13");
    EXPECT_EQ(clockFontName(31), "");
    EXPECT_EQ(kClockFonts[9].name, std::string("E7X12"));  // shown after E6X11
}

}  // namespace
}  // namespace brightline
