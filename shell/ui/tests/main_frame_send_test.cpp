// Sending from the main window: Play then Send in the program frame, and guide step 3 (Make
// and send without a preview), both reaching the virtual sign.
#include <QAction>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "comm/sign_messages.h"
#include "comm/ui/multi_send_window.h"
#include "comm/ui/operation_windows.h"
#include "comm/ui/send_to_signs_dialog.h"
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
        // The sign's file list was read back: everything sent is there.
        EXPECT_EQ(main.operationWindows().lastVerification(),
                  "Verified: all 3 files are on the sign");
        EXPECT_EQ(main.statusBar()->currentMessage(), "Verified: all 3 files are on the sign");
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

TEST_F(MainFrameSendTest, GuideStep3WithoutAProgramSaysWhatToDoAndSendsNothing) {
    appProfile().writeInt("SET", "SHOW_STEP", 0);
    CMainFrame main;
    main.show();
    uploadWithoutPause(main);
    ASSERT_TRUE(main.guide());
    auto buttons = main.guide()->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 3);
    QTest::mouseClick(buttons[2], Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !messages_.messages().empty(); }, 5000))
        << "Step3 without an open program said nothing";
    EXPECT_EQ(lastMessage(), kMsgNothingToSend);
    EXPECT_EQ(main.session().state(), PlaySession::State::Idle);
    EXPECT_EQ(main.operations().runState(), RunState::Idle);
    const auto log = sign_->sign().log();
    EXPECT_EQ(std::find(log.begin(), log.end(), "QVX0001DEL"), log.end());
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

TEST_F(MainFrameSendTest, FileTheSignLostIsNamedAndTheSendFails) {
    signsim::SignFaults faults;
    faults.dropFile = "70000001.PNG";
    sign_->sign().setFaults(faults);
    CMainFrame main;
    OperationEnvironment env = main.operations().environment();
    env.uploadPauseMs = 0;
    main.operations().setEnvironment(env);
    main.openFile(redProgram());
    bool finished = false;
    QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
    ASSERT_TRUE(main.makeAndSendProgram());
    ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
    EXPECT_FALSE(main.operations().confirmed());
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].text,
              "The sign's file list does not match what was sent:\n70000001.PNG: not on the sign");
    EXPECT_EQ(messages_.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(main.operationWindows().lastVerification(),
              "Not as sent on the sign: 70000001.PNG: not on the sign");
}

TEST_F(MainFrameSendTest, SendToSignsReachesEachTickedSignAndNamesTheDeadOne) {
    // A second sign on another loopback address with the same ports, and one where nothing
    // listens; the first is the fixture's.
    signsim::SimulatorOptions options;
    options.storage = path("door");
    options.address = "127.0.0.2";
    options.commandPort = sign_->commandPort();
    options.ftpPort = sign_->ftpPort();
    options.serial = false;
    signsim::SignSimulator door(options);
    std::string error;
    ASSERT_TRUE(door.start(&error)) << error;
    SignList list;
    {
        // No sign list: nothing to choose from, and the window says where signs are added.
        ASSERT_TRUE(saveSignList(path("LED_SET.ZRC"), list));
        CMainFrame main;
        main.action(CMainFrame::Command::SendToSigns)->trigger();
        EXPECT_FALSE(testing::visibleWindow<CSendToSignsDialog>());
        EXPECT_EQ(lastMessage(),
                  "The sign list is empty: add signs with Set > Set communication first.");
    }
    for (const char* name : {"Sample LED", "Door", "Dead", "Not ticked"}) {
        CLED_Set_Data sign;
        sign.name = name;
        sign.width = 64;
        sign.height = 32;
        list.signs.push_back(sign);
    }
    list.signs[0].host = "127.0.0.1";
    list.signs[1].host = "127.0.0.2";
    list.signs[2].host = "127.0.0.4";
    list.signs[3].host = "127.0.0.5";
    ASSERT_TRUE(saveSignList(path("LED_SET.ZRC"), list));

    CMainFrame main;
    OperationEnvironment env = main.operations().environment();
    env.uploadPauseMs = 0;
    main.operations().setEnvironment(env);
    main.action(CMainFrame::Command::SendToSigns)->trigger();
    auto* dialog = testing::visibleWindow<CSendToSignsDialog>();
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->list()->count(), 4);
    EXPECT_EQ(dialog->list()->item(1)->text(), "Door    127.0.0.2");
    dialog->accept();  // none ticked
    EXPECT_EQ(lastMessage(), "Please choose at least one sign.");
    for (int i = 0; i < 3; ++i) dialog->list()->item(i)->setCheckState(Qt::Checked);
    // Nothing made and no program open: nothing to send.
    dialog->accept();
    EXPECT_EQ(lastMessage(), "There is nothing to send: open a program, or make one first.");

    main.openFile(redProgram());
    main.action(CMainFrame::Command::SendToSigns)->trigger();
    dialog = testing::visibleWindow<CSendToSignsDialog>();
    ASSERT_TRUE(dialog);
    for (int i = 0; i < 3; ++i) dialog->list()->item(i)->setCheckState(Qt::Checked);
    dialog->accept();
    ASSERT_TRUE(waitFor([&] { return main.multiSendWindow() != nullptr; }, 20000)) << lastMessage();
    MultiSendWindow* window = main.multiSendWindow();
    ASSERT_TRUE(waitFor([&] { return !window->running(); }, 60000))
        << window->lines().toStdString();
    EXPECT_EQ(window->summary(), "2 of 3 signs done; failed: Dead");
    // A row per sign: its link, the files it was sent, its outcome.
    QTreeWidget* rows = window->signRows();
    ASSERT_EQ(rows->topLevelItemCount(), 3);
    const char* const outcomes[] = {"done", "done",
                                    "FAILED: Communication error! cannot connect to 127.0.0.4:"};
    const char* const sent[] = {"3/3", "3/3", "0/3"};
    for (int i = 0; i < 3; ++i) {
        QTreeWidgetItem* row = rows->topLevelItem(i);
        SCOPED_TRACE(row->text(0).toStdString());
        EXPECT_EQ(row->text(1), qs(list.signs[static_cast<size_t>(i)].host));
        EXPECT_EQ(row->text(3).toStdString().rfind(outcomes[i], 0), 0u)
            << row->text(3).toStdString();
        auto* bar = qobject_cast<QProgressBar*>(rows->itemWidget(row, 2));
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar->text().toStdString(), sent[i]);
    }
    const std::string lines = window->lines().toStdString();
    EXPECT_NE(lines.find("Door: verified: all 3 files are there"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Dead: connect error!"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("Not ticked"), std::string::npos) << lines;
    EXPECT_TRUE(QFileInfo::exists(qs(path("door/DATA1/70000001.PNG"))));
    EXPECT_TRUE(QFileInfo::exists(qs(path("sign/DATA1/70000001.PNG"))));
    // The current sign's own operation was not used.
    EXPECT_EQ(main.operations().runState(), RunState::Idle);
    door.stop();
}

}  // namespace
}  // namespace brightline::ui
