#pragma once
// An auto-reset event: set() wakes one waiter (or the next one to wait), which resets it.
// Any thread may call any member.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brightline {

class Event {
  public:
    void set() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            signalled_ = true;
        }
        cv_.notify_all();
    }
    void reset() {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = false;
    }
    // True when the event was signalled within `timeoutMs`; it is reset then.
    bool wait(int timeoutMs) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                          [this] { return signalled_; }))
            return false;
        signalled_ = false;
        return true;
    }
    // Looks at the state without changing it.
    bool isSet() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return signalled_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

}  // namespace brightline
