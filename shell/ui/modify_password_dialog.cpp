#include "shell/ui/modify_password_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/qt_messages.h"
#include "shell/user_admin.h"

namespace brightline::ui {

CModifyPasswordDialog::CModifyPasswordDialog(UserAdmin& admin, const QString& userName,
                                             QWidget* parent)
    : QDialog(parent), admin_(admin) {
    setWindowTitle("Modify Password");
    name_ = new QLineEdit(userName, this);
    name_->setReadOnly(true);
    old_ = new QLineEdit(this);
    new_ = new QLineEdit(this);
    confirm_ = new QLineEdit(this);
    for (QLineEdit* edit : {old_, new_, confirm_}) edit->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow("User Name:", name_);
    form->addRow("Old Password:", old_);
    form->addRow("New Password:", new_);
    form->addRow("Confirm Password:", confirm_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(ok_, &QPushButton::clicked, this, &CModifyPasswordDialog::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CModifyPasswordDialog::ok() {
    if (admin_
            .changePassword(ss(name_->text()), ss(old_->text()), ss(new_->text()),
                            ss(confirm_->text()))
            .accepted)
        accept();
}

}  // namespace brightline::ui
