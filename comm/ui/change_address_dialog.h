#pragma once
// "Change COM communication address *": asks for the sign's new COM address and baud rate and
// the network settings to give it; Send checks them, asks, and hands the change on through
// sendRequested() (the main window then runs SetAddress). The dialog stays open. The baud rate
// cannot be changed while a modem connection holds the link. User interface thread only.
#include <QDialog>

#include "comm/comm_settings.h"
#include "comm/sign_requests.h"

class QComboBox;
class QPushButton;
class QSpinBox;

namespace brightline {
class OperatorMessages;
}

namespace brightline::ui {

class NetworkFields;

class CChangeAddressDialog : public QDialog {
    Q_OBJECT
  public:
    // `settings`: the current address and baud index, and the network settings last given to a
    // sign; `linkHeld`: a modem connection holds the link. `messages` is borrowed.
    CChangeAddressDialog(const CommSettings& settings, bool linkHeld, OperatorMessages& messages,
                         QWidget* parent = nullptr);

    QSpinBox* addressEdit() const { return address_; }
    QComboBox* baudChoice() const { return baud_; }
    NetworkFields* network() const { return network_; }
    QPushButton* sendButton() const { return send_; }
    // The values on screen.
    AddressChange change() const;

  signals:
    void sendRequested(const brightline::AddressChange& change);

  public slots:
    void send();

  private:
    OperatorMessages& messages_;
    QSpinBox* address_ = nullptr;
    QComboBox* baud_ = nullptr;
    NetworkFields* network_ = nullptr;
    QPushButton* send_ = nullptr;
};

}  // namespace brightline::ui
