#include "comm/ui/password_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "comm/sign_messages.h"
#include "common/operator_messages.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

CPasswordDialog::CPasswordDialog(OperatorMessages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setObjectName("CPasswordDialog");
    setWindowTitle("Please enter password");
    auto* warning = new QLabel(kMsgAdvancedFeature, this);
    auto* prompt = new QLabel(kMsgEnterSignPassword, this);
    edit_ = new QLineEdit(this);
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setMaxLength(8);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

void CPasswordDialog::accept() {
    if (ss(edit_->text()) != kSignPassword) {
        messages_.show(kMsgSignPasswordError, kCaptionInfo, MessageIcon::Error);
        edit_->clear();
        activateWindow();
        edit_->setFocus();
        return;  // asked again
    }
    QDialog::accept();
}

}  // namespace brightline::ui
