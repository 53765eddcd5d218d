#pragma once
// The window shown while a sign operation runs: no caption, centred, a progress bar with range
// 0..parameter, a looping animation, "Sending..." and the name of the file being sent. Enter and
// Escape are ignored; it closes when the operation finishes. User interface thread only.
#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

namespace brightline::ui {

class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ProgressWindow(int range, QWidget* parent = nullptr);
    void setPosition(int position);
    void setFileName(const QString& name);
    int position() const;
    int range() const;
    QString fileName() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override {}

  private:
    void animate();
    QProgressBar* bar_;
    QLabel* animation_;
    QLabel* file_;
    QTimer* timer_;
    int frame_ = 0;
};

}  // namespace brightline::ui
