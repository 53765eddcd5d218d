#include "comm/ui/select_modem_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/profile.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

CSelectModemDialog::CSelectModemDialog(std::vector<InstalledModem> modems, Profile& profile,
                                       QWidget* parent)
    : QDialog(parent), list_(std::move(modems)), profile_(profile) {
    setObjectName("CSelectModemDialog");
    setWindowTitle("Select Modem");
    modems_ = new QComboBox(this);
    // The device beside the name, so that two modems of one kind can be told apart.
    for (const InstalledModem& m : list_) modems_->addItem(qs(m.name + "  (" + m.device + ")"));
    port_ = new QLineEdit(this);
    port_->setReadOnly(true);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow("Installed modem(s)", modems_);
    form->addRow("Port:", port_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectModemDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());

    const long chosen = std::max(0L, profile_.getInt(kProfileSectionSet, "SELECT_MODEM_NO", 0));
    if (chosen < modems_->count()) modems_->setCurrentIndex(static_cast<int>(chosen));
    connect(modems_, &QComboBox::currentIndexChanged, this, &CSelectModemDialog::showPort);
    showPort();
}

int CSelectModemDialog::comPort() const {
    const int i = modems_->currentIndex();
    if (i < 0 || i >= static_cast<int>(list_.size())) return -1;
    return comPortForDevice(profile_, list_[static_cast<size_t>(i)].device);
}

void CSelectModemDialog::showPort() {
    const int i = modems_->currentIndex();
    if (i < 0) {
        port_->clear();
        note_->setText("No modem was found on this computer.");
        return;
    }
    const std::string device = list_[static_cast<size_t>(i)].device;
    const int com = comPort();
    port_->setText(com > 0 ? QString("COM%1  (%2)").arg(com).arg(qs(device)) : qs(device));
    note_->setText(com > 0 ? QString()
                           : qs(device + " is not one of COM1..COM9 (profile keys "
                                         "\"COM<n>_DEVICE\"): this modem cannot be used."));
}

void CSelectModemDialog::accept() {
    const int i = modems_->currentIndex();
    const int com = comPort();
    if (i >= 0) profile_.writeInt(kProfileSectionSet, "SELECT_MODEM_NO", i);
    profile_.writeInt(kProfileSectionSet, "SELECT_MODEM_PORT", com);
    QDialog::accept();
}

}  // namespace brightline::ui
