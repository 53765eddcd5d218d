#include "comm/ui/show_on_startup_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "comm/sign_operations.h"

namespace brightline::ui {
namespace {
constexpr const char* kSending = "Sending...";
constexpr const char* kSend = "Send";
constexpr const char* kReading = "Reading...";
constexpr const char* kRead = "Read";
}  // namespace

CShowOnStartupDialog::CShowOnStartupDialog(SignOperations& operations, const BootParams& initial,
                                           QWidget* parent)
    : QDialog(parent), operations_(operations) {
    setWindowTitle("Show On Startup");
    // The boxes in the dialog's order, each tied to its place in BootParams.
    struct Box {
        const char* text;
        int index;
    };
    const Box order[] = {{"Show sign address", 0},     {"Show baudrate", 1},
                         {"Show firmware version", 5}, {"Show IP address", 2},
                         {"Show subnet mask", 3},      {"Show default gateway", 4}};
    auto* layout = new QVBoxLayout(this);
    for (const Box& box : order) {
        boxes_[box.index] = new QCheckBox(box.text, this);
        layout->addWidget(boxes_[box.index]);
    }
    auto* buttons = new QHBoxLayout;
    send_ = new QPushButton(kSend, this);
    read_ = new QPushButton(kRead, this);
    buttons->addWidget(send_);
    buttons->addWidget(read_);
    layout->addLayout(buttons);
    connect(send_, &QPushButton::clicked, this, &CShowOnStartupDialog::sendToSign);
    connect(read_, &QPushButton::clicked, this, &CShowOnStartupDialog::readFromSign);
    showParams(initial);
}

void CShowOnStartupDialog::showParams(const BootParams& params) {
    for (size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->setChecked(params.show[i] != 0);
}

BootParams CShowOnStartupDialog::params() const {
    BootParams params;
    for (size_t i = 0; i < boxes_.size(); ++i) params.show[i] = boxes_[i]->isChecked() ? 1 : 0;
    return params;
}

void CShowOnStartupDialog::readFromSign() {
    read_->setText(kReading);
    QApplication::processEvents();
    if (auto params = operations_.readBootParams()) {
        showParams(*params);
        confirmed_ = true;
    }
    read_->setText(kRead);
}

void CShowOnStartupDialog::sendToSign() {
    const BootParams wanted = params();
    send_->setText(kSending);
    QApplication::processEvents();
    if (operations_.writeBootParams(wanted)) confirmed_ = true;
    send_->setText(kSend);
}

CScanTypeDialog::CScanTypeDialog(SignOperations& operations, QWidget* parent)
    : QDialog(parent), operations_(operations) {
    setWindowTitle("Set Scan type");
    const char* texts[] = {"Left->Right Top->Bottom", "Left->Right Top<-Bottom",
                           "Left<-Right Top->Bottom", "Left<-Right Top<-Bottom"};
    auto* layout = new QVBoxLayout(this);
    for (size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = new QRadioButton(texts[i], this);
        layout->addWidget(choices_[i]);
    }
    choices_[0]->setChecked(true);
    send_ = new QPushButton(kSend, this);
    layout->addWidget(send_);
    connect(send_, &QPushButton::clicked, this, &CScanTypeDialog::sendToSign);
}

int CScanTypeDialog::direction() const {
    for (size_t i = 0; i < choices_.size(); ++i)
        if (choices_[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

void CScanTypeDialog::setDirection(int direction) {
    if (direction >= 0 && direction < static_cast<int>(choices_.size()))
        choices_[static_cast<size_t>(direction)]->setChecked(true);
}

void CScanTypeDialog::sendToSign() {
    // With the serial link selected nothing further happens.
    operations_.setScanDirection(direction());
}

}  // namespace brightline::ui
