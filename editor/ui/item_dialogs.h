#pragma once
// The item view's two small dialogs. "Set speed": a drop-down list "Speed:" with the entries "1"
// to "8" (the element's speed 0..7). "Set delay time at stop   ": one number field "Delay (s):";
// OK with anything but a whole number from 0 to 86399 shows "Please enter an integer between 0
// and 86399." and the dialog stays open. User interface thread only.
#include <QDialog>

#include "common/operator_messages.h"

class QComboBox;
class QLineEdit;

namespace brightline::ui {

inline constexpr const char* kMsgDelayRange = "Please enter an integer between %1 and %2.";

class CSetSpeedDialog : public QDialog {
    Q_OBJECT
  public:
    // `speed` 0..7 selects the entry; anything else selects "1".
    CSetSpeedDialog(int speed, QWidget* parent = nullptr);
    int speed() const;
    QComboBox* list() const { return list_; }

  private:
    QComboBox* list_;
};

class CSetDelayDialog : public QDialog {
    Q_OBJECT
  public:
    // `messages` (borrowed) shows the range message.
    CSetDelayDialog(int hold, OperatorMessages& messages, QWidget* parent = nullptr);
    int delay() const { return delay_; }
    QLineEdit* field() const { return field_; }
    void accept() override;

  private:
    OperatorMessages& messages_;
    QLineEdit* field_;
    int delay_ = 0;
};

}  // namespace brightline::ui
