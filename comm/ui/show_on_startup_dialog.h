#pragma once
// "Show On Startup": reads and writes which of its settings the sign shows when it starts.
// Works on the user interface thread, as the sign exchange is short and bounded by time-outs.
#include <QDialog>

#include <array>

#include "comm/sign_requests.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace brightline {
class SignOperations;
}

namespace brightline::ui {

class CShowOnStartupDialog : public QDialog {
    Q_OBJECT
  public:
    // `initial` are the six profile values; `operations` reach the current sign and show the
    // results ("Set show information on startup successful!\n" …) through their messages.
    CShowOnStartupDialog(SignOperations& operations, const BootParams& initial,
                         QWidget* parent = nullptr);

    // The boxes as they stand, in the order of BootParams.
    BootParams params() const;
    // True after a read or send the sign confirmed: the caller then stores params() in the profile.
    bool confirmed() const { return confirmed_; }

    QPushButton* readButton() const { return read_; }
    QPushButton* sendButton() const { return send_; }

  public slots:
    void readFromSign();
    void sendToSign();

  private:
    void showParams(const BootParams& params);

    SignOperations& operations_;
    // BootParams order: sign address, baud rate, IP address, subnet mask, default gateway,
    // firmware version.
    std::array<QCheckBox*, 6> boxes_{};
    QPushButton* read_ = nullptr;
    QPushButton* send_ = nullptr;
    bool confirmed_ = false;
};

// "Set Scan type": the sign's scan direction, 0..3 (network only).
class CScanTypeDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CScanTypeDialog(SignOperations& operations, QWidget* parent = nullptr);
    int direction() const;
    void setDirection(int direction);
    QPushButton* sendButton() const { return send_; }

  public slots:
    void sendToSign();

  private:
    SignOperations& operations_;
    std::array<QRadioButton*, 4> choices_{};
    QPushButton* send_ = nullptr;
};

}  // namespace brightline::ui
