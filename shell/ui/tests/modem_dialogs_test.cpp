// Set > "Select Modem" and "Dial/Hang up": the whole modem path against the virtual sign in
// modem mode on a pseudo-terminal, the modem list coming from BRIGHTLINE_MODEMS.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "comm/modem_list.h"
#include "comm/ui/change_address_dialog.h"
#include "comm/ui/modem_control_window.h"
#include "comm/ui/password_dialog.h"
#include "comm/ui/select_modem_dialog.h"
#include "common/profile.h"
#include "common/ui/testing/desktop_test.h"
#include "shell/ui/main_frame.h"
#include "signsim/sign_simulator.h"

namespace brightline::ui {
namespace {

using testing::visibleWindow;

class ModemDialogsTest : public testing::DesktopTest {
  protected:
    ModemDialogsTest() {
        signsim::SimulatorOptions options;
        options.storage = path("sign");
        options.tcp = options.ftp = false;
        options.modem = true;
        sign_ = std::make_unique<signsim::SignSimulator>(options);
        std::string error;
        EXPECT_TRUE(sign_->start(&error)) << error;
        // COM4 is the sign's modem line; a second modem sits on no COM number at all.
        appProfile().writeString(kProfileSectionSet, "COM4_DEVICE", sign_->serialDevice());
        ::setenv(kModemListVariable,
                 ("Office Modem=/dev/null;Virtual Sign Modem=" + sign_->serialDevice()).c_str(), 1);
    }
    ~ModemDialogsTest() override {
        ::unsetenv(kModemListVariable);
        sign_->stop();
    }
    static void fastModem(CMainFrame& main) {
        ModemTimings t;
        t.commandPauseMs = 20;
        t.guardMs = 600;  // the modem wants a pause before "+++"
        t.escapePauseMs = 20;
        t.shortPauseMs = 20;
        main.modem().setTimings(t);
    }
    std::unique_ptr<signsim::SignSimulator> sign_;
};

TEST_F(ModemDialogsTest, SelectModemStoresItsComNumberOrSaysItHasNone) {
    CMainFrame main;
    main.action(CMainFrame::Command::SelectModem)->trigger();
    auto* dialog = visibleWindow<CSelectModemDialog>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Select Modem");
    ASSERT_EQ(dialog->modemChoice()->count(), 2);
    EXPECT_EQ(dialog->modemChoice()->itemText(1).toStdString(),
              "Virtual Sign Modem  (" + sign_->serialDevice() + ")");
    // /dev/null is no COM number's device: it cannot be used, and the dialog says so.
    EXPECT_EQ(dialog->modemChoice()->currentIndex(), 0);
    EXPECT_EQ(dialog->comPort(), -1);
    EXPECT_FALSE(dialog->note()->text().isEmpty());
    dialog->accept();
    EXPECT_EQ(appProfile().getInt("SET", "SELECT_MODEM_PORT", 0), -1);
    main.action(CMainFrame::Command::DialHangUp)->trigger();
    EXPECT_FALSE(visibleWindow<CModemControlWindow>());
    EXPECT_EQ(lastMessage(), "No modem is chosen: choose one with Set > Select Modem first.");

    main.action(CMainFrame::Command::SelectModem)->trigger();
    dialog = visibleWindow<CSelectModemDialog>();
    ASSERT_TRUE(dialog);
    dialog->modemChoice()->setCurrentIndex(1);
    EXPECT_EQ(dialog->portField()->text().toStdString(), "COM4  (" + sign_->serialDevice() + ")");
    EXPECT_TRUE(dialog->note()->text().isEmpty());
    dialog->accept();
    EXPECT_EQ(appProfile().getInt("SET", "SELECT_MODEM_PORT", 0), 4);
    EXPECT_EQ(appProfile().getInt("SET", "SELECT_MODEM_NO", 0), 1);
}

TEST_F(ModemDialogsTest, DialCarriesTwoOperationsThenHangsUp) {
    appProfile().writeInt("SET", "SELECT_MODEM_PORT", 4);
    addPhoneNumber(appProfile(), "0");
    addPhoneNumber(appProfile(), "5551234");
    CMainFrame main;
    fastModem(main);
    main.action(CMainFrame::Command::DialHangUp)->trigger();
    CModemControlWindow* window = main.modemWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Modem control");
    EXPECT_EQ(window->status(), "Disconnected!");
    EXPECT_TRUE(main.operations().selection().held);
    ASSERT_EQ(window->numberChoice()->count(), 2);

    // "0" is NO CARRIER.
    QTest::mouseClick(window->dialButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window->status() == "NO"; }))
        << window->status().toStdString();
    EXPECT_EQ(appProfile().getString("SET", "PHONE_NUMBER_SEL", ""), "0");

    window->numberChoice()->setCurrentIndex(1);
    const QPoint centred = window->pos();
    QTest::mouseClick(window->dialButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window->status() == "CONNECT"; }))
        << window->status().toStdString();
    EXPECT_NE(window->pos(), centred);  // off to the bottom right corner

    // Two operations over the held link.
    ASSERT_TRUE(main.startOperation(OperationCode::Reboot, 1));
    ASSERT_TRUE(waitFor([&] { return main.operations().runState() == RunState::Idle; }));
    EXPECT_EQ(lastMessage(), "Please wait a minute,the LED sign is rebooting itself!");
    ASSERT_TRUE(main.startOperation(OperationCode::GetTime, 1));
    ASSERT_TRUE(waitFor([&] { return main.operations().runState() == RunState::Idle; }));
    EXPECT_EQ(messages_.messages().back().caption, "Get Time OK!");
    EXPECT_EQ(sign_->sign().reboots(), 1);
    EXPECT_TRUE(main.operations().serialLink().isOpen());

    // While held, the change-address dialog keeps the baud rate as it is.
    main.action(CMainFrame::Command::ChangeAddress)->trigger();
    auto* password = visibleWindow<CPasswordDialog>();
    ASSERT_TRUE(password);
    password->passwordEdit()->setText("480713");
    password->accept();
    auto* address = visibleWindow<CChangeAddressDialog>();
    ASSERT_TRUE(address);
    EXPECT_FALSE(address->baudChoice()->isEnabled());
    address->close();

    QTest::mouseClick(window->hangUpButton(), Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return window->status() == "+++ATH0"; }));
    ASSERT_TRUE(waitFor([&] { return window->status() == "Disconnected!"; }))
        << window->status().toStdString();
    window->close();
    ASSERT_TRUE(waitFor([&] { return !main.operations().selection().held; }));
    EXPECT_FALSE(main.operations().serialLink().isOpen());
    EXPECT_TRUE(waitFor([&] { return main.modemWindow() == nullptr; }));
}

TEST_F(ModemDialogsTest, ClosingDuringTheDialWaitReleasesTheLinkAtOnce) {
    appProfile().writeInt("SET", "SELECT_MODEM_PORT", 4);
    addPhoneNumber(appProfile(), "00");  // the modem never answers
    CMainFrame main;
    fastModem(main);
    main.action(CMainFrame::Command::DialHangUp)->trigger();
    CModemControlWindow* window = main.modemWindow();
    ASSERT_TRUE(window);
    QTest::mouseClick(window->dialButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window->status() == "OK"; }))
        << "the modem never answered the set-up";
    QTest::qWait(200);  // now in the dial's 30-second wait
    window->close();
    ASSERT_TRUE(waitFor([&] { return !main.operations().selection().held; }, 5000))
        << "the link was not released within 5 seconds";
    EXPECT_FALSE(main.modem().busy());
    EXPECT_FALSE(main.operations().serialLink().isOpen());
}

TEST_F(ModemDialogsTest, NumbersAddedAndDeletedThroughTheWindow) {
    appProfile().writeInt("SET", "SELECT_MODEM_PORT", 4);
    CMainFrame main;
    main.action(CMainFrame::Command::DialHangUp)->trigger();
    CModemControlWindow* window = main.modemWindow();
    ASSERT_TRUE(window);
    for (const char* n : {"111", "222", "333"}) {
        window->numberChoice()->setEditText(n);
        QTest::mouseClick(window->addButton(), Qt::LeftButton);
    }
    EXPECT_EQ(appProfile().getInt("SET", "PHONE_NUMBER_NUM", 0), 3);
    window->numberChoice()->setCurrentIndex(2);
    QTest::mouseClick(window->delButton(), Qt::LeftButton);
    EXPECT_EQ(window->numberChoice()->currentIndex(), 0);  // it was the last: the first now
    EXPECT_EQ(readPhoneBook(appProfile()).numbers, (std::vector<std::string>{"111", "222"}));
    // A second Dial/Hang up shows the same window; the port stays held once.
    main.action(CMainFrame::Command::DialHangUp)->trigger();
    EXPECT_EQ(main.modemWindow(), window);
    window->close();
    ASSERT_TRUE(waitFor([&] { return !main.operations().selection().held; }));
}

TEST_F(ModemDialogsTest, BusyModemPortIsTakenAndNothingIsHeld) {
    appProfile().writeInt("SET", "SELECT_MODEM_PORT", 5);
    appProfile().writeString("SET", "COM5_DEVICE", path("no-such-port"));
    CMainFrame main;
    main.action(CMainFrame::Command::DialHangUp)->trigger();
    EXPECT_EQ(lastMessage(),
              "COM5 is taken !\n" + path("no-such-port") + ": No such file or directory");
    EXPECT_FALSE(main.modemWindow());
    EXPECT_FALSE(main.operations().selection().held);
}

}  // namespace
}  // namespace brightline::ui
