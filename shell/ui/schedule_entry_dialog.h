#pragma once
// The entry dialog "Schedule": the kind ("Week", "Day", "Other"), the day check boxes of the
// kind (seven "Sun." .. "Sat.", two to a row; or 31 "1" .. "31", ten to a row), "Select All" and
// "clear  All", "Start Time:" and "End Time:" ("HH:mm"), "Start Date:" and "End Date:" each
// with "Ignore" (which hides its date), OK and Cancel.
//
// Switching the kind destroys the boxes of the old kind and creates cleared ones of the new;
// "Other" hides the buttons, the pickers and the "Ignore" boxes. OK copies the boxes into the
// entry's weekdays (Week) or days (Day), the times, the dates and the "Ignore" boxes; what the
// dialog does not show (the months, the other kind's boxes) stays as the entry had it.
// User interface thread only.
#include <QDialog>
#include <QList>

#include "shell/schedule.h"

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimeEdit;

namespace brightline::ui {

class CScheduleDialog : public QDialog {
    Q_OBJECT
  public:
    // Preset from `entry` (a new one from newScheduleEntry()).
    explicit CScheduleDialog(const CAT_Data& entry, QWidget* parent = nullptr);

    // The entry with the dialog's values.
    CAT_Data entry() const;

    QRadioButton* kindButton(int kind) const { return kinds_[kind]; }
    // The check boxes of the current kind, in order.
    const QList<QCheckBox*>& boxes() const { return boxes_; }
    QPushButton* selectAllButton() const { return selectAll_; }
    QPushButton* clearAllButton() const { return clearAll_; }
    QTimeEdit* startTime() const { return startTime_; }
    QTimeEdit* endTime() const { return endTime_; }
    QDateEdit* startDate() const { return startDate_; }
    QDateEdit* endDate() const { return endDate_; }
    QCheckBox* ignoreStart() const { return ignoreStart_; }
    QCheckBox* ignoreEnd() const { return ignoreEnd_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void setKind(int kind);
    void tickAll(bool on);

    CAT_Data entry_;
    int kind_ = CAT_Data::Week;
    QRadioButton* kinds_[3] = {};
    QGroupBox* group_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QList<QCheckBox*> boxes_;
    QPushButton* selectAll_ = nullptr;
    QPushButton* clearAll_ = nullptr;
    QList<QWidget*> timedOnly_;  // hidden for "Other"
    QTimeEdit* startTime_ = nullptr;
    QTimeEdit* endTime_ = nullptr;
    QDateEdit* startDate_ = nullptr;
    QDateEdit* endDate_ = nullptr;
    QCheckBox* ignoreStart_ = nullptr;
    QCheckBox* ignoreEnd_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace brightline::ui
