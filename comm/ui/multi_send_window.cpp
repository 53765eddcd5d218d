#include "comm/ui/multi_send_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/ui/qt_text.h"

namespace brightline::ui {

MultiSendWindow::MultiSendWindow(std::vector<CLED_Set_Data> signs, const OperationEnvironment& base,
                                 const Profile& profile, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName("MultiSendWindow");
    setWindowTitle("Sending to signs");
    rows_ = new QTreeWidget(this);
    rows_->setRootIsDecorated(false);
    rows_->setHeaderLabels({"Sign", "Link", "Sent", "Outcome"});
    rows_->header()->setStretchLastSection(true);
    for (const CLED_Set_Data& sign : signs) {
        auto* row = new QTreeWidgetItem(
            rows_, {qs(sign.name), sign.port > 0 ? QString("COM%1").arg(sign.port) : qs(sign.host),
                    QString(), "waiting"});
        auto* bar = new QProgressBar(rows_);
        bar->setFormat("%v/%m");
        bar->setRange(0, 1);
        bar->setValue(0);
        rows_->setItemWidget(row, 2, bar);
    }
    rows_->resizeColumnToContents(0);
    rows_->resizeColumnToContents(1);
    rows_->setColumnWidth(2, 140);
    rows_->setMaximumHeight(rows_->sizeHintForRow(0) * (static_cast<int>(signs.size()) + 1) +
                            rows_->header()->sizeHint().height() + 4);
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    summary_ = new QLabel("Sending...", this);
    stop_ = new QPushButton("Stop", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_);
    layout->addWidget(log_);
    layout->addWidget(summary_);
    layout->addWidget(stop_, 0, Qt::AlignRight);
    resize(760, 420);
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
    send_->onProgress([this](size_t sign, int sent, int files) {
        QMetaObject::invokeMethod(
            this, [this, sign, sent, files] { showProgress(sign, sent, files); },
            Qt::QueuedConnection);
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

void MultiSendWindow::showProgress(size_t sign, int sent, int files) {
    QTreeWidgetItem* row = rows_->topLevelItem(static_cast<int>(sign));
    if (!row) return;
    if (auto* bar = qobject_cast<QProgressBar*>(rows_->itemWidget(row, 2))) {
        bar->setRange(0, std::max(files, 1));
        bar->setValue(sent);
    }
    row->setText(3, "sending");
}

void MultiSendWindow::done(const std::vector<SignSendResult>& results) {
    if (thread_.joinable()) thread_.join();
    running_ = false;
    results_ = results;
    for (size_t i = 0; i < results.size(); ++i)
        if (QTreeWidgetItem* row = rows_->topLevelItem(static_cast<int>(i))) {
            row->setText(3, results[i].ok ? "done" : qs("FAILED: " + results[i].detail));
            row->setToolTip(3, row->text(3));  // a cause may be longer than the column
        }
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
