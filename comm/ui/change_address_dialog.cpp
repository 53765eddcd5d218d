#include "comm/ui/change_address_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstdio>

#include "comm/packet.h"
#include "comm/sign_messages.h"
#include "comm/ui/network_fields.h"

namespace brightline::ui {

CChangeAddressDialog::CChangeAddressDialog(const CommSettings& settings, bool linkHeld,
                                           OperatorMessages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setObjectName("CChangeAddressDialog");
    setWindowTitle("Change COM communication address *");
    auto* current = new QFormLayout;
    current->addRow("Current COM communication address:",
                    new QLabel(QString::number(settings.address), this));
    current->addRow("Current BPS:",
                    new QLabel(QString::number(baudRateForIndex(settings.baudIndex)), this));
    address_ = new QSpinBox(this);
    address_->setRange(1, 254);
    address_->setValue(settings.address >= 1 && settings.address <= 254 ? settings.address : 1);
    baud_ = new QComboBox(this);
    for (int rate : kBaudTable) baud_->addItem(QString::number(rate));
    baud_->setCurrentIndex(settings.baudIndex >= 0 && settings.baudIndex <= 7 ? settings.baudIndex
                                                                              : kDefaultBaudIndex);
    baud_->setEnabled(!linkHeld);
    network_ = new NetworkFields(settings, this);
    send_ = new QPushButton("Send", this);
    connect(send_, &QPushButton::clicked, this, &CChangeAddressDialog::send);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addWidget(new QLabel(
        "The new COM communication address you want to assign to the sign:   (1- - -254)", this));
    layout->addWidget(address_);
    auto* form = new QFormLayout;
    form->addRow("New BPS:", baud_);
    layout->addLayout(form);
    layout->addWidget(network_);
    layout->addWidget(send_, 0, Qt::AlignRight);
}

AddressChange CChangeAddressDialog::change() const {
    AddressChange c;
    c.address = address_->value();
    c.baudIndex = baud_->currentIndex();
    c.ip = network_->ip();
    c.mask = network_->mask();
    c.gateway = network_->gateway();
    return c;
}

void CChangeAddressDialog::send() {
    const AddressChange c = change();
    char question[512];
    std::snprintf(question, sizeof question, kAskChangeAddress, c.address,
                  baudRateForIndex(c.baudIndex));
    if (!network_->confirm(messages_, question)) return;
    emit sendRequested(c);
}

}  // namespace brightline::ui
