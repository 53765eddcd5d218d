#include "shell/ui/getting_started_guide.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/profile.h"

namespace brightline::ui {

namespace {
const char* const kSteps[] = {"Step1 :   Set communication", "Step2 :   Create new program",
                              "Step3 :  Send Program"};
}  // namespace

CGettingStartedGuide::CGettingStartedGuide(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Getting started");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(kSteps[i], this);
        button->setStyleSheet("text-align: left; padding: 8px 16px;");
        connect(button, &QPushButton::clicked, this, [this, i] { emit stepChosen(i + 1); });
        layout->addWidget(button);
    }
    dontShow_ = new QCheckBox("Don't show this again", this);
    layout->addWidget(dontShow_);
}

void CGettingStartedGuide::remember() {
    if (remembered_) return;
    remembered_ = true;
    if (dontShow_->isChecked()) appProfile().writeInt(kProfileSectionSet, "SHOW_STEP", 1);
}

void CGettingStartedGuide::done(int result) {
    remember();
    QDialog::done(result);
}

void CGettingStartedGuide::closeEvent(QCloseEvent* event) {
    remember();
    QDialog::closeEvent(event);
}

}  // namespace brightline::ui
