#pragma once
// "Log In": user name, masked password, the auto-logon box and the buttons "Log In" and "Cancel".
// "Log In" runs the logon checks against the given users; a refusal shows its message and keeps
// the dialog open ("Password error!" also empties the password field).
#include <QDialog>
#include <vector>

#include "common/operator_messages.h"
#include "shell/user_info.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace brightline::ui {

class CLogonDialog : public QDialog {
    Q_OBJECT
  public:
    // `users` and `messages` are borrowed. With `nameEditable` false the operator only confirms
    // the password of the offered name (user management).
    CLogonDialog(const std::vector<CUserInfo>& users, OperatorMessages& messages,
                 const QString& userName, bool nameEditable, QWidget* parent = nullptr);

    QString userName() const;
    QString password() const;
    bool autoLogon() const;

    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* passwordEdit() const { return password_; }
    QCheckBox* autoLogonBox() const { return autoLogon_; }
    QPushButton* logInButton() const { return logIn_; }

  private:
    void logIn();

    const std::vector<CUserInfo>& users_;
    OperatorMessages& messages_;
    QLineEdit* name_;
    QLineEdit* password_;
    QCheckBox* autoLogon_;
    QPushButton* logIn_;
};

}  // namespace brightline::ui
