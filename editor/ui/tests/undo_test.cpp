// Undo and redo of every kind of edit: undo gives back the saved program file byte for byte,
// redo the file the edit had made.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QUndoStack>

#include "editor/ui/item_dialogs.h"
#include "editor/ui/tests/authoring_fixture.h"

namespace brightline::ui {
namespace {

class UndoTest : public testing::AuthoringTest {
  protected:
    UndoTest() {
        // Two items to edit, dropped in as a person would.
        for (int k : {1, 2}) drop(items()->viewport(), entry(kTabPicture, 1).get(), card(k));
        EXPECT_EQ(items()->count(), 3);
    }
    QUndoStack* stack() const { return frame_->undoStack(); }
    void chooseFromMenu(int index, const QString& text) {
        std::unique_ptr<QMenu> menu(items()->contextMenuFor(index));
        ASSERT_TRUE(menu);
        for (QAction* a : menu->actions())
            if (a->text() == text) a->trigger();
    }
    void drag(QWidget* on, QPoint from, QPoint to) {
        QTest::mousePress(on, Qt::LeftButton, {}, from);
        QTest::mouseMove(on, (from + to) / 2);
        QTest::mouseMove(on, to);
        QTest::mouseRelease(on, Qt::LeftButton, {}, to);
    }
};

TEST_F(UndoTest, EachEditUndoesToTheSavedFileAndRedoesToItsOwn) {
    struct Edit {
        const char* what;
        std::function<void()> make;
    };
    const std::vector<Edit> edits = {
        {"drop a picture",
         [&] { drop(items()->viewport(), entry(kTabPicture, 0).get(), card(1)); }},
        {"drop an entry effect",
         [&] { drop(items()->viewport(), entry(kTabMoveIn, 4).get(), card(2)); }},
        {"delete an item",
         [&] {
             QTest::mouseClick(items()->viewport(), Qt::LeftButton, {}, card(1));
             QTest::keyClick(items(), Qt::Key_Delete);
         }},
        {"set the speed",
         [&] {
             programData().areaLists[0][1].moveIn = 1;
             chooseFromMenu(1, "Set Speed");
             auto* dialog = items()->findChild<CSetSpeedDialog*>();
             dialog->list()->setCurrentIndex(5);
             dialog->accept();
         }},
        {"set the delay",
         [&] {
             chooseFromMenu(2, "Set Delay");
             auto* dialog = items()->findChild<CSetDelayDialog*>();
             dialog->field()->setText("77");
             dialog->accept();
         }},
        {"resize a bar",
         [&] {
             frame_->programList()->showTab(1);
             QWidget* view = timeline()->viewport();
             const QRect bar = timeline()->barRect(0, 1);
             QTest::mouseClick(view, Qt::LeftButton, {}, bar.center());
             const QPoint end(bar.right() + 1, bar.center().y());
             drag(view, end, end + QPoint(25, 0));
             frame_->programList()->showTab(0);
         }},
        {"drop an area format",
         [&] { drop(layout(), entry(kTabAreaFormat, 9).get(), layout()->faceRect().center()); }},
        {"drag a dividing line",
         [&] {
             layout()->applyFormat(1);
             const QPoint line = layout()->canvasOrigin() + QPoint(64, 20);
             drag(layout(), line, line + QPoint(-20, 0));
         }},
        {"type a sign width",
         [&] {
             layout()->widthEdit()->selectAll();
             QTest::keyClicks(layout()->widthEdit(), "200");
         }},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        ASSERT_TRUE(frame_->save());
        stack()->clear();
        const std::vector<uint8_t> before = saved();
        edit.make();
        const std::vector<uint8_t> after = encodeProgram(programData());
        ASSERT_NE(after, before) << "the edit changed nothing";
        ASSERT_GE(stack()->count(), 1);
        while (stack()->canUndo()) stack()->undo();
        EXPECT_EQ(saved(), before);
        EXPECT_EQ(encodeProgram(programData()), before);
        while (stack()->canRedo()) stack()->redo();
        EXPECT_EQ(saved(), after);
    }
}

TEST_F(UndoTest, ClosingAsksBeforeDroppingAnAreaFormatTheFileDoesNotHoldYet) {
    // Each case drops format 9 on the face (an edit that leaves the file alone), then does
    // `then`, then closes the frame answering `answer` if asked.
    struct Case {
        const char* what;
        std::function<void()> then;
        MessageAnswer answer;
        bool asked;
        bool formatInFile;  // else the file keeps the format it had
    };
    const std::vector<Case> cases = {
        {"closed at once, not saved", [] {}, MessageAnswer::No, true, false},
        {"closed at once, saved", [] {}, MessageAnswer::Yes, true, true},
        {"saved with Save", [&] { ASSERT_TRUE(frame_->save()); }, MessageAnswer::No, false, true},
        {"written by the next saved edit",
         [&] { ASSERT_TRUE(drop(items()->viewport(), entry(kTabPicture, 0).get(), card(0))); },
         MessageAnswer::No, false, true},
        {"undone", [&] { stack()->undo(); }, MessageAnswer::No, false, false},
    };
    const std::vector<uint8_t> start = saved();
    const int startFormat = programData().areaFormat;
    ASSERT_NE(startFormat, 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frame_->close();
        ASSERT_TRUE(writeFileAtomically(path("show.ZPF"), start));
        frame_ = openFrame(path("show.ZPF"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        ASSERT_TRUE(drop(layout(), entry(kTabAreaFormat, 9).get(), layout()->faceRect().center()));
        ASSERT_EQ(programData().areaFormat, 9);
        c.then();
        messages_.clear();
        messages_.queueAnswer(c.answer);
        frame_->close();
        if (c.asked) {
            ASSERT_EQ(messages_.messages().size(), 1u);
            EXPECT_EQ(messages_.messages()[0].text, "Save changes to " + path("show.ZPF"));
            EXPECT_EQ(messages_.messages()[0].buttons, MessageButtons::YesNo);
        } else {
            EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
        }
        ProgramData stored;
        ASSERT_EQ(loadProgram(path("show.ZPF"), stored), ProgramLoadResult::Loaded);
        EXPECT_EQ(stored.areaFormat, c.formatInFile ? 9 : startFormat);
    }
}

TEST_F(UndoTest, UndoneViewsShowTheProgramAgainAndTheSignSizeGoesBackToTheSignList) {
    const int steps = stack()->count();
    layout()->widthEdit()->selectAll();
    QTest::keyClicks(layout()->widthEdit(), "96");
    EXPECT_EQ(stack()->count(), steps + 1) << "typing one size is one step";
    EXPECT_EQ(layout()->faceRect().width(), 96);
    stack()->undo();
    EXPECT_EQ(layout()->faceRect().width(), 128);
    EXPECT_EQ(layout()->widthEdit()->text(), "128");
    SignList signs;
    ASSERT_TRUE(loadSignList(path("LED_SET.ZRC"), signs));
    EXPECT_EQ(signs.signs[0].width, 128);

    drop(items()->viewport(), entry(kTabPicture, 0).get(), card(3));
    EXPECT_EQ(items()->count(), 4);
    stack()->undo();
    EXPECT_EQ(items()->count(), 3);
    stack()->redo();
    EXPECT_EQ(items()->count(), 4);
}

}  // namespace
}  // namespace brightline::ui
