#include "comm/ui/operation_windows.h"

#include <QFile>
#include <QMetaObject>

#include "comm/sign_messages.h"
#include "comm/ui/file_list_window.h"
#include "comm/ui/progress_window.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

OperationWindows::OperationWindows(QWidget* owner) : owner_(owner) {}

OperationWindows::~OperationWindows() {
    delete progress_;
    delete fileList_;
}

void OperationWindows::progressOpened(int range) {
    QMetaObject::invokeMethod(
        this,
        [this, range] {
            delete progress_;
            lastPosition_ = 0;
            lastFileName_.clear();
            progress_ = new ProgressWindow(range, owner_);
            progress_->show();
        },
        Qt::QueuedConnection);
}

void OperationWindows::progressPosition(int position) {
    QMetaObject::invokeMethod(
        this,
        [this, position] {
            lastPosition_ = position;
            if (progress_) progress_->setPosition(position);
        },
        Qt::QueuedConnection);
}

void OperationWindows::progressFileName(const std::string& name) {
    const QString text = qs(name);
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            lastFileName_ = text;
            if (progress_) progress_->setFileName(text);
        },
        Qt::QueuedConnection);
}

void OperationWindows::progressClosed() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            delete progress_;
            progress_ = nullptr;
        },
        Qt::QueuedConnection);
}

void OperationWindows::verificationStarted() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (progress_) progress_->setFileName(kMsgVerifying);
        },
        Qt::QueuedConnection);
}

void OperationWindows::verificationDone(const std::vector<std::string>& problems, int files) {
    QString text = problems.empty()
                       ? QString("Verified: all %1 files are on the sign").arg(files)
                       : QString("Not as sent on the sign: %1").arg(qs(problems.front()));
    if (problems.size() > 1) text += QString(" and %1 more").arg(problems.size() - 1);
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            lastVerification_ = text;
            if (progress_) progress_->setFileName(text);
            emit verificationShown(text);
        },
        Qt::QueuedConnection);
}

void OperationWindows::showFileList(const std::string& text) {
    const QString shown = qs(text);
    QMetaObject::invokeMethod(
        this,
        [this, shown] {
            if (!fileList_) fileList_ = new FileListWindow(owner_);
            fileList_->showText(shown);
            fileList_->show();
            fileList_->raise();
        },
        Qt::QueuedConnection);
}

}  // namespace brightline::ui
