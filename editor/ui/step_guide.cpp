#include "editor/ui/step_guide.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/profile.h"

namespace brightline::ui {

namespace {
const char* const kSteps[] = {"Step (1)   Create new ZRT file", "Step (2)   Add ZRT file",
                              "Step (3)   Drop ZRT file on a frame", "Step (4)   Preview",
                              "Step (5)   Send to LED sign"};
}  // namespace

CStepGuide::CStepGuide(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Program \tGuide");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 5; ++i) {
        auto* button = new QPushButton(kSteps[i], this);
        button->setStyleSheet("text-align: left; padding: 6px 12px;");
        connect(button, &QPushButton::clicked, this, [this, i] { emit stepChosen(i + 1); });
        layout->addWidget(button);
    }
    dontShow_ = new QCheckBox("Don't show this again", this);
    layout->addWidget(dontShow_);
}

bool CStepGuide::dontShowAgain() const {
    return dontShow_->isChecked();
}

void CStepGuide::remember() {
    if (remembered_) return;
    remembered_ = true;
    if (dontShow_->isChecked()) appProfile().writeInt(kProfileSectionSet, "SHOW_STEP_PROGRAM", 1);
}

void CStepGuide::closeEvent(QCloseEvent* event) {
    remember();
    QDialog::closeEvent(event);
}

void CStepGuide::done(int result) {
    remember();
    QDialog::done(result);
}

}  // namespace brightline::ui
