#include <gtest/gtest.h>

#include "editor/area_format.h"
#include "editor/compact_program.h"
#include "editor/element_list.h"

namespace brightline {
namespace {

int noLibrary(const std::string&) {
    return 0;
}

CompactItem item(const std::string& path, std::optional<int> moveIn = {},
                 std::optional<int> moveOut = {}, std::optional<int> hold = {}) {
    CompactItem i;
    i.path = path;
    i.moveIn = moveIn;
    i.moveOut = moveOut;
    i.hold = hold;
    return i;
}

// Two areas side by side: a picture background with an entry effect and two items in area 0,
// a clip background and a clock page in area 1.
CompactProgram twoAreas() {
    CompactProgram c;
    c.width = 128;
    c.height = 64;
    c.areaFormat = 1;
    CompactArea left;
    left.background = item("/m/red.jpg", 1);
    left.items = {item("/m/blue.png", {}, 11, 7), item("/m/page.ZRT")};
    CompactArea right;
    right.background = item("/m/clip.avi");
    right.items = {item("/m/town.TIM", {}, {}, 10)};
    c.areas = {left, right};
    return c;
}

TEST(CompactProgramTest, ElementsStartOneAfterAnotherAsDroppedAndSet) {
    const ProgramData p = makeProgram(
        twoAreas(), [](const std::string& path) { return path == "/m/blue.png" ? 4 : 0; });
    const auto& left = p.areaLists[0];
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].moveIn, 1);
    EXPECT_EQ(left[0].hold, 3);
    EXPECT_EQ(left[1].start, 3);
    EXPECT_EQ(left[1].hold, 7);
    EXPECT_EQ(left[1].moveOut, 11);
    EXPECT_EQ(left[1].thumbIndex, 4);
    EXPECT_EQ(left[2].start, 10);
    const auto& right = p.areaLists[1];
    ASSERT_EQ(right.size(), 2u);
    EXPECT_EQ(right[0].hold, 0);  // a clip background plays for its own length
    EXPECT_EQ(right[1].start, 0);
    EXPECT_EQ(right[1].thumbIndex, 0);  // clock pages always 0
    // The slots the format does not show keep their empty background.
    EXPECT_EQ(p.areaLists[2].size(), 1u);
    EXPECT_EQ(p.areaLists[2][0].thumbIndex, -1);
}

TEST(CompactProgramTest, ProgramsOfTheCompactFormComeBackWhole) {
    CompactProgram none;  // no format chosen: the lines stay as a new program has them
    none.width = 64;
    none.height = 32;
    CompactProgram zero = none;  // format 0 chosen: line 0 covers the face
    zero.areaFormat = 0;
    CompactProgram ten = none;
    ten.areaFormat = 10;
    ten.areas.resize(3);
    ten.areas[2].items = {item("/m/a.jpg", 44, 45)};
    for (const CompactProgram& c : {none, zero, ten, twoAreas()}) {
        const ProgramData p = makeProgram(c, noLibrary);
        std::string why;
        const auto back = compactOf(p, &why);
        ASSERT_TRUE(back) << why;
        EXPECT_EQ(back->areaFormat, c.areaFormat);
        EXPECT_EQ(encodeProgram(makeProgram(*back, noLibrary)), encodeProgram(p));
    }
}

TEST(CompactProgramTest, WhatTheCompactFormCannotSayIsNamed) {
    struct Case {
        const char* why;
        std::function<void(ProgramData&)> change;
    };
    const Case cases[] = {
        {"dividing lines are not the ones area format 1 sets",
         [](ProgramData& p) { ASSERT_TRUE(dragLine(1, 128, 64, p.regionLines, 0, 40, 10)); }},
        {"dividing lines are not the ones area format 1 sets",
         [](ProgramData& p) {  // format 3 chosen first: its lines 1..3 are kept
             applyAreaFormat(p, 3);
             applyAreaFormat(p, 1);
         }},
        {"area 0 item 2 has start 12 where the same clicks give 10",
         [](ProgramData& p) { p.areaLists[0][2].start = 12; }},
        {"area 0 item 1 has no exit line", [](ProgramData& p) { p.areaLists[0][1].moveOut = -1; }},
        {"area 1 background (in): a clip or a clock page takes no effects",
         [](ProgramData& p) { p.areaLists[1][0].moveIn = 2; }},  // a clip takes no effect
        {"area slot 3 holds elements area format 1 does not show",
         [](ProgramData& p) { appendElement(p, droppedItem("/m/x.jpg", 0), 3); }},
        {"area 0 item 1 keeps a timeline bar rectangle",
         [](ProgramData& p) {
             p.areaLists[0][1].barRect = Rect{1, 2, 3, 4};
         }},
        {"(sign): 100x64 is not a sign size", [](ProgramData& p) { p.ledWidth = 100; }},
        {"area slot 2 has no background element", [](ProgramData& p) { p.areaLists[2].clear(); }},
    };
    for (const Case& c : cases) {
        ProgramData p = makeProgram(twoAreas(), noLibrary);
        c.change(p);
        std::string why;
        EXPECT_FALSE(compactOf(p, &why)) << c.why;
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
    // Thumbnail positions come from the libraries when the form is built, and are not compared.
    ProgramData p = makeProgram(twoAreas(), noLibrary);
    p.areaLists[0][1].thumbIndex = 9;
    EXPECT_TRUE(compactOf(p, nullptr));
}

}  // namespace
}  // namespace brightline
