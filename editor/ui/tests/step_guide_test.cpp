// The program frame's step guide "Program \tGuide" and its five steps.
#include <QCheckBox>
#include <QFile>
#include <QPushButton>

#include "common/profile.h"
#include "editor/ui/step_guide.h"
#include "editor/ui/tests/frame_fixture.h"

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

}  // namespace
}  // namespace brightline::ui
