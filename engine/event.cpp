#include "engine/event.h"

namespace brightline::engine {

void Event::set() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        set_ = true;
    }
    cv_.notify_one();
}

void Event::wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return set_; });
    set_ = false;
}

bool Event::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return set_; })) return false;
    set_ = false;
    return true;
}

void Event::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = false;
}

}  // namespace brightline::engine
