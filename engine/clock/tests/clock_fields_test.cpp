#include "engine/clock/clock_fields.h"

#include <gtest/gtest.h>

namespace brightline {
namespace {

CivilTime at(int y, int mo, int d, int h, int mi, int s) {
    return civilFromSeconds(secondsFromCivil(y, mo, d, h, mi, s));
}

TEST(ClockTexts, DateTemplates) {
    const CivilTime t = at(2027, 3, 5, 0, 0, 0);
    const std::pair<const char*, const char*> cases[] = {
        {"DD/MM/YY", "05/03/27"},     {"YYYY/MM/DD", "2027/03/05"},
        {"MM/DD/YYYY", "03/05/2027"}, {"M", "3"},
        {"YYYYY", "02027"},           {"D.M.Y\r", "5.3.7"},
        {"on DD", "on 05"},           {"Day DD", "0ay 05"},
    };
    for (const auto& c : cases) EXPECT_EQ(dateText(c.first, t), c.second) << c.first;
}

TEST(ClockTexts, TimeTemplatesAndTheTwelveHourClock) {
    struct Case {
        const char* tmpl;
        int hour, minute, second;
        const char* text;
    };
    const Case cases[] = {
        {"HH:MMP", 0, 30, 0, "12:30AM"},
        {"HH:MMP", 12, 5, 0, "12:05PM"},
        {"HH:MMP", 13, 0, 0, "01:00PM"},
        {"HH:MMP", 11, 59, 0, "11:59AM"},
        {"HH:MM:SSP", 13, 5, 9, "01:05:09PM"},
        {"HH:MM:SS", 13, 5, 9, "13:05:09"},
        {"H:MM", 9, 7, 0, "9:07"},
        {"PHH", 23, 0, 0, "PM11"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(timeText(c.tmpl, at(2027, 3, 5, c.hour, c.minute, c.second)), c.text) << c.tmpl;
}

TEST(ClockTexts, WeekdayTemplates) {
    const CivilTime monday = at(2027, 3, 1, 0, 0, 0);
    const CivilTime sunday = at(2027, 3, 7, 0, 0, 0);
    ASSERT_EQ(monday.weekday, 1);
    EXPECT_EQ(weekText("WWW.", monday), "Mon.");
    EXPECT_EQ(weekText("D", monday), "1");
    EXPECT_EQ(weekText("W", sunday), "n");
    EXPECT_EQ(weekText("WW D", sunday), "un 0");
    EXPECT_EQ(weekText("WWWW", monday), " Mon");
}

TEST(ClockTexts, Temperature) {
    struct Case {
        std::optional<int> reading;
        bool fahrenheit;
        const char* text;
    };
    const Case cases[] = {
        {std::nullopt, false, "##"},
        {-1, true, "##"},
        {86, false, "##"},
        {-86, false, "##"},
        {85, false, "85"},
        {20, true, "68"},
        {-40, true, "-40"},
        {37, true, "98"},
        {-5, true, "23"},
        {0, false, "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(temperatureText(c.reading, c.fahrenheit), c.text);
}

// Fonts: 0 a 16-pixel GB2312 stand-in, 1 a 4 x 7 font, 2 a 5 x 7 font, 3 a 6 x 10 font,
// 4 a proportional 8 x 8 font whose glyphs advance by 3.
FontTable testFonts() {
    auto font = [](uint8_t prop, uint8_t w, uint8_t h, uint16_t count) {
        FontHeader hd{prop, w, h, static_cast<uint8_t>(prop || w != 16 ? 0x20 : 0), count};
        std::vector<uint8_t> block;
        for (uint16_t n = 0; n < count; ++n) {
            if (prop) block.push_back(3);
            for (size_t i = 0; i < hd.glyphSize() - (prop ? 1 : 0); ++i) block.push_back(0xFF);
        }
        return BitmapFont(hd, std::move(block));
    };
    FontTable t;
    t.add(font(0, 16, 16, 400));
    t.add(font(0, 4, 7, 95));
    t.add(font(0, 5, 7, 95));
    t.add(font(0, 6, 10, 95));
    t.add(font(1, 8, 8, 95));
    return t;
}

std::string drawn(const std::vector<PlacedGlyph>& glyphs) {
    std::string s;
    for (const PlacedGlyph& g : glyphs) s += g.code;
    return s;
}

TEST(ClockLayout, TemperatureWithoutReadingShowsHashesDegreeMarkAndUnit) {
    FontTable fonts = testFonts();
    ClockPage p;
    p.temperature = ClockField{true, 0x00FF00, 8, 1, 3, 10, ""};  // index 1: font 2, 5 x 7
    auto g = layoutClockExtras(p, std::nullopt, fonts, RegionSize{64, 32});
    ASSERT_EQ(drawn(g), "##oC");
    const long xs[] = {3, 9, 15, 20};  // 5 + 1 a character, the mark 4 + 1 (font 1)
    const long ys[] = {10, 10, 8, 10};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(g[i].x, xs[i]) << i;
        EXPECT_EQ(g[i].y, ys[i]) << i;
        EXPECT_EQ(g[i].colour, 0x00FF00u);
    }
    EXPECT_EQ(g[2].glyph.width, 4);  // the mark comes from font 1
    EXPECT_EQ(g[3].glyph.width, 5);
    p.temperatureMode = 'F';
    EXPECT_EQ(drawn(layoutClockExtras(p, 21, fonts, RegionSize{64, 32})), "69oF");
}

TEST(ClockLayout, FieldsOutsideTheRegionAreNotDrawn) {
    FontTable fonts = testFonts();
    ClockPage p;
    p.date = ClockField{true, 0xFF0000, 8, 1, 64, 0, "DD"};   // x at the region's width
    p.time = ClockField{true, 0xFF0000, 8, 1, 0, 32, "HH"};   // y at the region's height
    p.week = ClockField{false, 0xFF0000, 8, 1, 0, 0, "WWW"};  // hidden
    p.title = ClockField{true, 0xFF0000, 8, 1, 100, 0, "Title"};
    CivilTime t = at(2027, 3, 5, 13, 0, 0);
    EXPECT_TRUE(layoutClockFields(p, t, fonts, RegionSize{64, 32}).empty());
    EXPECT_TRUE(layoutClockExtras(p, std::nullopt, fonts, RegionSize{64, 32}).empty());
    p.date.x = 63;
    EXPECT_EQ(drawn(layoutClockFields(p, t, fonts, RegionSize{64, 32})),
              "0");  // "5" lies past the edge
}

TEST(ClockLayout, PenAdvancesAndFontChoice) {
    FontTable fonts = testFonts();
    ClockPage p;
    p.date = ClockField{true, 1, 8, 1, -10, 0, "DD/MM"};  // starts left of the region
    p.time = ClockField{true, 2, 8, 3, 0, 10, "HH"};      // font 4: proportional, advance 3
    p.week = ClockField{true, 3, 8, 40, 0, 20, "WWW"};    // font 41 is not loaded: font 3
    auto g = layoutClockFields(p, at(2027, 3, 5, 13, 0, 0), fonts, RegionSize{64, 32});
    ASSERT_EQ(drawn(g),
              "/03"
              "13"
              "Fri");
    // Date, font 2 (5 + 1): "0" at -10 and "5" at -4 are skipped, "/" at 2.
    EXPECT_EQ(g[0].x, 2);
    EXPECT_EQ(g[2].x, 14);
    EXPECT_EQ(g[3].x, 0);
    EXPECT_EQ(g[4].x, 4);  // the proportional advance 3, + 1
    EXPECT_EQ(g[5].glyph.width, 6);
    EXPECT_EQ(g[6].x, 7);

    // A stored index of -1 is engine font 0: single bytes come from its full-width row.
    p = ClockPage{};
    p.time = ClockField{true, 2, 8, -1, 0, 0, "H"};
    g = layoutClockFields(p, at(2027, 3, 5, 13, 0, 0), fonts, RegionSize{64, 32});
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].glyph.width, 16);
    EXPECT_FALSE(g[0].glyph.blank());
}

}  // namespace
}  // namespace brightline
