#include <gtest/gtest.h>

#include "editor/element_list.h"
#include "editor/program_list_geometry.h"

namespace brightline {
namespace {

CElement item(const std::string& path, int hold) {
    CElement e = droppedItem(path, 1);
    e.hold = hold;
    return e;
}

std::vector<int> starts(const ProgramData& program, int area) {
    std::vector<int> out;
    for (const CElement& e : program.areaLists[static_cast<size_t>(area)]) out.push_back(e.start);
    return out;
}

class ElementListTest : public testing::Test {
  protected:
    ElementListTest() { program.resetToDefaultElements(); }
    ProgramData program;
};

TEST_F(ElementListTest, AppendAfterTheDefaultBackgroundStartsAtItsHold) {
    EXPECT_EQ(appendElement(program, item("/p/a.jpg", 4), 0), 1);
    EXPECT_EQ(insertElement(program, item("/p/b.jpg", 6), 0, 7), 2);  // past the end: appended
    EXPECT_EQ(starts(program, 0), (std::vector<int>{0, 3, 7}));
    program.areaLists[1].clear();
    EXPECT_EQ(appendElement(program, item("/p/c.jpg", 4), 1), 0);
    EXPECT_EQ(starts(program, 1), (std::vector<int>{0}));
}

TEST_F(ElementListTest, InsertTakesTheStartOfTheElementItGoesBeforeAndShiftsTheRest) {
    appendElement(program, item("/p/a.jpg", 4), 0);  // starts 3
    appendElement(program, item("/p/b.jpg", 2), 0);  // starts 7
    EXPECT_EQ(insertElement(program, item("/p/new.jpg", 5), 0, 1), 1);
    EXPECT_EQ(program.areaLists[0][1].path, "/p/new.jpg");
    EXPECT_EQ(starts(program, 0), (std::vector<int>{0, 3, 8, 12}));
}

TEST_F(ElementListTest, DeletingTheBackgroundEmptiesItAndAnItemPullsTheRestBack) {
    program.areaLists[0][0] = droppedItem("/p/back.png", 0);
    appendElement(program, item("/p/1.jpg", 4), 0);
    appendElement(program, item("/p/2.jpg", 6), 0);
    appendElement(program, item("/p/3.jpg", 5), 0);
    ASSERT_EQ(starts(program, 0), (std::vector<int>{0, 3, 7, 13}));

    EXPECT_TRUE(deleteElement(program, 0, 0));
    ASSERT_EQ(program.areaLists[0].size(), 4u);
    EXPECT_EQ(program.areaLists[0][0].path, "");
    EXPECT_EQ(program.areaLists[0][0].thumbIndex, -1);
    EXPECT_EQ(starts(program, 0), (std::vector<int>{0, 3, 7, 13}));

    EXPECT_TRUE(deleteElement(program, 0, 2));  // item 2 of 3
    ASSERT_EQ(program.areaLists[0].size(), 3u);
    EXPECT_EQ(program.areaLists[0][2].path, "/p/3.jpg");
    EXPECT_EQ(starts(program, 0), (std::vector<int>{0, 3, 7}));
}

TEST_F(ElementListTest, OutOfRangeAreasAndIndexesChangeNothing) {
    const ProgramData before = program;
    EXPECT_EQ(insertElement(program, item("/p/a.jpg", 3), -1, 1), -1);
    EXPECT_EQ(insertElement(program, item("/p/a.jpg", 3), 4, 1), -1);
    EXPECT_EQ(insertElement(program, item("/p/a.jpg", 3), 0, -2), -1);
    EXPECT_FALSE(deleteElement(program, 0, -1));
    EXPECT_FALSE(deleteElement(program, 0, 1));
    EXPECT_FALSE(deleteElement(program, 7, 0));
    EXPECT_FALSE(resizeElement(program, 0, 3, 50));
    EXPECT_EQ(encodeProgram(program), encodeProgram(before));
    EXPECT_EQ(findElement(program, 0, 1), nullptr);
    EXPECT_EQ(findElement(program, -1, 0), nullptr);
    EXPECT_EQ(findElement(program, 2, 0), &program.areaLists[2][0]);
}

TEST_F(ElementListTest, ResizingABarKeepsTenSecondsAndMovesTheLaterBars) {
    appendElement(program, item("/p/a.jpg", 20), 0);  // 3..23
    appendElement(program, item("/p/b.jpg", 4), 0);   // 23..27
    EXPECT_TRUE(resizeElement(program, 0, 1, 5));     // below start + 10
    EXPECT_EQ(program.areaLists[0][1].hold, 10);
    EXPECT_EQ(starts(program, 0), (std::vector<int>{0, 3, 13}));
    EXPECT_TRUE(resizeElement(program, 0, 1, 40));
    EXPECT_EQ(program.areaLists[0][1].hold, 37);
    EXPECT_EQ(starts(program, 0), (std::vector<int>{0, 3, 40}));
}

TEST_F(ElementListTest, TheLayoutShowsTheElementNowAtTheDeletedPlaceElseTheOneBefore) {
    appendElement(program, item("/p/a.jpg", 3), 0);
    appendElement(program, item("/p/b.jpg", 3), 0);
    EXPECT_EQ(shownAfterDelete(program, 0, 1), 1);  // b moved into place 1
    EXPECT_EQ(shownAfterDelete(program, 0, 3), 2);  // the last went: the one before
    EXPECT_EQ(shownAfterDelete(program, 0, 0), 0);
    program.areaLists[1].clear();
    EXPECT_EQ(shownAfterDelete(program, 1, 0), -1);
}

TEST(DropRules, BackgroundsKeepThePathsCaseAndClipsHoldZero) {
    struct Case {
        const char* path;
        int entry;
        int hold;
        int thumbIndex;
    } cases[] = {
        {"/home/Op/Shop Window.jpg", 4, 3, 4}, {"/home/op/clip.AVI", 2, 0, 2},
        {"/home/op/clip.mp4", 2, 0, 2},        {"/home/op/movie.swf", 1, 0, 1},
        {"/home/op/Town.TIM", 5, 3, 0},        {"/home/op/prices.zrt", 3, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CElement background;
        background.moveIn = 7;
        background.moveOut = 9;
        background.hold = 11;
        takeAsBackground(background, c.path, c.entry);
        EXPECT_EQ(background.path, c.path);
        EXPECT_EQ(background.hold, c.hold);
        EXPECT_EQ(background.thumbIndex, c.thumbIndex);
        EXPECT_EQ(background.moveIn, 0);
        EXPECT_EQ(background.moveOut, 0);
        const CElement dropped = droppedItem(c.path, c.entry);
        EXPECT_EQ(dropped.hold, 3);
        EXPECT_EQ(dropped.thumbIndex, c.thumbIndex);
    }
}

TEST(DropRules, EffectsAreTakenByPicturesAndTextPagesOnly) {
    struct Case {
        const char* path;
        bool takes;
    } cases[] = {{"a.JPG", true},  {"a.bmp", true},  {"a.zrt", true},  {"", true},
                 {"a.TIM", false}, {"a.avi", false}, {"a.mkv", false}, {"a.swf", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CElement e;
        e.path = c.path;
        EXPECT_EQ(setEntryEffect(e, 1), c.takes);  // "Move left" is Move In entry 1
        EXPECT_EQ(setExitEffect(e, 5), c.takes);
        EXPECT_EQ(e.moveIn, c.takes ? 1 : 0);
        EXPECT_EQ(e.moveOut, c.takes ? 5 : 0);
    }
}

TEST(DropRules, SpeedIsOfferedForTheTwoPushEffectsOnly) {
    for (int moveIn = -1; moveIn < 45; ++moveIn) {
        CElement e;
        e.moveIn = moveIn;
        EXPECT_EQ(speedOffered(e), moveIn == 1 || moveIn == 2) << moveIn;
    }
    CElement e;
    e.speed = 7;
    EXPECT_EQ(speedChoice(e), 7);
    e.speed = 12;
    EXPECT_EQ(speedChoice(e), 0);
}

TEST(DropRules, DelayIsAWholeNumberOfSecondsUpToADay) {
    struct Case {
        const char* text;
        bool ok;
        int seconds;
    } cases[] = {{"0", true, 0},    {"86399", true, 86399}, {"86400", false, 0},
                 {"-1", false, 0},  {"", false, 0},         {"3.5", false, 0},
                 {"12a", false, 0}, {"007", true, 7},       {"999999", false, 0}};
    for (const Case& c : cases) {
        int seconds = -5;
        EXPECT_EQ(parseDelay(c.text, seconds), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(seconds, c.seconds) << c.text;
        }
    }
}

TEST(MediumKinds, ByUpperCasedExtension) {
    struct Case {
        const char* path;
        MediumKind kind;
    } cases[] = {
        {"C:\\pics\\a.Jpg", MediumKind::Picture},
        {"/a/b.png", MediumKind::Picture},
        {"/a/b.BMP", MediumKind::Picture},
        {"/a/b.avi", MediumKind::Video},
        {"/a/b.M4V", MediumKind::Video},
        {"/a/b.mov", MediumKind::Video},
        {"/a/b.webm", MediumKind::Video},
        {"/a/b.swf", MediumKind::Flash},
        {"/a/b.zrt", MediumKind::TextPage},
        {"/a/b.tim", MediumKind::ClockPage},
        {"/a.mp4/readme", MediumKind::None},
        {"/a/b.txt", MediumKind::None},
        {"", MediumKind::None},
    };
    for (const Case& c : cases) EXPECT_EQ(mediumKindOf(c.path), c.kind) << c.path;
}

TEST(ItemViewGeometry, CardsExitBoxesAndInsertionSlots) {
    EXPECT_EQ(itemCardRect(0), (Rect{20, 24, 100, 84}));
    EXPECT_EQ(itemCardRect(2), (Rect{340, 24, 420, 84}));
    EXPECT_EQ(exitBoxRect(2), (Rect{450, 40, 490, 70}));
    EXPECT_EQ(itemScrollWidth(3), 560);
    EXPECT_EQ(itemScrollWidth(300), 18000);
    EXPECT_EQ(itemInsertMarkX(1), 152);

    const int count = 3;  // background and two items
    struct Hit {
        int x, y;
        ItemHit::Kind kind;
        int index;
    } hits[] = {
        {50, 50, ItemHit::Card, 0},   {170, 30, ItemHit::Card, 1},  {280, 45, ItemHit::ExitBox, 1},
        {345, 80, ItemHit::Card, 2},  {520, 50, ItemHit::None, -1}, {170, 90, ItemHit::None, -1},
        {250, 50, ItemHit::None, -1}, {120, 50, ItemHit::None, -1},
    };
    for (const Hit& h : hits) {
        const ItemHit hit = itemAt(h.x, h.y, count);
        EXPECT_EQ(hit.kind, h.kind) << h.x << "," << h.y;
        EXPECT_EQ(hit.index, h.index) << h.x << "," << h.y;
    }
    EXPECT_EQ(itemInsertSlot(60, count), 1);
    EXPECT_EQ(itemInsertSlot(170, count), 1);
    EXPECT_EQ(itemInsertSlot(320, count), 2);
    EXPECT_EQ(itemInsertSlot(500, count), 3);  // past the last item: appended
    EXPECT_EQ(itemInsertSlot(5000, count), 3);
}

TEST(TimelineGeometry, RowsBarsGripsAndDropPlaces) {
    EXPECT_EQ(timelineRowRect(1, 2, 600, 180), (Rect{0, 100, 600, 180}));
    EXPECT_EQ(timelineRowAt(10, 2, 180), -1);
    EXPECT_EQ(timelineRowAt(99, 2, 180), 0);
    EXPECT_EQ(timelineRowAt(100, 2, 180), 1);
    EXPECT_EQ(timelineRowAt(181, 2, 180), -1);

    ProgramData program;
    program.resetToDefaultElements();                 // 0..3
    appendElement(program, item("/p/a.jpg", 20), 0);  // 3..23
    appendElement(program, item("/p/b.jpg", 10), 0);  // 23..33
    const auto& list = program.areaLists[0];
    EXPECT_EQ(timelineBarRect(list[1], Rect{0, 20, 600, 100}), (Rect{3, 20, 23, 100}));
    EXPECT_EQ(timelineBarAt(list, 0), 0);
    EXPECT_EQ(timelineBarAt(list, 22), 1);
    EXPECT_EQ(timelineBarAt(list, 23), 2);
    EXPECT_EQ(timelineBarAt(list, 33), -1);
    EXPECT_TRUE(onTimelineGrip(list, 1, 19));
    EXPECT_TRUE(onTimelineGrip(list, 1, 27));
    EXPECT_FALSE(onTimelineGrip(list, 1, 17));
    EXPECT_FALSE(onTimelineGrip(list, 2, 23));  // the next bar's start is no grip of its own
    EXPECT_TRUE(onTimelineGrip(list, 2, 37));
    EXPECT_FALSE(onTimelineGrip(list, 3, 33));

    EXPECT_EQ(timelineInsertIndex(list, 1), 1);  // on the background: after it
    EXPECT_EQ(timelineInsertIndex(list, 25), 2);
    EXPECT_EQ(timelineInsertIndex(list, 80), 3);
    EXPECT_EQ(timelineInsertMarkX(list, 2), 23);
    EXPECT_EQ(timelineInsertMarkX(list, 3), 33);
}

}  // namespace
}  // namespace brightline
