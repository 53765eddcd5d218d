#pragma once
// "Page Format": the layout ("Horizontal Layout" or "Vertically Layout") and the page size
// ("Page Width:" and "Page Height:" in "Pixel"), opened with the document's current format.
//
// OK hands the three values to `apply`, which checks and applies them (the editor's Page Format
// rule). A refusal shows its message, puts the current value back into the field it names,
// selects it, and keeps the dialog open; an acceptance closes it.
#include <QDialog>
#include <functional>

#include "pageeditor/page_format.h"
#include "pageeditor/text_page.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brightline::ui {

class PageFormatDialog : public QDialog {
    Q_OBJECT

  public:
    using Apply = std::function<pageeditor::PageFormatCheck(pageeditor::PageLayout, int, int)>;
    PageFormatDialog(const pageeditor::PageGeometry& current, Apply apply,
                     QWidget* parent = nullptr);

    void accept() override;

    QRadioButton* horizontalButton() const { return horizontal_; }
    QRadioButton* verticalButton() const { return vertical_; }
    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* heightEdit() const { return height_; }
    QPushButton* okButton() const { return ok_; }

  private:
    pageeditor::PageGeometry current_;
    Apply apply_;
    QRadioButton* horizontal_;
    QRadioButton* vertical_;
    QLineEdit* width_;
    QLineEdit* height_;
    QPushButton* ok_;
};

}  // namespace brightline::ui
