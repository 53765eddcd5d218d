#pragma once
// The program's step guide "Program \tGuide": five steps that the program frame carries out
// (queued), and "Don't show this again", written to "SET"/"SHOW_STEP_PROGRAM" when it closes.
#include <QDialog>

class QCheckBox;

namespace brightline::ui {

class CStepGuide : public QDialog {
    Q_OBJECT
  public:
    explicit CStepGuide(QWidget* parent = nullptr);
    bool dontShowAgain() const;
    QCheckBox* dontShowBox() const { return dontShow_; }

  signals:
    void stepChosen(int step);  // 1..5

  protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

  private:
    void remember();
    QCheckBox* dontShow_;
    bool remembered_ = false;
};

}  // namespace brightline::ui
