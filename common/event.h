#pragma once
// An auto-reset event (mutex + condition variable): set() lets exactly one wait through, the
// one already waiting or, when nobody waits, the next one to come; that wait clears the event
// again. Setting an event that is already set changes nothing.
//
// Any thread may call any member. The object must outlive every call that uses it.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brightline {

class Event {
  public:
    void set();
    // Clears the event without waiting.
    void reset();
    // Waits until the event is set, then clears it. Only for waits that something else
    // guarantees to end (a clock that ticks, a stop that sets the event).
    void wait();
    // Waits at most `timeout` (a negative one counts as zero); true when the event was set (it
    // is cleared then), false when the time ran out.
    bool waitFor(std::chrono::milliseconds timeout);
    // The state, unchanged.
    bool isSet() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
};

}  // namespace brightline
