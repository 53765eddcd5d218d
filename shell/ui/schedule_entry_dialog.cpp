#include "shell/ui/schedule_entry_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace brightline::ui {

namespace {

constexpr int kWeekColumns = 2;
constexpr int kWeekRowSpacing = 24;
constexpr int kDayColumns = 10;
constexpr int kDayBoxWidth = 40;
constexpr int kDayBoxGap = 20;

QDate dateOf(int year, int month, int day) {
    QDate date(year, month, day);
    return date.isValid() ? date : QDate::currentDate();
}

}  // namespace

CScheduleDialog::CScheduleDialog(const CAT_Data& entry, QWidget* parent)
    : QDialog(parent), entry_(entry) {
    setWindowTitle("Schedule");
    auto* kindRow = new QHBoxLayout;
    auto* kindGroup = new QButtonGroup(this);
    const char* const names[3] = {"Week", "Day", "Other"};
    for (int k = 0; k < 3; ++k) {
        kinds_[k] = new QRadioButton(names[k], this);
        kindGroup->addButton(kinds_[k], k);
        kindRow->addWidget(kinds_[k]);
    }
    kindRow->addStretch();

    group_ = new QGroupBox(this);
    grid_ = new QGridLayout(group_);
    selectAll_ = new QPushButton("Select All", this);
    clearAll_ = new QPushButton("clear  All", this);
    auto* tickRow = new QHBoxLayout;
    tickRow->addWidget(selectAll_);
    tickRow->addWidget(clearAll_);
    tickRow->addStretch();

    startTime_ = new QTimeEdit(QTime(entry.startHour, entry.startMinute), this);
    endTime_ = new QTimeEdit(QTime(entry.endHour, entry.endMinute), this);
    for (QTimeEdit* edit : {startTime_, endTime_}) edit->setDisplayFormat("HH:mm");
    startDate_ = new QDateEdit(dateOf(entry.startYear, entry.startMonth, entry.startDay), this);
    endDate_ = new QDateEdit(dateOf(entry.endYear, entry.endMonth, entry.endDay), this);
    for (QDateEdit* edit : {startDate_, endDate_}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat("yyyy-MM-dd");
    }
    ignoreStart_ = new QCheckBox("Ignore", this);
    ignoreEnd_ = new QCheckBox("Ignore", this);
    auto* pickers = new QGridLayout;
    auto* startTimeLabel = new QLabel("Start Time:", this);
    auto* endTimeLabel = new QLabel("End Time:", this);
    auto* startDateLabel = new QLabel("Start Date:", this);
    auto* endDateLabel = new QLabel("End Date:", this);
    pickers->addWidget(startTimeLabel, 0, 0);
    pickers->addWidget(startTime_, 0, 1);
    pickers->addWidget(endTimeLabel, 0, 2);
    pickers->addWidget(endTime_, 0, 3);
    pickers->addWidget(startDateLabel, 1, 0);
    pickers->addWidget(startDate_, 1, 1);
    pickers->addWidget(ignoreStart_, 1, 2);
    pickers->addWidget(endDateLabel, 2, 0);
    pickers->addWidget(endDate_, 2, 1);
    pickers->addWidget(ignoreEnd_, 2, 2);
    pickers->setColumnStretch(4, 1);
    timedOnly_ = {selectAll_,     clearAll_,  startTimeLabel, startTime_, endTimeLabel, endTime_,
                  startDateLabel, startDate_, endDateLabel,   endDate_,   ignoreStart_, ignoreEnd_};

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(group_);
    layout->addLayout(tickRow);
    layout->addLayout(pickers);
    layout->addStretch();
    layout->addWidget(buttons);

    // Only a switch rebuilds the boxes: clicking the kind already chosen keeps the ticks.
    connect(kindGroup, &QButtonGroup::idClicked, this, [this](int kind) {
        if (kind != kind_) setKind(kind);
    });
    connect(selectAll_, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(clearAll_, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(ignoreStart_, &QCheckBox::toggled, startDate_, &QWidget::setHidden);
    connect(ignoreEnd_, &QCheckBox::toggled, endDate_, &QWidget::setHidden);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const int kind = entry.kind >= CAT_Data::Week && entry.kind <= CAT_Data::Other
                         ? entry.kind
                         : CAT_Data::Other;
    kinds_[kind]->setChecked(true);
    setKind(kind);
    // An entry being edited shows its own boxes; switching the kind starts them cleared.
    for (int i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setChecked(kind == CAT_Data::Week ? entry.weekdays[size_t(i)] != 0
                                                     : entry.days[size_t(i)] != 0);
    ignoreStart_->setChecked(entry.openStart != 0);
    ignoreEnd_->setChecked(entry.openEnd != 0);
    startDate_->setHidden(entry.openStart != 0);
    endDate_->setHidden(entry.openEnd != 0);
}

void CScheduleDialog::setKind(int kind) {
    kind_ = kind;
    qDeleteAll(boxes_);
    boxes_.clear();
    if (kind == CAT_Data::Week) {
        grid_->setHorizontalSpacing(6);
        grid_->setVerticalSpacing(kWeekRowSpacing - 18);
        for (int i = 0; i < 7; ++i) {
            auto* box = new QCheckBox(kWeekdayNames[size_t(i)], group_);
            grid_->addWidget(box, i / kWeekColumns, i % kWeekColumns);
            boxes_.append(box);
        }
    } else if (kind == CAT_Data::Day) {
        grid_->setHorizontalSpacing(kDayBoxGap);
        for (int i = 0; i < 31; ++i) {
            auto* box = new QCheckBox(QString::number(i + 1), group_);
            box->setFixedWidth(kDayBoxWidth);
            grid_->addWidget(box, i / kDayColumns, i % kDayColumns);
            boxes_.append(box);
        }
    }
    for (QWidget* w : timedOnly_) w->setVisible(kind != CAT_Data::Other);
    if (kind != CAT_Data::Other) {
        startDate_->setHidden(ignoreStart_->isChecked());
        endDate_->setHidden(ignoreEnd_->isChecked());
    }
    group_->setVisible(kind != CAT_Data::Other);
}

void CScheduleDialog::tickAll(bool on) {
    for (QCheckBox* box : boxes_) box->setChecked(on);
}

CAT_Data CScheduleDialog::entry() const {
    CAT_Data e = entry_;
    e.kind = kind_;
    if (kind_ == CAT_Data::Week)
        for (int i = 0; i < boxes_.size(); ++i) e.weekdays[size_t(i)] = boxes_[i]->isChecked();
    if (kind_ == CAT_Data::Day)
        for (int i = 0; i < boxes_.size(); ++i) e.days[size_t(i)] = boxes_[i]->isChecked();
    e.startHour = startTime_->time().hour();
    e.startMinute = startTime_->time().minute();
    e.endHour = endTime_->time().hour();
    e.endMinute = endTime_->time().minute();
    e.startYear = startDate_->date().year();
    e.startMonth = startDate_->date().month();
    e.startDay = startDate_->date().day();
    e.endYear = endDate_->date().year();
    e.endMonth = endDate_->date().month();
    e.endDay = endDate_->date().day();
    e.openStart = ignoreStart_->isChecked() ? 1 : 0;
    e.openEnd = ignoreEnd_->isChecked() ? 1 : 0;
    return e;
}

}  // namespace brightline::ui
