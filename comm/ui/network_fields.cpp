#include "comm/ui/network_fields.h"

#include <QFormLayout>

#include "comm/sign_messages.h"
#include "comm/ui/ip_address_edit.h"
#include "common/operator_messages.h"

namespace brightline::ui {

NetworkFields::NetworkFields(const CommSettings& settings, QWidget* parent) : QWidget(parent) {
    ip_ = new IpAddressEdit(this);
    mask_ = new IpAddressEdit(this);
    gateway_ = new IpAddressEdit(this);
    ip_->setValue(settings.newIp);
    mask_->setValue(settings.subnetMask);
    gateway_->setValue(settings.gateway);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow("New IP address:", ip_);
    form->addRow("Subnet mask:", mask_);
    form->addRow("Default gateway:", gateway_);
}

Ipv4 NetworkFields::ip() const {
    return ip_->value();
}
Ipv4 NetworkFields::mask() const {
    return mask_->value();
}
Ipv4 NetworkFields::gateway() const {
    return gateway_->value();
}

bool NetworkFields::confirm(OperatorMessages& messages, const std::string& question) const {
    if (auto refusal = refuseNetworkSettings(ip(), mask(), gateway())) {
        messages.show(*refusal, std::string(), MessageIcon::None, MessageButtons::Ok);
        return false;
    }
    return messages.show(question, kCaptionInfo, MessageIcon::Question, MessageButtons::OkCancel) ==
           MessageAnswer::Ok;
}

}  // namespace brightline::ui
