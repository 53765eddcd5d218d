#pragma once
// "Extend Font Style": the group "Set contour character" with the check box "Font with contour
// character", "Outline width" (pixels) and "Outline color" (the colour 0x00BBGGRR as a decimal
// number) with a "..." button that opens the colour dialog preset to that number. The two fields
// and the button are enabled only while the box is ticked. It opens with the current contour
// style; both numbers are read as signed integers (an empty field is 0).
#include <QDialog>
#include <cstdint>

#include "pageeditor/text_document.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace brightline::ui {

class StandardDialogs;

class ExtendFontStyleDialog : public QDialog {
    Q_OBJECT

  public:
    // `dialogs` (borrowed) shows the colour dialog for "...".
    ExtendFontStyleDialog(const pageeditor::CurrentStyle& current, StandardDialogs& dialogs,
                          QWidget* parent = nullptr);

    int32_t contour() const;
    int32_t outlineWidth() const;
    uint32_t outlineColor() const;

    QCheckBox* contourBox() const { return contour_; }
    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* colorEdit() const { return color_; }
    QPushButton* colorButton() const { return pick_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void updateEnabled();
    void pickColor();

    StandardDialogs& dialogs_;
    QCheckBox* contour_;
    QLineEdit* width_;
    QLineEdit* color_;
    QPushButton* pick_;
    QPushButton* ok_;
};

}  // namespace brightline::ui
