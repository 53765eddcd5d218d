#pragma once
// "Please enter password": the guard in front of the dialogs that change a sign's own address.
// OK with any other text than the sign password says "Password error!" (caption "INFO", error
// icon) and asks again; only the right text, or Cancel, closes it.
#include <QDialog>

class QLineEdit;

namespace brightline {
class OperatorMessages;
}

namespace brightline::ui {

class CPasswordDialog : public QDialog {
    Q_OBJECT
  public:
    // `messages` (borrowed) shows "Password error!".
    explicit CPasswordDialog(OperatorMessages& messages, QWidget* parent = nullptr);
    QLineEdit* passwordEdit() const { return edit_; }

  public slots:
    void accept() override;

  private:
    OperatorMessages& messages_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace brightline::ui
