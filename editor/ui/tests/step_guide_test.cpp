// The program frame's step guide "Program \tGuide" and its five steps.
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>

#include "common/profile.h"
#include "editor/ui/step_guide.h"
#include "editor/ui/tests/authoring_fixture.h"

namespace brightline::ui {
namespace {

class StepGuideTest : public testing::FrameTest {};

TEST_F(StepGuideTest, ShownForANewProgramUntilSwitchedOff) {
    appProfile().writeInt("SET", "SHOW_STEP_PROGRAM", 0);
    QFile old(qs(path("NEWTXT.ZRT")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    {
        std::unique_ptr<CProgramFrame> owned = openFrame(path("guided.ZPF"), true, true);
        CProgramFrame& frame = *owned;
        CStepGuide* guide = frame.stepGuide();
        ASSERT_TRUE(guide);
        EXPECT_EQ(guide->windowTitle(), "Program \tGuide");
        auto buttons = guide->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 5);
        QString editorPath;
        QObject::connect(&frame, &CProgramFrame::openMediumRequested,
                         [&](const QString& p) { editorPath = p; });
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return !editorPath.isEmpty(); }));
        EXPECT_EQ(editorPath.toStdString(), path("NEWTXT.ZRT"));
        EXPECT_FALSE(old.exists());
        // Step 5 before any preview: the send rule's message.
        QTest::mouseClick(buttons[4], Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return !messages_.messages().empty(); }));
        EXPECT_EQ(lastMessage(),
                  "The program script doesn't send to LED sign before it has finished making.");
        guide->dontShowBox()->setChecked(true);
        frame.close();
    }
    EXPECT_EQ(appProfile().getInt("SET", "SHOW_STEP_PROGRAM", 0), 1);
    // An opened (not new) program never shows it.
    appProfile().writeInt("SET", "SHOW_STEP_PROGRAM", 0);
    EXPECT_EQ(openFrame(path("guided.ZPF"))->stepGuide(), nullptr);
}

class GuideStepsTest : public testing::AuthoringTest {};

TEST_F(GuideStepsTest, StepTwoAddsTextPagesAndStepThreeInsertsTheFirstOne) {
    frame_->guideStep(2);
    EXPECT_EQ(property()->currentTab(), kTabTextPage);
    auto* dialog = property()->findChild<QFileDialog*>("addResourceDialog");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->nameFilters().first().startsWith("ZRT File (*.ZRT"));
    dialog->close();

    // Step 3 twice: the first text page goes to area 0 at index 1, and what was there starts
    // later by its hold.
    frame_->guideStep(3);
    frame_->guideStep(3);
    for (int i = 0; i < 2; ++i) insertElement(expected_, droppedItem(path("prices.ZRT"), 0), 0, 1);
    expectSaved("two text pages inserted");
    EXPECT_EQ(programData().areaLists[0][2].start, 6);
    EXPECT_EQ(items()->count(), 3);
    EXPECT_EQ(layout()->shownPath(0), path("prices.ZRT"));

    // Without a text page in the library, step 3 says so and changes nothing.
    ASSERT_TRUE(saveLibrary(path("RC_ZTXT.ZRC"), {}));
    frame_->guideStep(3);
    expectSaved("nothing inserted");
    EXPECT_NE(lastMessage().find("no text page"), std::string::npos) << lastMessage();
}

}  // namespace
}  // namespace brightline::ui
