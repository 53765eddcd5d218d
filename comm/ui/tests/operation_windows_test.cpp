// The progress and file list windows of the sign operations.
#include <QFile>
#include <QKeyEvent>
#include <thread>

#include "comm/ui/file_list_window.h"
#include "comm/ui/operation_windows.h"
#include "comm/ui/progress_window.h"
#include "common/ui/testing/desktop_test.h"

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
    QFile file(qs(path("filelist.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DATA1\n70000001.PNG\r\nrun.at\n");
    file.close();
    FileListWindow window;
    ASSERT_TRUE(window.showFile(file.fileName()));
    EXPECT_EQ(window.text(), "DATA1\n70000001.PNG\nrun.at\n");
    EXPECT_FALSE(window.showFile(qs(path("missing.txt"))));
    // Names come in the sign's code page (GBK), whatever this machine's own encoding.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DATA2\\\xBC\xDB\xB8\xF1.txt 12\n");
    file.close();
    ASSERT_TRUE(window.showFile(file.fileName()));
    EXPECT_EQ(window.text(), QString::fromUtf8("DATA2\\\u4EF7\u683C.txt 12\n"));
}

}  // namespace
}  // namespace brightline::ui
