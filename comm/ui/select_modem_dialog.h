#pragma once
// "Select Modem": this machine's modems by name, with the device of the one chosen and the COM
// number it is reached as. OK stores "SELECT_MODEM_NO" and "SELECT_MODEM_PORT" (-1 when no COM
// number maps to the device, which the dialog says). User interface thread only.
#include <QDialog>
#include <vector>

#include "comm/modem_list.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace brightline {
class Profile;
}

namespace brightline::ui {

class CSelectModemDialog : public QDialog {
    Q_OBJECT
  public:
    // `modems` as installedModems() gives them; `profile` (borrowed) holds the choice.
    CSelectModemDialog(std::vector<InstalledModem> modems, Profile& profile,
                       QWidget* parent = nullptr);

    QComboBox* modemChoice() const { return modems_; }
    QLineEdit* portField() const { return port_; }
    QLabel* note() const { return note_; }
    // The COM number of the modem shown, -1 when none.
    int comPort() const;

  public slots:
    void accept() override;

  private:
    void showPort();

    std::vector<InstalledModem> list_;
    Profile& profile_;
    QComboBox* modems_ = nullptr;
    QLineEdit* port_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace brightline::ui
