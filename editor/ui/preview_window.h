#pragma once
// The preview: a child window titled "preview" laid over the layout view's canvas. start() runs
// the show engine on the real 40 ms clock; every composed screen comes through the FrameSink on
// the show player thread, is copied, and is handed to the user interface thread, which paints it
// 1:1 (a window at least twice the sign's size shows it enlarged by a whole number, centred).
// Stop ends the show within one tick; the window stops its show before it is destroyed.
//
// Members are called on the user interface thread.
#include <QImage>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>

#include "engine/clock/local_time.h"

namespace brightline::engine {
class Engine;
class StdoutDiagnostics;
}  // namespace brightline::engine

namespace brightline::ui {

class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWindow(QWidget* parent);
    ~PreviewWindow() override;

    // Plays `showPath` ("run.at") from `workspace`; a running show is stopped first.
    void start(const std::string& showPath, const std::string& workspace);
    // The same as the sign would play it from the local moment `at`: its schedule lines choose
    // what plays, its clock pages show the moment, and the clock runs on in real time.
    void startAt(const std::string& showPath, const std::string& workspace, const CivilTime& at);
    void stop();
    bool running() const;
    // Frames that reached the window (painted or waiting to be).
    uint64_t framesShown() const { return framesShown_; }
    QImage lastFrame() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    class Sink;
    void takeFrame(const QImage& image);

    std::unique_ptr<engine::StdoutDiagnostics> diagnostics_;
    std::unique_ptr<Sink> sink_;
    std::unique_ptr<engine::Engine> engine_;
    QImage image_;
    uint64_t framesShown_ = 0;
};

}  // namespace brightline::ui
