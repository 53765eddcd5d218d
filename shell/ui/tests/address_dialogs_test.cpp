// Send > "Change communication address *": the password, the change-address dialog over the
// serial link and the change-IP dialog over the network, carried out against a virtual sign.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "comm/led_set_data.h"
#include "comm/ui/change_address_dialog.h"
#include "comm/ui/change_ip_dialog.h"
#include "comm/ui/ip_address_edit.h"
#include "comm/ui/network_fields.h"
#include "comm/ui/password_dialog.h"
#include "common/profile.h"
#include "common/ui/testing/desktop_test.h"
#include "shell/ui/main_frame.h"
#include "signsim/sign_simulator.h"

namespace brightline::ui {
namespace {

using testing::visibleWindow;

constexpr const char* kRebooting = "Please wait a minute,the LED sign is rebooting itself!";

// A virtual sign on both links; the profile's current sign "Sample LED" is on COM3 (the sign's
// pseudo-terminal) when `serial`, else on the network.
class AddressDialogsTest : public testing::DesktopTest {
  protected:
    void startSign(bool serial) {
        signsim::SimulatorOptions options;
        options.storage = path("sign");
        sign_ = std::make_unique<signsim::SignSimulator>(options);
        std::string error;
        ASSERT_TRUE(sign_->start(&error)) << error;
        ::setenv("BRIGHTLINE_VIRTUAL_SIGN",
                 ("127.0.0.1:" + std::to_string(sign_->commandPort()) + ":" +
                  std::to_string(sign_->ftpPort()))
                     .c_str(),
                 1);
        Profile& p = appProfile();
        p.writeInt(kProfileSectionSet, "PORT", serial ? 3 : 0);
        p.writeString(kProfileSectionSet, "COM3_DEVICE", sign_->serialDevice());
        SignList list;
        list.signs.push_back(defaultSignRecord({{192, 168, 0, 6}}, "192.168.0.6"));
        list.signs[0].port = serial ? 3 : 0;
        ASSERT_TRUE(saveSignList(path("LED_SET.ZRC"), list));
    }
    ~AddressDialogsTest() override {
        ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
        if (sign_) sign_->stop();
    }
    SignList signList() {
        SignList list;
        loadSignList(path("LED_SET.ZRC"), list);
        return list;
    }
    // Send > "Change communication address *" with the right password.
    void passPassword(CMainFrame& main) {
        main.action(CMainFrame::Command::ChangeAddress)->trigger();
        auto* password = visibleWindow<CPasswordDialog>();
        ASSERT_TRUE(password);
        password->passwordEdit()->setText("480713");
        password->accept();
    }
    static void setIp(IpAddressEdit* edit, const Ipv4& ip) { edit->setValue(ip); }

    std::unique_ptr<signsim::SignSimulator> sign_;
};

TEST_F(AddressDialogsTest, WrongPasswordsAskAgainUntilRightOrCancelled) {
    CMainFrame main;
    main.action(CMainFrame::Command::ChangeAddress)->trigger();
    auto* password = visibleWindow<CPasswordDialog>();
    ASSERT_TRUE(password);
    EXPECT_EQ(password->windowTitle(), "Please enter password");
    EXPECT_EQ(password->passwordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->passwordEdit()->maxLength(), 8);
    for (const char* wrong : {"", "48071", "admin"}) {
        password->passwordEdit()->setText(wrong);
        password->accept();
        ASSERT_EQ(messages_.messages().size(), 1u) << wrong;
        EXPECT_EQ(messages_.messages()[0].text, "Password error!");
        EXPECT_EQ(messages_.messages()[0].caption, "INFO");
        EXPECT_EQ(messages_.messages()[0].icon, MessageIcon::Error);
        EXPECT_TRUE(password->isVisible());
        EXPECT_TRUE(password->passwordEdit()->text().isEmpty());
        messages_.clear();
    }
    password->reject();
    EXPECT_FALSE(visibleWindow<CChangeIpDialog>());
    EXPECT_FALSE(visibleWindow<CChangeAddressDialog>());
    // The right one opens the dialog of the selected link: the network here.
    passPassword(main);
    auto* ip = visibleWindow<CChangeIpDialog>();
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->windowTitle(), "Change IP address *");
}

TEST_F(AddressDialogsTest, EveryRefusalKeepsTheDialogOpenAndSendsNothing) {
    CommSettings settings;
    RecordingMessages noSign;
    OperationObserver noWindows;
    SignOperations unused(noSign, noWindows);
    CChangeAddressDialog address(settings, false, messages_);
    CChangeIpDialog ip(unused, settings, "192.168.0.6", messages_);
    int requested = 0;
    QObject::connect(&address, &CChangeAddressDialog::sendRequested,
                     [&](const AddressChange&) { ++requested; });
    const std::string newIp =
        "Sorry !!! New IP address is error!\r\nPlease input new IP address again.";
    const std::string mask = "Sorry !!! Subnet mask is error!\r\nPlease input subnet mask again.";
    const std::string gateway =
        "Sorry !!! Default gateway is error!\r\nPlease input default gateway again.";
    struct Case {
        Ipv4 ip, mask, gateway;
        std::string refusal;
    } cases[] = {
        {{{192, 168, 0, 0}}, {{255, 255, 255, 0}}, {{192, 168, 0, 1}}, newIp},
        {{{0, 168, 0, 5}}, {{255, 255, 255, 0}}, {{192, 168, 0, 1}}, newIp},
        {{{192, 168, 0, 0}}, {{0, 0, 0, 0}}, {{0, 0, 0, 0}}, newIp},  // the first check wins
        {{{10, 0, 0, 5}}, {{0, 255, 0, 0}}, {{10, 0, 0, 1}}, mask},
        {{{10, 0, 0, 5}}, {{255, 0, 0, 0}}, {{192, 168, 0, 1}}, gateway},
        {{{10, 0, 0, 5}}, {{255, 0, 0, 0}}, {{0, 0, 0, 1}}, gateway},
    };
    for (QDialog* dialog : {static_cast<QDialog*>(&address), static_cast<QDialog*>(&ip)}) {
        dialog->show();
        NetworkFields* fields = dialog->findChild<NetworkFields*>();
        QPushButton* send = dialog->findChild<QPushButton*>();
        ASSERT_TRUE(fields && send);
        for (const Case& c : cases) {
            messages_.clear();
            fields->ipEdit()->setValue(c.ip);
            fields->maskEdit()->setValue(c.mask);
            fields->gatewayEdit()->setValue(c.gateway);
            QTest::mouseClick(send, Qt::LeftButton);
            ASSERT_EQ(messages_.messages().size(), 1u) << dialog->windowTitle().toStdString();
            const OperatorMessage m = messages_.messages()[0];
            EXPECT_EQ(m.text, c.refusal) << formatIp(c.ip) << " " << formatIp(c.gateway);
            EXPECT_EQ(m.caption, "");  // the application's name
            EXPECT_EQ(m.icon, MessageIcon::None);
            EXPECT_TRUE(dialog->isVisible());
        }
    }
    EXPECT_EQ(requested, 0);
    EXPECT_FALSE(ip.changed());
}

TEST_F(AddressDialogsTest, QuestionNamesTheNewValuesAndCancelSendsNothing) {
    CommSettings settings;
    settings.address = 4;
    settings.baudIndex = 3;
    settings.newIp = {{10, 0, 0, 5}};
    settings.gateway = {{10, 0, 0, 1}};
    CChangeAddressDialog dialog(settings, false, messages_);
    EXPECT_EQ(dialog.addressEdit()->value(), 4);
    EXPECT_EQ(dialog.baudChoice()->currentText(), "9600");
    EXPECT_EQ(dialog.network()->ip(), settings.newIp);
    std::vector<AddressChange> sent;
    QObject::connect(&dialog, &CChangeAddressDialog::sendRequested,
                     [&](const AddressChange& c) { sent.push_back(c); });
    dialog.addressEdit()->setValue(12);
    dialog.baudChoice()->setCurrentIndex(6);
    messages_.queueAnswer(MessageAnswer::Cancel);
    dialog.send();
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].text,
              "This is to change the COM communication address of the sign,\nif it goes "
              "successfully,the new COM communication address \nwill be 12 ,the new BPS will be "
              "57600 . \n\nplease make note of the new COM communication address!");
    EXPECT_EQ(messages_.messages()[0].caption, "INFO");
    EXPECT_EQ(messages_.messages()[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages_.messages()[0].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(sent.empty());
    dialog.send();  // OK this time
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].address, 12);
    EXPECT_EQ(sent[0].baudIndex, 6);
    // With a modem holding the link the baud rate stays as it is.
    CChangeAddressDialog held(settings, true, messages_);
    EXPECT_FALSE(held.baudChoice()->isEnabled());
}

TEST_F(AddressDialogsTest, AddressChangeReachesTheSignAndIsStored) {
    startSign(true);
    {
        CMainFrame main;
        passPassword(main);
        auto* dialog = visibleWindow<CChangeAddressDialog>();
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(visibleWindow<CChangeIpDialog>());
        dialog->addressEdit()->setValue(9);
        dialog->baudChoice()->setCurrentIndex(5);
        setIp(dialog->network()->ipEdit(), {{10, 0, 0, 5}});
        setIp(dialog->network()->maskEdit(), {{255, 255, 0, 0}});
        setIp(dialog->network()->gatewayEdit(), {{10, 0, 0, 1}});
        QTest::mouseClick(dialog->sendButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return messages_.messages().size() >= 2; }))
            << "last message: " << lastMessage();
        EXPECT_EQ(messages_.messages()[1].text, kRebooting);
        EXPECT_EQ(messages_.messages()[1].caption, "Set ADDR OK!");
        EXPECT_TRUE(dialog->isVisible());  // it stays open
        ASSERT_TRUE(waitFor([&] { return main.operations().runState() == RunState::Idle; }));
        EXPECT_EQ(sign_->sign().serialAddress(), 9);
        EXPECT_EQ(sign_->sign().baudRate(), 38400);
        EXPECT_EQ(sign_->sign().ip(), (Ipv4{{10, 0, 0, 5}}));
        EXPECT_EQ(main.operations().selection().address, 9);
        EXPECT_EQ(appProfile().getInt("SET", "NEW_IP0", 0), 10);
        EXPECT_EQ(appProfile().getInt("SET", "Subnetmask1", 0), 255);
        EXPECT_EQ(appProfile().getInt("SET", "Subnetmask2", 1), 0);
        const SignList list = signList();
        ASSERT_EQ(list.signs.size(), 1u);
        EXPECT_EQ(list.signs[0].address, 9);
        EXPECT_EQ(list.signs[0].baudIndex, 5);
        EXPECT_EQ(list.signs[0].host, "10.0.0.5");
        dialog->close();
    }
    EXPECT_EQ(appProfile().getInt("SET", "ADDR", 0), 9);
    EXPECT_EQ(appProfile().getInt("SET", "BPS", 0), 5);
}

TEST_F(AddressDialogsTest, IpChangeReachesTheSignAndBecomesTheHost) {
    startSign(false);
    CMainFrame main;
    passPassword(main);
    auto* dialog = visibleWindow<CChangeIpDialog>();
    ASSERT_TRUE(dialog);
    setIp(dialog->network()->ipEdit(), {{10, 1, 2, 3}});
    setIp(dialog->network()->maskEdit(), {{255, 0, 0, 0}});
    setIp(dialog->network()->gatewayEdit(), {{10, 0, 0, 1}});
    QTest::mouseClick(dialog->sendButton(), Qt::LeftButton);
    ASSERT_EQ(messages_.messages().size(), 2u) << lastMessage();
    EXPECT_EQ(messages_.messages()[0].text.rfind("This is to change the IP address", 0), 0u);
    EXPECT_NE(messages_.messages()[0].text.find("will be 10.1.2.3 ."), std::string::npos);
    EXPECT_EQ(messages_.messages()[1].text, std::string(kRebooting) + "\n\nNew IP:10:1:2:3\r\n");
    EXPECT_EQ(messages_.messages()[1].caption, "Set IP OK!");
    EXPECT_EQ(messages_.messages()[1].icon, MessageIcon::Information);
    EXPECT_EQ(dialog->sendButton()->text(), "Send");
    EXPECT_EQ(sign_->sign().ip(), (Ipv4{{10, 1, 2, 3}}));
    EXPECT_EQ(appProfile().getInt("SET", "NEW_IP1", 0), 1);
    // Adopted when the dialog closes.
    EXPECT_EQ(appProfile().getString("SET", "HOST_ADDRESS", ""), "");
    dialog->accept();
    EXPECT_EQ(appProfile().getString("SET", "HOST_ADDRESS", ""), "10.1.2.3");
    EXPECT_EQ(appProfile().getInt("SET", "IP3", 0), 3);
    EXPECT_EQ(appProfile().getInt("SET", "Subnetmask1", 1), 0);
    EXPECT_EQ(appProfile().getInt("SET", "DefaultGateway3", 0), 1);
    EXPECT_EQ(main.commSettings().host, "10.1.2.3");
    EXPECT_EQ(signList().signs[0].host, "10.1.2.3");
    EXPECT_EQ(signList().signs[0].ip, (Ipv4{{10, 1, 2, 3}}));
}

TEST_F(AddressDialogsTest, FailedIpChangeSaysSoAndChangesNothing) {
    startSign(false);
    CMainFrame main;
    sign_->stop();
    passPassword(main);
    auto* dialog = visibleWindow<CChangeIpDialog>();
    ASSERT_TRUE(dialog);
    setIp(dialog->network()->ipEdit(), {{10, 1, 2, 3}});
    setIp(dialog->network()->gatewayEdit(), {{10, 0, 0, 1}});
    dialog->send();
    // The designed text, then the cause on its own line.
    EXPECT_EQ(lastMessage().rfind("Communication error!\ncannot connect to 127.0.0.1:", 0), 0u)
        << lastMessage();
    dialog->accept();
    EXPECT_EQ(appProfile().getString("SET", "HOST_ADDRESS", "none"), "none");
    EXPECT_EQ(signList().signs[0].host, "192.168.0.6");
}

}  // namespace
}  // namespace brightline::ui
