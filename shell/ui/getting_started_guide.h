#pragma once
// "Getting started": three steps the main window carries out (queued) and "Don't show this
// again", read when the guide closes ("SET"/"SHOW_STEP" = 1 when ticked). It stays open after a
// step.
#include <QDialog>

class QCheckBox;

namespace brightline::ui {

class CGettingStartedGuide : public QDialog {
    Q_OBJECT
  public:
    explicit CGettingStartedGuide(QWidget* parent = nullptr);
    QCheckBox* dontShowBox() const { return dontShow_; }

  signals:
    void stepChosen(int step);  // 1..3

  protected:
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void remember();
    QCheckBox* dontShow_;
    bool remembered_ = false;
};

}  // namespace brightline::ui
