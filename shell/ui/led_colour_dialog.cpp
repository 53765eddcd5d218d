#include "shell/ui/led_colour_dialog.h"

#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace brightline::ui {

CLedColourDialog::CLedColourDialog(bool grey, QWidget* parent) : QDialog(parent) {
    setWindowTitle("LED Colour Set");
    rgb_ = new QRadioButton("RGB 32", this);
    grey_ = new QRadioButton("Grayscale", this);
    (grey ? grey_ : rgb_)->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgb_);
    layout->addWidget(grey_);
    layout->addWidget(buttons);
}

int CLedColourDialog::value() const {
    return grey_->isChecked() ? 1 : 0;
}

}  // namespace brightline::ui
