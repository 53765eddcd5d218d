// Sending from the main window: Play then Send in the program frame, and guide step 3 (Make
// and send without a preview), both reaching the virtual sign.
#include <QProcess>
#include <QPushButton>
#include <QToolButton>

#include "comm/ui/operation_windows.h"
#include "common/file_io.h"
#include "editor/ui/preview_window.h"
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

// A weekday-morning program (red) and a weekend program (blue) for the current 64 x 32 sign.
class ScheduleSendTest : public MainFrameSendTest {
  protected:
    ScheduleSendTest() {
        appProfile().writeInt("SET", "LED_W", 64);
        appProfile().writeInt("SET", "LED_H", 32);
        redProgram();
        QImage blue(64, 32, QImage::Format_RGB32);
        blue.fill(QColor(0, 0, 255));
        EXPECT_TRUE(blue.save(qs(path("blue.png"))));
        ProgramData program;
        program.ledWidth = 64;
        program.ledHeight = 32;
        program.resetToDefaultElements();
        program.areaLists[0][0].path = path("blue.png");
        EXPECT_TRUE(saveProgram(path("blue.ZPF"), program));
        CAT_Data weekdays, weekend;
        weekdays.weekdays = {0, 1, 1, 1, 1, 1, 0};
        weekdays.startHour = 6;
        weekdays.endHour = 12;
        weekdays.programPath = "red.ZPF";  // beside the schedule
        weekend.weekdays = {1, 0, 0, 0, 0, 0, 1};
        weekend.endHour = 23;
        weekend.endMinute = 59;
        weekend.programPath = path("blue.ZPF");
        for (CAT_Data* e : {&weekdays, &weekend}) e->openStart = e->openEnd = 1;
        EXPECT_TRUE(saveSchedule(path("week.AT"), {weekdays, weekend}));
    }
    // The colour of the preview's last frame at (x, y), as "red", "blue" or "other".
    static std::string colourAt(const QImage& frame, int x, int y) {
        const QColor c = frame.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 40 && c.blue() < 40) return "red";
        if (c.blue() > 200 && c.red() < 40 && c.green() < 40) return "blue";
        return "other";
    }
};

TEST_F(ScheduleSendTest, SendFileOfAScheduleReachesTheSignAsTheCommandLineCompilesIt) {
    signsim::SignSimulator& sign = *sign_;
    {
        CMainFrame main;
        main.show();
        OperationEnvironment env = main.operations().environment();
        env.uploadPauseMs = 0;
        main.operations().setEnvironment(env);
        main.openFile(path("week.AT"));
        ASSERT_TRUE(main.scheduleWindow());
        bool finished = false;
        QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
        ASSERT_TRUE(main.makeAndSendSchedule());
        ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
        EXPECT_TRUE(main.operations().confirmed());
        EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    }
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    std::vector<uint8_t> sent;
    ASSERT_TRUE(readWholeFile(path("sign/" + folder + "/run.at"), sent));
    // The command line's compile of the same schedule, with the same profile and zone.
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("BRIGHTLINE_PROFILE", qs(path("profile.ini")));
    cli.setProcessEnvironment(env);
    cli.start(BRIGHTLINE_CLI, {"compile", qs(path("week.AT")), "--workspace", qs(path("cli"))});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    std::vector<uint8_t> compiled;
    ASSERT_TRUE(readWholeFile(path("cli/run.at"), compiled));
    EXPECT_EQ(std::string(sent.begin(), sent.end()), std::string(compiled.begin(), compiled.end()));
    const std::string text(sent.begin(), sent.end());
    // The entries by start time: the weekend's program is program 0.
    EXPECT_NE(text.find("LED_W 64 \r\nLED_H 32 \r\nWEEK --/--/--  --/--/--  41 00:00 23:59\r\n"
                        "RUN wzp 1 70000.shw 0 0 64 32 1 \r\nWEEK --/--/--  --/--/--  3e 06:00 "
                        "12:00\r\nRUN wzp 1 70100.shw 0 0 64 32 1 \r\nEND"),
              std::string::npos)
        << text;
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/70100001.PNG"))));
}

TEST_F(ScheduleSendTest, PreviewAtPlaysTheCompiledScheduleFromTheMoment) {
    CMainFrame main;
    main.show();
    main.openFile(path("week.AT"));
    ASSERT_TRUE(main.scheduleWindow());
    struct Case {
        CivilTime at;
        const char* colour;
    } cases[] = {{civilFromSeconds(secondsFromCivil(2026, 3, 7, 9, 0, 0)), "blue"},
                 {civilFromSeconds(secondsFromCivil(2026, 3, 10, 9, 0, 0)), "red"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        ASSERT_TRUE(main.previewSchedule(c.at));
        ASSERT_TRUE(main.schedulePreview());
        EXPECT_TRUE(main.schedulePreview()->windowTitle().startsWith("Preview at 2026-03-"));
        ASSERT_TRUE(waitFor(
            [&] { return main.session().preview() && main.session().preview()->framesShown() > 0; },
            30000))
            << lastMessage();
        EXPECT_EQ(colourAt(main.session().preview()->lastFrame(), 10, 10), c.colour);
        // The program's Send rule is the program's Play's alone.
        EXPECT_FALSE(main.session().previewed());
        main.schedulePreview()->close();
        EXPECT_EQ(main.session().state(), PlaySession::State::Idle);
        EXPECT_TRUE(waitFor([&] { return !main.schedulePreview(); }));
    }
}

}  // namespace
}  // namespace brightline::ui
