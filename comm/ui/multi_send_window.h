#pragma once
// "Sending to signs": a row per sign (its link, how many files it has been sent, its outcome) and
// one line per event of each sign while the workspace folder goes to several signs at once
// (MultiSend on a thread of its own), then the summary. "Stop" ends every send at
// its next wait; the window closes only once all have ended. User interface thread only.
#include <QWidget>
#include <memory>
#include <thread>
#include <vector>

#include "comm/multi_send.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace brightline::ui {

class MultiSendWindow : public QWidget {
    Q_OBJECT
  public:
    // Starts at once. `base` and `profile` as MultiSend takes them (`profile` borrowed).
    MultiSendWindow(std::vector<CLED_Set_Data> signs, const OperationEnvironment& base,
                    const Profile& profile, QWidget* parent = nullptr);
    ~MultiSendWindow() override;

    bool running() const { return running_; }
    QString lines() const;
    QString summary() const;
    // The sign rows: name, link, files sent ("3/7"), outcome ("waiting", "sending", "done",
    // "FAILED: ...").
    QTreeWidget* signRows() const { return rows_; }
    const std::vector<SignSendResult>& results() const { return results_; }
    QPushButton* stopButton() const { return stop_; }

  signals:
    void finished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void addLine(const QString& line);
    void done(const std::vector<SignSendResult>& results);
    void showProgress(size_t sign, int sent, int files);

    std::unique_ptr<MultiSend> send_;
    std::thread thread_;
    bool running_ = true;
    bool closeWhenDone_ = false;
    std::vector<SignSendResult> results_;
    QTreeWidget* rows_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* stop_ = nullptr;
};

}  // namespace brightline::ui
