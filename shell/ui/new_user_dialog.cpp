#include "shell/ui/new_user_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/qt_messages.h"
#include "shell/user_admin.h"

namespace brightline::ui {

CNewUserDialog::CNewUserDialog(UserAdmin& admin, QWidget* parent) : QDialog(parent), admin_(admin) {
    setWindowTitle("New User");
    name_ = new QLineEdit(this);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    confirm_ = new QLineEdit(this);
    confirm_->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow("User Name:", name_);
    form->addRow("Password:", password_);
    form->addRow("Confirm PW:", confirm_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(ok_, &QPushButton::clicked, this, &CNewUserDialog::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString CNewUserDialog::userName() const {
    return name_->text();
}

void CNewUserDialog::ok() {
    UserDialogResult result =
        admin_.addUser(ss(name_->text()), ss(password_->text()), ss(confirm_->text()));
    if (result.clearName) name_->clear();
    if (result.accepted) accept();
}

}  // namespace brightline::ui
