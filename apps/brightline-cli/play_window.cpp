#include "apps/brightline-cli/play_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "apps/brightline-cli/interrupt_watch.h"
#include "engine/engine.h"
#include "engine/frame_sink.h"
#include "pageeditor/render/gui_session.h"

namespace brightline::cli {
namespace {

bool isSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// The window: the last frame the engine drew, enlarged by whole pixels, on black.
class ShowWindow : public QRasterWindow, public engine::FrameSink {
  public:
    // Engine thread: keeps a copy of the frame for the next paint.
    void frame(int width, int height, const uint32_t* pixels, uint64_t) override {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) row[x] = pixels[size_t(y) * width + x] | 0xff000000u;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        image_ = std::move(image);
        fresh_ = true;
    }
    // Interface thread: true once when a frame arrived since the last call.
    bool takeFresh() {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool fresh = fresh_;
        fresh_ = false;
        return fresh;
    }
    QSize frameSize() {
        std::lock_guard<std::mutex> lock(mutex_);
        return image_.size();
    }
    bool closed() const { return closed_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
        std::lock_guard<std::mutex> lock(mutex_);
        if (image_.isNull()) return;
        // Whole screen pixels per sign pixel, centred: the sign's pixels stay sharp squares.
        const int scale =
            std::max(1, std::min(width() / image_.width(), height() / image_.height()));
        const QSize shown = image_.size() * scale;
        const QPoint at((width() - shown.width()) / 2, (height() - shown.height()) / 2);
        painter.drawImage(QRect(at, shown), image_);
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::Close) closed_ = true;
        return QRasterWindow::event(e);
    }
    // Escape or Q closes the window, as the close button does.
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Q) close();
    }

  private:
    std::mutex mutex_;
    QImage image_;
    bool fresh_ = false;
    bool closed_ = false;
};

}  // namespace

std::string noScreenReason() {
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM")) return "";
    return "there is no display to show a window on (DISPLAY is not set); write the frames with "
           "--frames DIR or --gif FILE instead";
}

bool playInWindow(engine::Engine& player, engine::TeeSink& sinks, const std::string& title,
                  const std::function<void()>& start, const InterruptWatch& interrupts,
                  std::string* why) {
    if (QGuiApplication::instance()) {
        if (why) *why = "a window cannot be shown after Qt was started without a display";
        return false;
    }
    // Qt ends the program when its platform cannot reach the display; with the offscreen platform
    // as the last choice it starts, and a display that cannot be reached is said so.
    const bool platformGiven = isSet("QT_QPA_PLATFORM");
    if (!platformGiven)
        setenv("QT_QPA_PLATFORM",
               isSet("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen", 1);
    pageeditor::GuiSession gui;  // a private runtime folder when there is none
    if (!platformGiven) unsetenv("QT_QPA_PLATFORM");
    if (!platformGiven && QGuiApplication::platformName() == "offscreen") {
        const char* display = std::getenv(isSet("WAYLAND_DISPLAY") ? "WAYLAND_DISPLAY" : "DISPLAY");
        if (why)
            *why = std::string("cannot connect to the display ") + (display ? display : "") +
                   "; write the frames with --frames DIR or --gif FILE instead";
        return false;
    }
    if (!QGuiApplication::primaryScreen()) {
        if (why) *why = "the display has no screen to show a window on";
        return false;
    }
    ShowWindow window;
    window.setTitle(QString::fromStdString(title));
    sinks.add(&window);
    start();

    // The window takes the size of the sign once its first frame is known, enlarged as much as
    // the screen allows.
    bool sized = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window.takeFresh()) {
            if (!sized) {
                const QSize sign = window.frameSize();
                const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
                const int scale =
                    std::max(1, std::min((screen.width() - 40) / std::max(1, sign.width()),
                                         (screen.height() - 80) / std::max(1, sign.height())));
                window.resize(sign * std::min(scale, 16));
                window.show();
                sized = true;
            }
            window.update();
        }
        if (window.closed() || interrupts.interrupted() || !player.running())
            QCoreApplication::quit();
    });
    poll.start();
    QGuiApplication::exec();
    poll.stop();
    // A closed window or Ctrl+C ends the show here (one that ended by itself has ended already).
    player.stop();
    return true;
}

}  // namespace brightline::cli
