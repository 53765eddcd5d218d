#include "shell/ui/new_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "common/profile.h"
#include "common/ui/qt_messages.h"
#include "shell/file_dispatch.h"

namespace brightline::ui {

CNewDialog::CNewDialog(Profile& profile, const std::string& startFolder, OperatorMessages& messages,
                       QWidget* parent)
    : QDialog(parent), profile_(profile), messages_(messages) {
    setWindowTitle("New");
    before_ = profile_.getString(kProfileSectionSet, kKeyNewFilePath, startFolder);
    tabs_ = new QTabBar(this);
    tabs_->addTab("Projects");
    tabs_->addTab("File");
    list_ = new QListWidget(this);
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(32, 32));
    list_->setGridSize(QSize(110, 64));
    list_->setMovement(QListView::Static);
    name_ = new QLineEdit(this);
    location_ = new QLineEdit(qs(newFileLocation(profile_, startFolder)), this);
    auto* browseButton = new QPushButton("...", this);
    browseButton->setFixedWidth(32);
    auto* locationRow = new QHBoxLayout;
    locationRow->addWidget(location_);
    locationRow->addWidget(browseButton);
    auto* form = new QFormLayout;
    form->addRow("File:", name_);
    form->addRow("Location:", locationRow);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(list_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(tabs_, &QTabBar::currentChanged, this, &CNewDialog::fill);
    connect(ok_, &QPushButton::clicked, this, &CNewDialog::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, &CNewDialog::browse);
    fill(0);
    resize(420, 320);
}

void CNewDialog::fill(int tab) {
    list_->clear();
    const QIcon icon =
        style()->standardIcon(tab == 0 ? QStyle::SP_FileDialogDetailedView : QStyle::SP_FileIcon);
    for (const std::string& entry : newDialogEntries(tab))
        list_->addItem(new QListWidgetItem(icon, qs(entry)));
}

FileKind CNewDialog::kind() const {
    return newDialogKind(tabs_->currentIndex(), list_->currentItem() ? list_->currentRow() : -1);
}

QString CNewDialog::name() const {
    return name_->text();
}

QString CNewDialog::location() const {
    return qs(withTrailingSeparator(ss(location_->text())));
}

void CNewDialog::ok() {
    const int row =
        list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
    if (auto refusal = checkNewDialog(row, ss(name_->text()))) {
        messages_.show(*refusal);
        return;
    }
    location_->setText(location());
    accept();
}

void CNewDialog::browse() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, "Select folder", location_->text());
    if (!folder.isEmpty()) location_->setText(qs(withTrailingSeparator(ss(folder))));
}

void CNewDialog::done(int result) {
    profile_.writeString(kProfileSectionSet, kKeyNewFilePath,
                         result == QDialog::Accepted ? ss(location()) : before_);
    QDialog::done(result);
}

}  // namespace brightline::ui
