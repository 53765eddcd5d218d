// Entries of every kind dragged from the property view onto the item view and the timeline, the
// saved program file checked byte for byte against the edits of the core after each drop.
#include "editor/ui/tests/authoring_fixture.h"

namespace brightline::ui {
namespace {

class DropTest : public testing::AuthoringTest {};

TEST_F(DropTest, EachKindOfEntryOnEachPlaceOfTheItemView) {
    QWidget* view = items()->viewport();
    auto background = [this]() -> CElement& { return expected_.areaLists[0][0]; };

    // A picture on the background card: the path keeps its letter case.
    ASSERT_TRUE(drop(view, entry(kTabPicture, 0).get(), card(0)));
    takeAsBackground(background(), path("Red Shop.JPG"), 0);
    expectSaved("picture on the background");
    EXPECT_EQ(programData().areaLists[0][0].path, path("Red Shop.JPG"));

    // A clip into the first item slot (the list held the background only: appended).
    ASSERT_TRUE(drop(view, entry(kTabVideo, 0).get(), card(1)));
    insertElement(expected_, droppedItem(path("clip.AVI"), 0), 0, 1);
    expectSaved("clip appended");

    // A text page before the clip, a clock page after it.
    ASSERT_TRUE(drop(view, entry(kTabTextPage, 0).get(), card(1)));
    insertElement(expected_, droppedItem(path("prices.ZRT"), 0), 0, 1);
    expectSaved("text page inserted");
    ASSERT_TRUE(drop(view, entry(kTabClockPage, 0).get(), card(3) + QPoint(120, 0)));
    insertElement(expected_, droppedItem(path("town.TIM"), 0), 0, 3);
    expectSaved("clock page appended");
    EXPECT_EQ(programData().areaLists[0].size(), 4u);

    // "Move left" on the text page's card; on the clock page's card it changes nothing.
    ASSERT_TRUE(drop(view, entry(kTabMoveIn, 1).get(), card(1)));
    expected_.areaLists[0][1].moveIn = 1;
    expectSaved("entry effect");
    drop(view, entry(kTabMoveIn, 1).get(), card(3));
    EXPECT_EQ(programData().areaLists[0][3].moveIn, 0);
    expectSaved("no entry effect for a clock page");

    // An exit effect on the text page's exit box; a picture there does nothing.
    ASSERT_TRUE(drop(view, entry(kTabMoveOut, 5).get(), exitBox(1)));
    expected_.areaLists[0][1].moveOut = 5;
    expectSaved("exit effect");
    EXPECT_FALSE(drop(view, entry(kTabPicture, 0).get(), exitBox(1)));
    expectSaved("a medium on an exit box");

    // The second shown picture is the library's third path (the second is missing): the
    // element takes that path and the entry's position.
    ASSERT_TRUE(drop(view, entry(kTabPicture, 1).get(), card(2)));
    insertElement(expected_, droppedItem(path("blue.png"), 1), 0, 2);
    expectSaved("a picture after a missing one");
    EXPECT_EQ(programData().areaLists[0][2].thumbIndex, 1);

    // A video on the background holds 0 seconds; area formats are not taken here.
    ASSERT_TRUE(drop(view, entry(kTabVideo, 1).get(), card(0)));
    takeAsBackground(background(), path("movie.mp4"), 1);
    EXPECT_EQ(background().hold, 0);
    expectSaved("video on the background");
    EXPECT_FALSE(drop(view, entry(kTabAreaFormat, 2).get(), card(1)));
}

TEST_F(DropTest, MediaDroppedIntoTimelineRows) {
    layout()->applyFormat(1);  // two areas
    expected_ = programData();
    frame_->programList()->showTab(1);
    QWidget* view = timeline()->viewport();
    ASSERT_EQ(timeline()->areaCount(), 2);
    const QRect row1 = timeline()->barRect(1, 0);

    // Into row 1 past its background: appended there, and row 1 becomes the current area.
    ASSERT_TRUE(drop(view, entry(kTabPicture, 0).get(), QPoint(200, row1.center().y())));
    insertElement(expected_, droppedItem(path("Red Shop.JPG"), 0), 1, 1);
    expectSaved("picture in row 1");
    EXPECT_EQ(timeline()->currentArea(), 1);

    // On a row's background bar the medium goes after the background, never before it.
    const QRect background = timeline()->barRect(0, 0);
    ASSERT_TRUE(drop(view, entry(kTabClockPage, 0).get(), background.center()));
    insertElement(expected_, droppedItem(path("town.TIM"), 0), 0, 1);
    expectSaved("clock page on row 0's background");
    EXPECT_EQ(programData().areaLists[0][0].path, "");

    // Before the bar under the pointer.
    const QRect clock = timeline()->barRect(0, 1);
    ASSERT_TRUE(drop(view, entry(kTabTextPage, 0).get(), clock.center()));
    insertElement(expected_, droppedItem(path("prices.ZRT"), 0), 0, 1);
    expectSaved("text page before the clock page");
    EXPECT_FALSE(drop(view, entry(kTabMoveIn, 3).get(), clock.center()));
}

TEST_F(DropTest, AreaFormatsGoOnlyToTheLayoutView) {
    QWidget* face = layout();
    ASSERT_TRUE(drop(face, entry(kTabAreaFormat, 4).get(), layout()->faceRect().center()));
    EXPECT_EQ(programData().areaFormat, 4);
    EXPECT_EQ(timeline()->areaCount(), 3);
    // The format is not saved until the next edit that saves.
    expectSaved("an area format is not saved");
    EXPECT_FALSE(drop(face, entry(kTabPicture, 0).get(), layout()->faceRect().center()));
}

}  // namespace
}  // namespace brightline::ui
