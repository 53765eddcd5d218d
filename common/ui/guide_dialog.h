#pragma once
// A modeless guide of numbered steps: one button a step, then "Don't show this again". A button
// reports its step (1..n) through stepChosen(); the owner carries it out, queued. When the guide
// closes with the box ticked, `profileKey` of the profile's section "SET" is written as 1. The
// main window's "Getting started" and the program frame's "Program \tGuide" are two of these.
// User interface thread only.
#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;

namespace brightline::ui {

class GuideDialog : public QDialog {
    Q_OBJECT
  public:
    // `steps`: the buttons' texts in order; `padding`: the buttons' inner padding in pixels
    // (vertical, horizontal).
    GuideDialog(const QString& title, const std::vector<const char*>& steps, std::string profileKey,
                int verticalPadding, int horizontalPadding, QWidget* parent = nullptr);
    bool dontShowAgain() const;
    QCheckBox* dontShowBox() const { return dontShow_; }

  signals:
    void stepChosen(int step);  // 1..n

  protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

  private:
    void remember();
    std::string profileKey_;
    QCheckBox* dontShow_;
    bool remembered_ = false;
};

}  // namespace brightline::ui
