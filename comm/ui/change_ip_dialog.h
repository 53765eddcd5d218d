#pragma once
// "Change IP address *": gives a network sign a new IP address, subnet mask and default gateway.
// Send checks the values, asks, and runs Set IP to the host shown on the user interface thread
// (the exchange is short and bounded by the link's time-outs), its button reading "Sending..."
// meanwhile. After a success the caller adopts the new address when the dialog closes.
#include <QDialog>
#include <optional>
#include <string>

#include "comm/comm_settings.h"
#include "comm/sign_requests.h"

class QLineEdit;
class QPushButton;

namespace brightline {
class OperatorMessages;
class SignOperations;
}  // namespace brightline

namespace brightline::ui {

class NetworkFields;

class CChangeIpDialog : public QDialog {
    Q_OBJECT
  public:
    // `settings`: the current IP address and the values last given to a sign; `host`: where the
    // command goes. `operations` runs Set IP and shows its outcome; `messages` the checks.
    CChangeIpDialog(SignOperations& operations, const CommSettings& settings,
                    const std::string& host, OperatorMessages& messages, QWidget* parent = nullptr);

    NetworkFields* network() const { return network_; }
    QPushButton* sendButton() const { return send_; }
    // After a Set IP the sign confirmed: what it was given and its new host text.
    const std::optional<NetworkSettings>& changed() const { return changed_; }
    const std::string& newHost() const { return newHost_; }

  public slots:
    void send();

  private:
    SignOperations& operations_;
    OperatorMessages& messages_;
    NetworkFields* network_ = nullptr;
    QPushButton* send_ = nullptr;
    std::optional<NetworkSettings> changed_;
    std::string newHost_;
};

}  // namespace brightline::ui
