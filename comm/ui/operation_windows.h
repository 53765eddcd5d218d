#pragma once
// What the operator sees of a sign operation: the progress window while it runs and the file
// list window for "Get File List". The operation worker reports from its own thread; every call
// is handed to the user interface thread (queued), where the windows live.
#include <QObject>
#include <QPointer>

#include "comm/sign_operations.h"
#include "comm/ui/file_list_window.h"
#include "comm/ui/progress_window.h"

class QWidget;

namespace brightline::ui {

class OperationWindows : public QObject, public OperationObserver {
    Q_OBJECT
  public:
    // The windows are centred over `owner` (borrowed).
    explicit OperationWindows(QWidget* owner);
    ~OperationWindows() override;

    void progressOpened(int range) override;
    void progressPosition(int position) override;
    void progressFileName(const std::string& name) override;
    void progressClosed() override;
    void showFileList(const std::string& text) override;
    // Shown in the progress window's file line and handed on through verificationShown().
    void verificationStarted() override;
    void verificationDone(const std::vector<std::string>& problems, int files) override;

    ProgressWindow* progress() const { return progress_; }
    FileListWindow* fileList() const { return fileList_; }
    // The progress window's last position and file name, also after it closed (tests).
    int lastPosition() const { return lastPosition_; }
    QString lastFileName() const { return lastFileName_; }
    QString lastVerification() const { return lastVerification_; }

  signals:
    // The outcome of a verified send, in words ("Verified: all 4 files are on the sign").
    void verificationShown(const QString& text);

  private:
    QWidget* owner_;
    QPointer<ProgressWindow> progress_;
    QPointer<FileListWindow> fileList_;
    int lastPosition_ = 0;
    QString lastFileName_;
    QString lastVerification_;
};

}  // namespace brightline::ui
