// The progress and file list windows, and the program frame's step guide.
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <thread>

#include "comm/ui/file_list_window.h"
#include "comm/ui/operation_windows.h"
#include "comm/ui/progress_window.h"
#include "editor/ui/program_frame.h"
#include "editor/ui/step_guide.h"
#include "shell/ui/tests/ui_test_support.h"

namespace brightline::ui {
namespace {

class OperationWindowsTest : public testing::DesktopTest {};

TEST_F(OperationWindowsTest, ProgressWindowCannotBeDismissedByKeyboard) {
    ProgressWindow progress(3);
    progress.show();
    QTest::keyClick(&progress, Qt::Key_Escape);
    QTest::keyClick(&progress, Qt::Key_Return);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.range(), 3);
    progress.setPosition(2);
    progress.setFileName("DATA1\\70000001.PNG");
    EXPECT_EQ(progress.position(), 2);
    EXPECT_EQ(progress.fileName(), "DATA1\\70000001.PNG");
}

TEST_F(OperationWindowsTest, WorkerReportsReachTheWindowsOnTheUserInterfaceThread) {
    QWidget owner;
    OperationWindows windows(&owner);
    std::thread worker([&] {
        windows.progressOpened(2);
        windows.progressFileName("DATA2\\run.at");
        windows.progressPosition(2);
        windows.showFileList("a.jpg\r\nb.png\r\n");
    });
    worker.join();
    EXPECT_EQ(windows.progress(), nullptr);  // nothing happens off the user interface thread
    ASSERT_TRUE(waitFor([&] { return windows.fileList() != nullptr; }));
    ASSERT_TRUE(windows.progress());
    EXPECT_EQ(windows.progress()->position(), 2);
    EXPECT_EQ(windows.progress()->fileName(), "DATA2\\run.at");
    EXPECT_EQ(windows.fileList()->windowTitle(), "File list");
    EXPECT_EQ(windows.fileList()->text(), "a.jpg\nb.png\n");
    windows.progressClosed();
    EXPECT_TRUE(waitFor([&] { return windows.progress() == nullptr; }));
}

TEST_F(OperationWindowsTest, FileListShowsAFileLineByLine) {
    QFile file(QString::fromStdString(path("filelist.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DATA1\n70000001.PNG\r\nrun.at\n");
    file.close();
    FileListWindow window;
    ASSERT_TRUE(window.showFile(file.fileName()));
    EXPECT_EQ(window.text(), "DATA1\n70000001.PNG\nrun.at\n");
    EXPECT_FALSE(window.showFile(QString::fromStdString(path("missing.txt"))));
}

TEST_F(OperationWindowsTest, StepGuideOfANewProgram) {
    appProfile().writeInt("SET", "SHOW_STEP_PROGRAM", 0);
    QFile old(QString::fromStdString(path("NEWTXT.ZRT")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    {
        CProgramFrame frame(QString::fromStdString(path("guided.ZPF")), true, true, 0, messages_);
        frame.show();
        CStepGuide* guide = frame.stepGuide();
        ASSERT_TRUE(guide);
        EXPECT_EQ(guide->windowTitle(), "Program \tGuide");
        auto buttons = guide->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 5);
        QString editorPath;
        QObject::connect(&frame, &CProgramFrame::textPageEditorRequested,
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
    CProgramFrame opened(QString::fromStdString(path("guided.ZPF")), false, false, 0, messages_);
    EXPECT_EQ(opened.stepGuide(), nullptr);
}

}  // namespace
}  // namespace brightline::ui
