#pragma once
// "LED Colour Set": "RGB 32" (0) or "Grayscale" (1).
#include <QDialog>

class QRadioButton;

namespace brightline::ui {

class CLedColourDialog : public QDialog {
    Q_OBJECT
  public:
    CLedColourDialog(int grey, QWidget* parent = nullptr);
    int value() const;

  private:
    QRadioButton* rgb_;
    QRadioButton* grey_;
};

}  // namespace brightline::ui
