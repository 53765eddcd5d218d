#include "shell/ui/schedule_preview.h"

#include <QCloseEvent>
#include <algorithm>

namespace brightline::ui {

namespace {

// The face is enlarged until it is about this wide (never shrunk).
constexpr int kComfortableWidth = 512;

}  // namespace

SchedulePreview::SchedulePreview(int signWidth, int signHeight, const CivilTime& at,
                                 std::function<void()> closed, QWidget* parent)
    : QWidget(parent, Qt::Window), closed_(std::move(closed)) {
    setObjectName("SchedulePreview");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::asprintf("Preview at %04d-%02d-%02d %02d:%02d:%02d", at.year, at.month,
                                     at.day, at.hour, at.minute, at.second));
    const int zoom = std::max(1, kComfortableWidth / std::max(1, signWidth));
    setFixedSize(signWidth * zoom, signHeight * zoom);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

void SchedulePreview::closeEvent(QCloseEvent* event) {
    if (closed_) closed_();
    event->accept();
}

}  // namespace brightline::ui
