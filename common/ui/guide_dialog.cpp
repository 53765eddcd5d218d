#include "common/ui/guide_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/profile.h"

namespace brightline::ui {

GuideDialog::GuideDialog(const QString& title, const std::vector<const char*>& steps,
                         std::string profileKey, int verticalPadding, int horizontalPadding,
                         QWidget* parent)
    : QDialog(parent), profileKey_(std::move(profileKey)) {
    setWindowTitle(title);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    const QString style = QString("text-align: left; padding: %1px %2px;")
                              .arg(verticalPadding)
                              .arg(horizontalPadding);
    for (size_t i = 0; i < steps.size(); ++i) {
        auto* button = new QPushButton(steps[i], this);
        button->setStyleSheet(style);
        const int step = static_cast<int>(i) + 1;
        connect(button, &QPushButton::clicked, this, [this, step] { emit stepChosen(step); });
        layout->addWidget(button);
    }
    dontShow_ = new QCheckBox("Don't show this again", this);
    layout->addWidget(dontShow_);
}

bool GuideDialog::dontShowAgain() const {
    return dontShow_->isChecked();
}

void GuideDialog::remember() {
    if (remembered_) return;
    remembered_ = true;
    if (dontShow_->isChecked()) appProfile().writeInt(kProfileSectionSet, profileKey_, 1);
}

void GuideDialog::closeEvent(QCloseEvent* event) {
    remember();
    QDialog::closeEvent(event);
}

void GuideDialog::done(int result) {
    remember();
    QDialog::done(result);
}

}  // namespace brightline::ui
