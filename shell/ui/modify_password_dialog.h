#pragma once
// "Modify Password": the selected user's name (read-only), "Old Password:", "New Password:",
// "Confirm Password:". OK hands them to the user administration; closes when it accepted.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace brightline {
class UserAdmin;
}

namespace brightline::ui {

class CModifyPasswordDialog : public QDialog {
    Q_OBJECT
  public:
    CModifyPasswordDialog(UserAdmin& admin, const QString& userName, QWidget* parent = nullptr);
    QLineEdit* oldEdit() const { return old_; }
    QLineEdit* newEdit() const { return new_; }
    QLineEdit* confirmEdit() const { return confirm_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void ok();
    UserAdmin& admin_;
    QLineEdit* name_;
    QLineEdit* old_;
    QLineEdit* new_;
    QLineEdit* confirm_;
    QPushButton* ok_;
};

}  // namespace brightline::ui
