#include "signsim/show_playback.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>

#include "common/folders.h"
#include "engine/content/content_hooks.h"
#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/frame_sink.h"
#include "engine/gif_writer.h"
#include "engine/png_frame_writer.h"

namespace brightline::signsim {

ShowPlayback::ShowPlayback(std::string framesDir, std::string gifPath, uint64_t ticks,
                           SignClock clock)
    : framesDir_(std::move(framesDir)),
      gifPath_(std::move(gifPath)),
      ticks_(ticks ? ticks : 1),
      clock_(std::move(clock)) {
    thread_ = std::thread([this] { loop(); });
}

ShowPlayback::~ShowPlayback() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    replace_ = true;
    cv_.notify_all();
    thread_.join();
}

void ShowPlayback::play(const std::string& folder) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = folder;
    }
    replace_ = true;
    cv_.notify_all();
}

bool ShowPlayback::waitIdle(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return pending_.empty() && !busy_; });
}

void ShowPlayback::loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        cv_.wait(lock, [this] { return stop_ || !pending_.empty(); });
        if (stop_) return;
        const std::string folder = pending_;
        pending_.clear();
        busy_ = true;
        replace_ = false;
        lock.unlock();
        playOne(folder);
        lock.lock();
        busy_ = false;
        cv_.notify_all();
    }
}

void ShowPlayback::playOne(const std::string& folder) {
    engine::TeeSink sinks;
    std::unique_ptr<engine::PngFrameWriter> png;
    std::unique_ptr<engine::GifWriter> gif;
    if (!framesDir_.empty() && ensureFolder(framesDir_)) {
        png = std::make_unique<engine::PngFrameWriter>(framesDir_);
        sinks.add(png.get());
    }
    if (!gifPath_.empty()) {
        gif = std::make_unique<engine::GifWriter>(gifPath_);
        sinks.add(gif.get());
    }
    engine::ShowOptions options;
    options.workspace = folder;
    options.clock = engine::ClockMode::Stepped;
    options.maxTicks = ticks_;
    options.schedule = true;
    const int64_t signNow = clock_ ? clock_() : static_cast<int64_t>(std::time(nullptr));
    options.showClock = engine::showClockAt("run.at", folder, civilFromSeconds(signNow),
                                            engine::ClockMode::Stepped);
    content::ContentSettings content;
    content.clock = options.showClock;
    engine::StdoutDiagnostics diag;
    engine::Engine player;
    player.start("run.at", options, &sinks, diag, content::makeContentHooks(content));
    bool replaced = false;
    while (!player.waitDoneFor(std::chrono::milliseconds(50))) {
        if (replace_.load()) {
            player.stop();
            replaced = true;
            break;
        }
    }
    player.waitDone();
    if (replaced) return;
    lastFrames_ = png ? png->written() : gif ? gif->written() : 0;
    ++played_;
    std::fprintf(stderr, "brightline-signsim: played %s: %llu ticks\n", folder.c_str(),
                 static_cast<unsigned long long>(player.ticks()));
}

}  // namespace brightline::signsim
