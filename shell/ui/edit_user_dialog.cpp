#include "shell/ui/edit_user_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/qt_messages.h"
#include "shell/ui/modify_password_dialog.h"
#include "shell/ui/new_user_dialog.h"
#include "shell/user_admin.h"

namespace brightline::ui {

CEditUserDialog::CEditUserDialog(const std::string& userFile, Profile& profile,
                                 OperatorMessages& messages, const std::string& loggedOnUser,
                                 QWidget* parent)
    : QDialog(parent),
      admin_(std::make_unique<UserAdmin>(userFile, profile, messages)),
      loggedOnUser_(loggedOnUser) {
    setWindowTitle("Edit User");
    list_ = new QListWidget(this);
    newUser_ = new QPushButton("New User", this);
    editPassword_ = new QPushButton("Edit Password", this);
    removeUser_ = new QPushButton("Remove User", this);
    enable_ = new QCheckBox("Enable user for log in system.", this);
    close_ = new QPushButton("Close", this);
    connect(newUser_, &QPushButton::clicked, this, &CEditUserDialog::newUser);
    connect(editPassword_, &QPushButton::clicked, this, &CEditUserDialog::editPassword);
    connect(removeUser_, &QPushButton::clicked, this, &CEditUserDialog::removeUser);
    connect(close_, &QPushButton::clicked, this, &CEditUserDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(newUser_);
    buttons->addWidget(editPassword_);
    buttons->addWidget(removeUser_);
    buttons->addStretch();
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel("Available User:", this));
    listColumn->addWidget(list_);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn, 1);
    top->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(enable_);
    bottom->addStretch();
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);

    if (admin_->open()) {
        for (const CUserInfo& user : admin_->users()) list_->addItem(qs(user.userName));
        if (list_->count() > 0) list_->setCurrentRow(0);
        enable_->setChecked(admin_->logonEnabled());
    }
}

CEditUserDialog::~CEditUserDialog() = default;

void CEditUserDialog::reject() {
    if (admin_->close(enable_->isChecked())) QDialog::reject();
}

void CEditUserDialog::newUser() {
    auto* dialog = new CNewUserDialog(*admin_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        list_->addItem(dialog->userName());
        list_->setCurrentRow(list_->count() - 1);
    });
    dialog->open();
}

void CEditUserDialog::editPassword() {
    const int row = list_->currentRow();
    if (!admin_->canEdit(row)) return;
    auto* dialog = new CModifyPasswordDialog(*admin_, list_->item(row)->text(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void CEditUserDialog::removeUser() {
    const int row = list_->currentRow();
    const int next = admin_->removeUser(row, loggedOnUser_);
    if (next == row) return;
    delete list_->takeItem(row);
    list_->setCurrentRow(next);
}

}  // namespace brightline::ui
