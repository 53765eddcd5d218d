// Sending from the main window: Play then Send in the program frame, and guide step 3 (Make
// and send without a preview), both reaching the virtual sign.
#include <QPushButton>
#include <QToolButton>

#include "comm/ui/operation_windows.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/tests/frame_fixture.h"
#include "shell/ui/getting_started_guide.h"
#include "shell/ui/main_frame.h"
#include "signsim/sign_simulator.h"

namespace brightline::ui {
namespace {

class MainFrameSendTest : public testing::ProgramFilesTest {
  protected:
    MainFrameSendTest() { writeSignList(64, 32); }
};

TEST_F(MainFrameSendTest, SendAfterPlayReachesTheVirtualSign) {
    signsim::SimulatorOptions options;
    options.storage = path("sign");
    options.serial = false;
    signsim::SignSimulator sign(options);
    std::string error;
    ASSERT_TRUE(sign.start(&error)) << error;
    const std::string endpoint =
        "127.0.0.1:" + std::to_string(sign.commandPort()) + ":" + std::to_string(sign.ftpPort());
    ::setenv("BRIGHTLINE_VIRTUAL_SIGN", endpoint.c_str(), 1);
    const std::string program = redProgram();
    {
        CMainFrame main;
        main.resize(1000, 760);
        main.show();
        OperationEnvironment env = main.operations().environment();
        env.uploadPauseMs = 0;
        main.operations().setEnvironment(env);
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
    ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
    const auto log = sign.sign().log();
    EXPECT_NE(std::find(log.begin(), log.end(), "QVX0001DEL"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "QVX0001RESUME"), log.end());
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/run.at"))));
    sign.stop();
}

TEST_F(MainFrameSendTest, GuideStep3MakesAndSendsTheOpenProgramWithoutAPreview) {
    signsim::SimulatorOptions options;
    options.storage = path("sign");
    options.serial = false;
    signsim::SignSimulator sign(options);
    std::string error;
    ASSERT_TRUE(sign.start(&error)) << error;
    ::setenv(
        "BRIGHTLINE_VIRTUAL_SIGN",
        ("127.0.0.1:" + std::to_string(sign.commandPort()) + ":" + std::to_string(sign.ftpPort()))
            .c_str(),
        1);
    appProfile().writeInt("SET", "SHOW_STEP", 0);
    const std::string program = redProgram();
    {
        CMainFrame main;
        main.show();
        OperationEnvironment env = main.operations().environment();
        env.uploadPauseMs = 0;
        main.operations().setEnvironment(env);
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
    ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    // Program 0 of the show: the same names as a Play makes.
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    sign.stop();
}

}  // namespace
}  // namespace brightline::ui
