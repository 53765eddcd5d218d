#pragma once
// "Edit User": the list "Available User:", the buttons "New User", "Edit Password",
// "Remove User", the check box "Enable user for log in system." and "Close". The work is the user
// administration's; this window shows the list and opens the two small dialogs window-modally.
#include <QDialog>
#include <memory>

#include "common/operator_messages.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace brightline {
class Profile;
class UserAdmin;
}  // namespace brightline

namespace brightline::ui {

class CEditUserDialog : public QDialog {
    Q_OBJECT
  public:
    // `loggedOnUser` may not be removed. Opening loads the users (or says the file is missing).
    CEditUserDialog(const std::string& userFile, Profile& profile, OperatorMessages& messages,
                    const std::string& loggedOnUser, QWidget* parent = nullptr);
    ~CEditUserDialog() override;

    QListWidget* userList() const { return list_; }
    QCheckBox* enableBox() const { return enable_; }
    QPushButton* newUserButton() const { return newUser_; }
    QPushButton* editPasswordButton() const { return editPassword_; }
    QPushButton* removeUserButton() const { return removeUser_; }
    QPushButton* closeButton() const { return close_; }

    // "Close" and the window's close both come here.
    void reject() override;

  private:
    void newUser();
    void editPassword();
    void removeUser();

    std::unique_ptr<UserAdmin> admin_;
    std::string loggedOnUser_;
    QListWidget* list_;
    QCheckBox* enable_;
    QPushButton* newUser_;
    QPushButton* editPassword_;
    QPushButton* removeUser_;
    QPushButton* close_;
};

}  // namespace brightline::ui
