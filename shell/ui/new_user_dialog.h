#pragma once
// "New User": "User Name:", "Password:", "Confirm PW:". OK hands the three fields to the user
// administration, which checks, appends and saves; the dialog closes only when it accepted.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace brightline {
class UserAdmin;
}

namespace brightline::ui {

class CNewUserDialog : public QDialog {
    Q_OBJECT
  public:
    CNewUserDialog(UserAdmin& admin, QWidget* parent = nullptr);
    QString userName() const;
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* passwordEdit() const { return password_; }
    QLineEdit* confirmEdit() const { return confirm_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void ok();
    UserAdmin& admin_;
    QLineEdit* name_;
    QLineEdit* password_;
    QLineEdit* confirm_;
    QPushButton* ok_;
};

}  // namespace brightline::ui
