// Sending from the main window: Play then Send in the program frame, and guide step 3 (Make
// and send without a preview), both reaching the virtual sign.
#include <QPushButton>
#include <QToolButton>

#include "comm/ui/operation_windows.h"
#include "common/file_io.h"
#include "editor/ui/program_layout_view.h"
#include "shell/ui/getting_started_guide.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/tests/virtual_sign_fixture.h"

namespace brightline::ui {
namespace {

class MainFrameSendTest : public testing::VirtualSignTest {
  protected:
    MainFrameSendTest() { writeSignList(64, 32); }
};

TEST_F(MainFrameSendTest, SendAfterPlayReachesTheVirtualSign) {
    signsim::SignSimulator& sign = *sign_;
    const std::string program = redProgram();
    {
        CMainFrame main;
        main.resize(1000, 760);
        main.show();
        uploadWithoutPause(main);
        main.openFile(program);
        ASSERT_TRUE(main.programFrame());
        CProgram_Layout_view* view = main.programFrame()->layoutView();
        QTest::mouseClick(view->playButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return main.session().previewed(); }, 20000)) << lastMessage();
        bool finished = false;
        QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
        QTest::mouseClick(view->sendButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
        EXPECT_TRUE(main.operations().confirmed());
        EXPECT_EQ(main.operationWindows().lastPosition(), 1);
        // The window showed each remote name in the sign's folder.
        EXPECT_TRUE(main.operationWindows().lastFileName().startsWith(
            qs(sign.sign().currentFolder()) + "\\"))
            << main.operationWindows().lastFileName().toStdString();
        EXPECT_TRUE(waitFor([&] { return main.operationWindows().progress() == nullptr; }));
        EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    }
    const auto log = sign.sign().log();
    EXPECT_NE(std::find(log.begin(), log.end(), "QVX0001DEL"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "QVX0001RESUME"), log.end());
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/run.at"))));
}

TEST_F(MainFrameSendTest, GuideStep3MakesAndSendsTheOpenProgramWithoutAPreview) {
    signsim::SignSimulator& sign = *sign_;
    appProfile().writeInt("SET", "SHOW_STEP", 0);
    const std::string program = redProgram();
    {
        CMainFrame main;
        main.show();
        uploadWithoutPause(main);
        ASSERT_TRUE(main.guide());
        main.openFile(program);
        bool finished = false;
        QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
        auto buttons = main.guide()->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 3);
        QTest::mouseClick(buttons[2], Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
        EXPECT_TRUE(main.operations().confirmed());
        EXPECT_EQ(main.session().preview(), nullptr);
    }
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    // Program 0 of the show: the same names as a Play makes.
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(MainFrameSendTest, NothingRewritesTheWorkspaceWhileItIsBeingSent) {
    const std::string program = redProgram();
    CMainFrame main;
    main.show();
    OperationEnvironment env = main.operations().environment();
    env.uploadPauseMs = 600000;  // the upload waits after preparing the sign until stopped
    main.operations().setEnvironment(env);
    main.openFile(program);
    ASSERT_TRUE(main.makeAndSendProgram());
    ASSERT_TRUE(waitFor([&] { return main.operations().sendingWorkspace(); }, 20000))
        << lastMessage();
    const std::vector<uint8_t> runAt = [&] {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(readWholeFile(workspaceFolder() + "/run.at", bytes));
        return bytes;
    }();

    QTest::mouseClick(main.programFrame()->layoutView()->playButton(), Qt::LeftButton);
    EXPECT_FALSE(main.makeAndSendProgram());
    EXPECT_FALSE(main.updateFromFile(false, path("any.WOS")));
    ASSERT_EQ(messages_.messages().size(), 3u);
    for (const OperatorMessage& m : messages_.messages()) EXPECT_EQ(m.text, kMsgWorkspaceSending);
    EXPECT_EQ(main.session().state(), PlaySession::State::Idle);
    std::vector<uint8_t> after;
    ASSERT_TRUE(readWholeFile(workspaceFolder() + "/run.at", after));
    EXPECT_EQ(after, runAt);

    main.operations().requestStop();
    EXPECT_TRUE(main.operations().waitUntilFinished(20000));
    EXPECT_FALSE(main.operations().sendingWorkspace());
}

}  // namespace
}  // namespace brightline::ui
