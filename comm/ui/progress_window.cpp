#include "comm/ui/progress_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "comm/sign_messages.h"

namespace brightline::ui {

namespace {
constexpr int kAnimationFrames = 8;
constexpr int kAnimationPeriodMs = 120;
}  // namespace

ProgressWindow::ProgressWindow(int range, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("ProgressWindow");
    bar_ = new QProgressBar(this);
    bar_->setRange(0, std::max(range, 1));
    bar_->setValue(0);
    animation_ = new QLabel(this);
    animation_->setFixedSize(160, 24);
    auto* sending = new QLabel(kMsgSending, this);
    file_ = new QLabel(this);
    file_->setMinimumWidth(300);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(animation_, 0, Qt::AlignHCenter);
    layout->addWidget(sending);
    layout->addWidget(file_);
    layout->addWidget(bar_);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &ProgressWindow::animate);
    timer_->start(kAnimationPeriodMs);
    animate();
}

void ProgressWindow::setPosition(int position) {
    bar_->setValue(std::min(position, bar_->maximum()));
}
void ProgressWindow::setFileName(const QString& name) {
    file_->setText(name);
}
int ProgressWindow::position() const {
    return bar_->value();
}
int ProgressWindow::range() const {
    return bar_->maximum();
}
QString ProgressWindow::fileName() const {
    return file_->text();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Pages flying from the computer to the sign, in a loop.
void ProgressWindow::animate() {
    QPixmap pixmap(animation_->size());
    pixmap.fill(palette().window().color());
    QPainter p(&pixmap);
    p.setPen(Qt::darkGray);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(2, 4, 24, 16);
    p.setBrush(Qt::black);
    p.drawRect(pixmap.width() - 34, 2, 32, 20);
    const int span = pixmap.width() - 70;
    const int x = 30 + span * frame_ / (kAnimationFrames - 1);
    p.setBrush(QColor(255, 200, 0));
    p.drawRect(x, 8, 8, 8);
    animation_->setPixmap(pixmap);
    frame_ = (frame_ + 1) % kAnimationFrames;
}

}  // namespace brightline::ui
