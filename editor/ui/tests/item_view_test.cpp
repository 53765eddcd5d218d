// The item view and the timeline driven as a person would: clicks, double clicks, the context
// menu and its dialogs, the Delete key, a bar's end dragged with the mouse.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

#include "editor/ui/item_dialogs.h"
#include "editor/ui/tests/authoring_fixture.h"

namespace brightline::ui {
namespace {

class ItemViewTest : public testing::AuthoringTest {
  protected:
    // Three pictures in area 0 (holds 4, 6, 5), saved.
    void threeItems() {
        auto& list = programData().areaLists[0];
        for (int hold : {4, 6, 5}) {
            CElement item = droppedItem(path("blue.png"), 1);
            item.hold = hold;
            appendElement(programData(), item, 0);
        }
        list[2].path = path("Red Shop.JPG");
        items()->refresh();
        ASSERT_TRUE(frame_->save());
        expected_ = programData();
    }
    QStringList menuEntries(int index) {
        std::unique_ptr<QMenu> menu(items()->contextMenuFor(index));
        QStringList texts;
        if (menu)
            for (QAction* a : menu->actions()) texts << a->text();
        return texts;
    }
    void trigger(int index, const QString& text) {
        std::unique_ptr<QMenu> menu(items()->contextMenuFor(index));
        ASSERT_TRUE(menu);
        for (QAction* a : menu->actions())
            if (a->text() == text) return a->trigger();
        ADD_FAILURE() << "no " << text.toStdString();
    }
};

TEST_F(ItemViewTest, SetSpeedIsOfferedOnlyForMoveLeftAndMoveRight) {
    threeItems();
    for (int moveIn = 0; moveIn < 5; ++moveIn) {
        programData().areaLists[0][1].moveIn = moveIn;
        const bool offered = moveIn == 1 || moveIn == 2;
        const QStringList expected = offered ? QStringList{"Set Speed", "Set Delay", "Del Program"}
                                             : QStringList{"Set Delay", "Del Program"};
        EXPECT_EQ(menuEntries(1), expected) << moveIn;
    }
    EXPECT_EQ(menuEntries(0), (QStringList{"Set Delay", "Del Program"}));
    EXPECT_TRUE(menuEntries(4).isEmpty());  // no such card
}

TEST_F(ItemViewTest, SetSpeedStoresTheChosenEntryAndSaves) {
    threeItems();
    programData().areaLists[0][1].moveIn = 2;
    programData().areaLists[0][1].speed = 3;
    trigger(1, "Set Speed");
    auto* dialog = items()->findChild<CSetSpeedDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Set speed");
    ASSERT_EQ(dialog->list()->count(), 8);
    EXPECT_EQ(dialog->list()->currentText(), "4");
    dialog->list()->setCurrentIndex(6);
    dialog->accept();
    expected_.areaLists[0][1].moveIn = 2;
    expected_.areaLists[0][1].speed = 6;
    expectSaved("speed 6");
}

TEST_F(ItemViewTest, SetDelayRefusesAnythingButWholeSecondsOfADayAndKeepsTheOtherStarts) {
    threeItems();
    trigger(2, "Set Delay");
    auto* dialog = items()->findChild<CSetDelayDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Set delay time at stop   ");
    EXPECT_EQ(dialog->field()->text(), "6");
    for (const char* bad : {"86400", "-3", "1.5", ""}) {
        dialog->field()->setText(bad);
        dialog->accept();
        EXPECT_EQ(lastMessage(), "Please enter an integer between 0 and 86399.") << bad;
        EXPECT_TRUE(dialog->isVisible()) << bad;
    }
    expectSaved("nothing stored yet");
    dialog->field()->setText("45");
    dialog->accept();
    expected_.areaLists[0][2].hold = 45;
    expectSaved("hold 45, later starts as they were");
    EXPECT_EQ(programData().areaLists[0][3].start, 13);
}

TEST_F(ItemViewTest, ClicksShowTheElementDeleteRemovesItAndDoubleClicksOpenIt) {
    threeItems();
    QWidget* view = items()->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, card(2));
    EXPECT_EQ(items()->selectedIndex(), 2);
    EXPECT_EQ(layout()->shownPath(0), path("Red Shop.JPG"));

    QString opened;
    QObject::connect(frame_.get(), &CProgramFrame::openMediumRequested,
                     [&](const QString& p) { opened = p; });
    QTest::mouseDClick(view, Qt::LeftButton, {}, card(1));
    EXPECT_EQ(opened.toStdString(), path("blue.png"));

    // Delete on item 2: item 3 moves up, the area shows it.
    QTest::mouseClick(view, Qt::LeftButton, {}, card(2));
    QTest::keyClick(items(), Qt::Key_Delete);
    deleteElement(expected_, 0, 2);
    expectSaved("item 2 deleted");
    EXPECT_EQ(layout()->shownPath(0), path("blue.png"));
    EXPECT_EQ(programData().areaLists[0][2].start, 7);

    // "Del Program" on the last one: the area shows the one before it.
    trigger(2, "Del Program");
    deleteElement(expected_, 0, 2);
    expectSaved("last item deleted");
    EXPECT_EQ(layout()->shownPath(0), path("blue.png"));
}

TEST_F(ItemViewTest, TimelineBarsResizeToTenSecondsAtLeastAndTheDeleteKeyWorksThere) {
    threeItems();
    frame_->programList()->showTab(1);
    QWidget* view = timeline()->viewport();
    const QRect bar = timeline()->barRect(0, 2);  // 7..13
    ASSERT_EQ(bar.width(), 6);
    // Select it (a click on its end before it was pressed selects rather than resizes), then
    // drag its end from 13 s to 9 s: the bar keeps 10 seconds.
    const QPoint end(bar.right() + 1, bar.center().y());
    QTest::mouseClick(view, Qt::LeftButton, {}, end - QPoint(1, 0));
    EXPECT_EQ(timeline()->currentElement(), 2);
    QTest::mouseClick(view, Qt::LeftButton, {}, end);
    expectSaved("a click is no resize");
    QTest::mouseMove(view, end);
    QTest::mousePress(view, Qt::LeftButton, {}, end);
    QTest::mouseMove(view, end - QPoint(4, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, end - QPoint(4, 0));
    resizeElement(expected_, 0, 2, 9);
    EXPECT_EQ(expected_.areaLists[0][2].hold, 10);
    expectSaved("resized to 10 s");
    EXPECT_EQ(programData().areaLists[0][3].start, 17);

    // Longer: the later bar follows.
    const QRect longer = timeline()->barRect(0, 2);
    const QPoint from(longer.right() + 1, longer.center().y());
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, from + QPoint(30, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + QPoint(30, 0));
    resizeElement(expected_, 0, 2, 47);
    expectSaved("resized to 40 s");

    // A click on a bar makes it current; Delete deletes it.
    QTest::mouseClick(view, Qt::LeftButton, {}, timeline()->barRect(0, 1).center());
    EXPECT_EQ(timeline()->currentElement(), 1);
    EXPECT_EQ(layout()->shownPath(0), path("blue.png"));
    QTest::keyClick(timeline(), Qt::Key_Delete);
    deleteElement(expected_, 0, 1);
    expectSaved("deleted on the timeline");
    // A click on empty space selects one past the last element: Delete does nothing.
    QTest::mouseClick(view, Qt::LeftButton, {},
                      QPoint(400, timeline()->barRect(0, 0).center().y()));
    EXPECT_EQ(timeline()->currentElement(), 3);
    QTest::keyClick(timeline(), Qt::Key_Delete);
    expectSaved("nothing deleted");
}

}  // namespace
}  // namespace brightline::ui
