// The logon and user dialogs driven as an operator would: typing, clicking, reading the boxes.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "common/ui/testing/desktop_test.h"
#include "shell/logon.h"
#include "shell/ui/edit_user_dialog.h"
#include "shell/ui/logon_dialog.h"
#include "shell/ui/modify_password_dialog.h"
#include "shell/ui/new_user_dialog.h"
#include "shell/user_admin.h"

namespace brightline::ui {
namespace {

using testing::DesktopTest;

class LogonDialogTest : public DesktopTest {};

TEST_F(LogonDialogTest, LogInChecksTheFieldsAndThePassword) {
    const std::vector<CUserInfo> users = {{"admin", hashPassword("admin")}};
    CLogonDialog dialog(users, messages_, "admin", true);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Log In");
    EXPECT_EQ(dialog.nameEdit()->text(), "admin");
    EXPECT_FALSE(dialog.autoLogonBox()->isChecked());
    EXPECT_EQ(dialog.autoLogonBox()->text(), "Auto log in system without user next time.");

    QTest::mouseClick(dialog.logInButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Sorry! Password can't be blank!\nPlease input it");
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClicks(dialog.passwordEdit(), "wrong");
    QTest::mouseClick(dialog.logInButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Password error!");
    EXPECT_EQ(messages_.messages().back().caption, "Warning!");
    EXPECT_TRUE(dialog.passwordEdit()->text().isEmpty());
    EXPECT_TRUE(dialog.isVisible());

    dialog.nameEdit()->clear();
    QTest::keyClicks(dialog.passwordEdit(), "admin");
    QTest::mouseClick(dialog.logInButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Sorry! User can't be blank!\nPlease input it");

    QTest::keyClicks(dialog.nameEdit(), "root");
    QTest::mouseClick(dialog.logInButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "User is not existed!");

    dialog.nameEdit()->setText("admin");
    QTest::mouseClick(dialog.logInButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(messages_.messages().size(), 4u);
}

TEST_F(LogonDialogTest, ConfirmingThePasswordKeepsTheNameFixed) {
    const std::vector<CUserInfo> users = {{"admin", hashPassword("admin")}};
    CLogonDialog dialog(users, messages_, "admin", false);
    EXPECT_FALSE(dialog.nameEdit()->isEnabled());
}

class EditUserDialogTest : public DesktopTest {
  protected:
    std::vector<CUserInfo> onDisk() {
        std::vector<CUserInfo> users;
        loadUsers(path("UserInfo.dat"), users);
        return users;
    }
};

TEST_F(EditUserDialogTest, NewEditAndRemoveThroughTheButtons) {
    ASSERT_TRUE(saveUsers(path("UserInfo.dat"), {{"admin", hashPassword("admin")}}));
    CEditUserDialog dialog(path("UserInfo.dat"), appProfile(), messages_, "admin");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Edit User");
    ASSERT_EQ(dialog.userList()->count(), 1);
    EXPECT_EQ(dialog.userList()->currentRow(), 0);
    EXPECT_TRUE(dialog.enableBox()->isChecked());

    // New User: a name that exists is refused and emptied, then a good one is added and saved.
    QTest::mouseClick(dialog.newUserButton(), Qt::LeftButton);
    auto* add = dialog.findChild<CNewUserDialog*>();
    ASSERT_TRUE(add);
    QTest::keyClicks(add->nameEdit(), "admin");
    QTest::mouseClick(add->okButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "User name has existed!\n\nPlease input again!");
    EXPECT_TRUE(add->nameEdit()->text().isEmpty());
    QTest::keyClicks(add->nameEdit(), "bob");
    QTest::keyClicks(add->passwordEdit(), "pw");
    QTest::keyClicks(add->confirmEdit(), "pw");
    QTest::mouseClick(add->okButton(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(dialog.userList()->count(), 2);
    EXPECT_EQ(dialog.userList()->currentItem()->text(), "bob");
    ASSERT_EQ(onDisk().size(), 2u);
    EXPECT_EQ(onDisk()[1].passwordHash, hashPassword("pw"));

    // Edit Password for bob: the old password must be right.
    QTest::mouseClick(dialog.editPasswordButton(), Qt::LeftButton);
    auto* modify = dialog.findChild<CModifyPasswordDialog*>();
    ASSERT_TRUE(modify);
    QTest::keyClicks(modify->oldEdit(), "nope");
    QTest::keyClicks(modify->newEdit(), "new");
    QTest::keyClicks(modify->confirmEdit(), "new");
    QTest::mouseClick(modify->okButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Old password is error!\n\nPlease input again!");
    modify->oldEdit()->setText("pw");
    QTest::mouseClick(modify->okButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(onDisk()[1].passwordHash, hashPassword("new"));

    // Remove: the logged-on user is refused; bob goes after a Yes, and admin is selected.
    dialog.userList()->setCurrentRow(0);
    QTest::mouseClick(dialog.removeUserButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "This user has logon!\nCan't remove it!");
    dialog.userList()->setCurrentRow(1);
    messages_.queueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(dialog.removeUserButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Are you sure you want to \nremove this user?");
    EXPECT_EQ(dialog.userList()->count(), 1);
    EXPECT_EQ(dialog.userList()->currentRow(), 0);
    EXPECT_EQ(onDisk().size(), 1u);
}

TEST_F(EditUserDialogTest, CloseRefusedWhileLogonNeedsAUser) {
    ASSERT_TRUE(saveUsers(path("UserInfo.dat"), {{"op", hashPassword("op")}}));
    CEditUserDialog dialog(path("UserInfo.dat"), appProfile(), messages_, "admin");
    dialog.show();
    messages_.queueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(dialog.removeUserButton(), Qt::LeftButton);
    ASSERT_EQ(dialog.userList()->count(), 0);
    QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages_.messages().back().caption, "Prompt!");
    // The window's own close goes the same way.
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    dialog.enableBox()->setChecked(false);
    QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(appProfile().getInt("Brightline_II", "Enable_User_Logon_Flag", -1), 0);
}

TEST_F(EditUserDialogTest, MissingUserFileSaysSoAndShowsNoUsers) {
    CEditUserDialog dialog(path("UserInfo.dat"), appProfile(), messages_, "admin");
    EXPECT_EQ(lastMessage(), "Can't find \"UserInfo.dat\" file!");
    EXPECT_EQ(dialog.userList()->count(), 0);
}

}  // namespace
}  // namespace brightline::ui
