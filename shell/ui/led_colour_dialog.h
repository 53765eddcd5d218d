#pragma once
// "LED Colour Set": "RGB 32" (0) or "Grayscale" (1), preset from the grey mode in force.
#include <QDialog>

class QRadioButton;

namespace brightline::ui {

class CLedColourDialog : public QDialog {
    Q_OBJECT
  public:
    CLedColourDialog(bool grey, QWidget* parent = nullptr);
    // The value to store as "SET"/"GRAY".
    int value() const;

  private:
    QRadioButton* rgb_;
    QRadioButton* grey_;
};

}  // namespace brightline::ui
