#pragma once
// The real-time frame clock: a thread that sets the tick event once per period, timed on
// std::chrono::steady_clock with sleep_until on a fixed schedule (start + k x period), so
// periods do not drift however long each wake-up takes. When the thread falls behind it sets
// the event at once for the ticks missed (an auto-reset event holds at most one).
//
// start() and stop() on one thread (the show player's); the event is set from the clock thread.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/event.h"

namespace brightline::engine {

class FrameClock {
  public:
    static constexpr std::chrono::milliseconds kTickPeriod{40};

    ~FrameClock() { stop(); }
    void start(Event& tick, std::chrono::milliseconds period = kTickPeriod);
    // Ends the clock thread; no tick is set after it returns.
    void stop();

  private:
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool stopping_ = false;
};

}  // namespace brightline::engine
