#include "editor/ui/preview_window.h"

#include <QMetaObject>
#include <QPainter>
#include <algorithm>

#include "engine/content/content_hooks.h"
#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/frame_sink.h"

namespace brightline::ui {

// Runs on the show player thread: copies the screen (the top byte is not colour) and queues it
// to the window. The window outlives every call: it stops the engine before it goes away.
class PreviewWindow::Sink : public engine::FrameSink {
  public:
    explicit Sink(PreviewWindow* window) : window_(window) {}
    void frame(int width, int height, const uint32_t* pixels, uint64_t) override {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
            const uint32_t* from = pixels + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) row[x] = from[x] | 0xFF000000u;
        }
        PreviewWindow* window = window_;
        QMetaObject::invokeMethod(
            window, [window, image] { window->takeFrame(image); }, Qt::QueuedConnection);
    }

  private:
    PreviewWindow* window_;
};

PreviewWindow::PreviewWindow(QWidget* parent)
    : QWidget(parent),
      diagnostics_(std::make_unique<engine::StdoutDiagnostics>()),
      sink_(std::make_unique<Sink>(this)),
      engine_(std::make_unique<engine::Engine>()) {
    setWindowTitle("preview");
    setObjectName("preview");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PreviewWindow::~PreviewWindow() {
    stop();
}

void PreviewWindow::start(const std::string& showPath, const std::string& workspace) {
    engine::ShowOptions options;
    options.clock = engine::ClockMode::RealTime;
    options.workspace = workspace;
    engine_->start(showPath, options, sink_.get(), *diagnostics_, content::makeContentHooks());
}

void PreviewWindow::startAt(const std::string& showPath, const std::string& workspace,
                            const CivilTime& at) {
    engine::ShowOptions options;
    options.clock = engine::ClockMode::RealTime;
    options.workspace = workspace;
    options.schedule = true;
    options.showClock = engine::showClockAt(showPath, workspace, at, options.clock);
    content::ContentSettings content;
    content.clock = options.showClock;
    engine_->start(showPath, options, sink_.get(), *diagnostics_,
                   content::makeContentHooks(content));
}

void PreviewWindow::stop() {
    if (engine_) engine_->stop();
}

bool PreviewWindow::running() const {
    return engine_ && engine_->running();
}

void PreviewWindow::takeFrame(const QImage& image) {
    image_ = image;
    ++framesShown_;
    update();
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (image_.isNull()) return;
    const int zoom = std::max(1, std::min(width() / image_.width(), height() / image_.height()));
    if (zoom == 1) {
        p.drawImage(0, 0, image_);
        return;
    }
    const QSize size = image_.size() * zoom;
    p.drawImage(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size),
                image_);
}

}  // namespace brightline::ui
