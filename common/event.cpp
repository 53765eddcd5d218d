#include "common/event.h"

#include <algorithm>

namespace brightline {

void Event::set() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        set_ = true;
    }
    // Every waiter wakes and looks; the first to take the lock clears the event, the others
    // wait on.
    cv_.notify_all();
}

void Event::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = false;
}

void Event::wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return set_; });
    set_ = false;
}

bool Event::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, std::max(timeout, std::chrono::milliseconds(0)),
                      [this] { return set_; }))
        return false;
    set_ = false;
    return true;
}

bool Event::isSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return set_;
}

}  // namespace brightline
