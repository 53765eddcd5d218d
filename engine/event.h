#pragma once
// An auto-reset event: set() lets exactly one wait() through (or the next one, when nobody
// waits yet); the wait clears it again. Setting an event that is already set changes nothing.
// Any thread may call any member.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brightline::engine {

class Event {
  public:
    void set();
    void wait();
    // False when `timeout` passed without the event being set.
    bool waitFor(std::chrono::milliseconds timeout);
    // Clears the event without waiting.
    void reset();

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
};

}  // namespace brightline::engine
