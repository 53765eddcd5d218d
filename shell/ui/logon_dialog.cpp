#include "shell/ui/logon_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/qt_messages.h"
#include "shell/logon.h"

namespace brightline::ui {

CLogonDialog::CLogonDialog(const std::vector<CUserInfo>& users, OperatorMessages& messages,
                           const QString& userName, bool nameEditable, QWidget* parent)
    : QDialog(parent), users_(users), messages_(messages) {
    setWindowTitle("Log In");
    name_ = new QLineEdit(userName, this);
    name_->setEnabled(nameEditable);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    autoLogon_ = new QCheckBox(kAutoLogonText, this);
    auto* form = new QFormLayout;
    form->addRow("User Name:", name_);
    form->addRow("Password:", password_);
    auto* buttons = new QDialogButtonBox(this);
    logIn_ = buttons->addButton("Log In", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    logIn_->setDefault(true);
    connect(logIn_, &QPushButton::clicked, this, &CLogonDialog::logIn);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(autoLogon_);
    layout->addWidget(buttons);
    if (nameEditable && !userName.isEmpty()) password_->setFocus();
}

QString CLogonDialog::userName() const {
    return name_->text();
}
QString CLogonDialog::password() const {
    return password_->text();
}
bool CLogonDialog::autoLogon() const {
    return autoLogon_->isChecked();
}

void CLogonDialog::logIn() {
    LogonCheck check = checkLogon(users_, ss(name_->text()), ss(password_->text()));
    if (check.accepted()) {
        accept();
        return;
    }
    messages_.show(check.message);
    if (check.clearPassword) password_->clear();
}

}  // namespace brightline::ui
