#pragma once
// The new network settings both address dialogs ask for: new IP address, subnet mask and
// default gateway, filled from the values last given to a sign ("NEW_IP0".., "Subnetmask0"..,
// "DefaultGateway0"..), and the check that runs before anything is sent.
#include <QWidget>

#include "comm/comm_settings.h"
#include "comm/sign_requests.h"

namespace brightline {
class OperatorMessages;
}

namespace brightline::ui {

class IpAddressEdit;

class NetworkFields : public QWidget {
    Q_OBJECT
  public:
    explicit NetworkFields(const CommSettings& settings, QWidget* parent = nullptr);
    Ipv4 ip() const;
    Ipv4 mask() const;
    Ipv4 gateway() const;
    IpAddressEdit* ipEdit() const { return ip_; }
    IpAddressEdit* maskEdit() const { return mask_; }
    IpAddressEdit* gatewayEdit() const { return gateway_; }

    // The checks in their order; a refusal is shown (application title, OK, no icon) and false
    // returned. Then `question` (caption "INFO", OK and Cancel, question icon): true on OK.
    bool confirm(OperatorMessages& messages, const std::string& question) const;

  private:
    IpAddressEdit* ip_;
    IpAddressEdit* mask_;
    IpAddressEdit* gateway_;
};

}  // namespace brightline::ui
