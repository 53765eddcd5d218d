#include "pageeditor/ui/extend_font_style_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

#include "pageeditor/ui/standard_dialogs.h"

namespace brightline::ui {

namespace {

QLineEdit* signedEdit(qint64 value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setValidator(new QIntValidator(INT_MIN, INT_MAX, edit));
    return edit;
}

}  // namespace

ExtendFontStyleDialog::ExtendFontStyleDialog(const pageeditor::CurrentStyle& current,
                                             StandardDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setWindowTitle("Extend Font Style");
    auto* group = new QGroupBox("Set contour character", this);
    contour_ = new QCheckBox("Font with contour character", group);
    contour_->setChecked(current.contour != 0);
    width_ = signedEdit(current.outlineWidth, group);
    // The colour is shown as the signed number it is read back as.
    color_ = signedEdit(int32_t(current.outlineColor), group);
    pick_ = new QPushButton("...", group);
    pick_->setFixedWidth(pick_->fontMetrics().horizontalAdvance("...") + 16);

    auto* grid = new QGridLayout(group);
    grid->addWidget(contour_, 0, 0, 1, 3);
    grid->addWidget(new QLabel("Outline width", group), 1, 0);
    grid->addWidget(width_, 1, 1);
    grid->addWidget(new QLabel("Outline color", group), 2, 0);
    grid->addWidget(color_, 2, 1);
    grid->addWidget(pick_, 2, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(contour_, &QCheckBox::toggled, this, &ExtendFontStyleDialog::updateEnabled);
    connect(pick_, &QPushButton::clicked, this, &ExtendFontStyleDialog::pickColor);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    updateEnabled();
}

void ExtendFontStyleDialog::updateEnabled() {
    const bool on = contour_->isChecked();
    width_->setEnabled(on);
    color_->setEnabled(on);
    pick_->setEnabled(on);
}

void ExtendFontStyleDialog::pickColor() {
    if (auto chosen = dialogs_.chooseColor(this, outlineColor()))
        color_->setText(QString::number(int32_t(*chosen)));
}

int32_t ExtendFontStyleDialog::contour() const {
    return contour_->isChecked() ? 1 : 0;
}

int32_t ExtendFontStyleDialog::outlineWidth() const {
    return width_->text().toInt();
}

uint32_t ExtendFontStyleDialog::outlineColor() const {
    return uint32_t(color_->text().toInt());
}

}  // namespace brightline::ui
