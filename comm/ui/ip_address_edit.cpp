#include "comm/ui/ip_address_edit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace brightline::ui {

IpAddressEdit::IpAddressEdit(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (size_t i = 0; i < octets_.size(); ++i) {
        if (i > 0) row->addWidget(new QLabel(".", this));
        octets_[i] = new QSpinBox(this);
        octets_[i]->setRange(0, 255);
        octets_[i]->setButtonSymbols(QSpinBox::NoButtons);
        octets_[i]->setAlignment(Qt::AlignCenter);
        octets_[i]->setFixedWidth(48);
        row->addWidget(octets_[i]);
    }
    row->addStretch();
}

Ipv4 IpAddressEdit::value() const {
    Ipv4 ip{};
    for (size_t i = 0; i < octets_.size(); ++i) ip[i] = static_cast<uint8_t>(octets_[i]->value());
    return ip;
}

void IpAddressEdit::setValue(const Ipv4& ip) {
    for (size_t i = 0; i < octets_.size(); ++i) octets_[i]->setValue(ip[i]);
}

void IpAddressEdit::setReadOnly(bool readOnly) {
    for (QSpinBox* octet : octets_) octet->setReadOnly(readOnly);
}

}  // namespace brightline::ui
