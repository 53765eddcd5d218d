#include "pageeditor/ui/page_format_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/ui/qt_messages.h"

namespace brightline::ui {

using namespace pageeditor;

namespace {

// Digits only, as many as a page side can have; what is typed is checked on OK.
QLineEdit* numberEdit(int value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setValidator(new QIntValidator(0, 9999999, edit));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

}  // namespace

PageFormatDialog::PageFormatDialog(const PageGeometry& current, Apply apply, QWidget* parent)
    : QDialog(parent), current_(current), apply_(std::move(apply)) {
    setWindowTitle("Page Format");
    horizontal_ = new QRadioButton("Horizontal Layout", this);
    vertical_ = new QRadioButton("Vertically Layout", this);
    (current.layout == PageLayout::Horizontal ? horizontal_ : vertical_)->setChecked(true);
    width_ = numberEdit(current.pageWidth, this);
    height_ = numberEdit(current.pageHeight, this);

    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel("Page Width:", this), 0, 0);
    sizes->addWidget(width_, 0, 1);
    sizes->addWidget(new QLabel("Pixel", this), 0, 2);
    sizes->addWidget(new QLabel("Page Height:", this), 1, 0);
    sizes->addWidget(height_, 1, 1);
    sizes->addWidget(new QLabel("Pixel", this), 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &PageFormatDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(horizontal_);
    layout->addWidget(vertical_);
    layout->addLayout(sizes);
    layout->addWidget(buttons);
}

void PageFormatDialog::accept() {
    const PageLayout layout =
        horizontal_->isChecked() ? PageLayout::Horizontal : PageLayout::Vertical;
    const PageFormatCheck check = apply_(layout, width_->text().toInt(), height_->text().toInt());
    if (check.accepted) {
        QDialog::accept();
        return;
    }
    showMessage(check.message, this);
    QLineEdit* field = check.field == PageFormatField::Height ? height_ : width_;
    field->setText(QString::number(field == height_ ? current_.pageHeight : current_.pageWidth));
    field->setFocus();
    field->selectAll();
}

}  // namespace brightline::ui
