#include "editor/ui/item_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "common/ui/qt_text.h"
#include "editor/element_list.h"

namespace brightline::ui {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

CSetSpeedDialog::CSetSpeedDialog(int speed, QWidget* parent) : QDialog(parent) {
    setObjectName("CSetSpeedDialog");
    setWindowTitle("Set speed");
    list_ = new QComboBox(this);
    for (int i = 1; i <= kSpeedChoices; ++i) list_->addItem(QString::number(i));
    list_->setCurrentIndex(speed >= 0 && speed < kSpeedChoices ? speed : 0);
    auto* form = new QFormLayout(this);
    form->addRow("Speed:", list_);
    form->addRow(okCancel(this));
}

int CSetSpeedDialog::speed() const {
    return list_->currentIndex();
}

CSetDelayDialog::CSetDelayDialog(int hold, OperatorMessages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setObjectName("CSetDelayDialog");
    setWindowTitle("Set delay time at stop   ");
    field_ = new QLineEdit(QString::number(hold), this);
    field_->selectAll();
    auto* form = new QFormLayout(this);
    form->addRow("Delay (s):", field_);
    form->addRow(okCancel(this));
    delay_ = hold;
}

void CSetDelayDialog::accept() {
    int seconds = 0;
    if (!parseDelay(ss(field_->text().trimmed()), seconds)) {
        messages_.show(OperatorMessage{ss(QString(kMsgDelayRange).arg(0).arg(kMaxDelaySeconds)), "",
                                       MessageIcon::Warning, MessageButtons::Ok});
        field_->setFocus();
        field_->selectAll();
        return;
    }
    delay_ = seconds;
    QDialog::accept();
}

}  // namespace brightline::ui
