#include "comm/ui/multi_send_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/qt_text.h"

namespace brightline::ui {

MultiSendWindow::MultiSendWindow(std::vector<CLED_Set_Data> signs, const OperationEnvironment& base,
                                 const Profile& profile, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName("MultiSendWindow");
    setWindowTitle("Sending to signs");
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    summary_ = new QLabel("Sending...", this);
    stop_ = new QPushButton("Stop", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log_);
    layout->addWidget(summary_);
    layout->addWidget(stop_, 0, Qt::AlignRight);
    resize(520, 320);
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (!running_) {
            close();
            return;
        }
        stop_->setEnabled(false);
        summary_->setText("Stopping...");
        send_->stop();
    });
    // The sends report from their own threads; this window is alive until the thread has ended
    // (the destructor joins it), so the queued calls below always find it.
    send_ = std::make_unique<MultiSend>(
        std::move(signs), base, profile, [this](const std::string& sign, const std::string& text) {
            const QString line = qs(sign + ": " + text);
            QMetaObject::invokeMethod(
                this, [this, line] { addLine(line); }, Qt::QueuedConnection);
        });
    thread_ = std::thread([this] {
        std::vector<SignSendResult> results = send_->run();
        QMetaObject::invokeMethod(
            this, [this, results] { done(results); }, Qt::QueuedConnection);
    });
}

MultiSendWindow::~MultiSendWindow() {
    send_->stop();
    if (thread_.joinable()) thread_.join();
}

QString MultiSendWindow::lines() const {
    return log_->toPlainText();
}

QString MultiSendWindow::summary() const {
    return summary_->text();
}

void MultiSendWindow::addLine(const QString& line) {
    log_->appendPlainText(line);
}

void MultiSendWindow::done(const std::vector<SignSendResult>& results) {
    if (thread_.joinable()) thread_.join();
    running_ = false;
    results_ = results;
    summary_->setText(qs(multiSendSummary(results)));
    stop_->setText("Close");
    stop_->setEnabled(true);
    emit finished();
    if (closeWhenDone_) close();
}

void MultiSendWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        // Closed while sending: stop every send and close once they have ended.
        closeWhenDone_ = true;
        stop_->setEnabled(false);
        summary_->setText("Stopping...");
        send_->stop();
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace brightline::ui
