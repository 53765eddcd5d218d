#include "engine/frame_clock.h"

namespace brightline::engine {

void FrameClock::start(Event& tick, std::chrono::milliseconds period) {
    stop();
    stopping_ = false;
    thread_ = std::thread([this, &tick, period] {
        auto next = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            next += period;
            if (cv_.wait_until(lock, next, [this] { return stopping_; })) return;
            tick.set();
        }
    });
}

void FrameClock::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

}  // namespace brightline::engine
