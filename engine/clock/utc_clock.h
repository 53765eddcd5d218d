#pragma once
// Where clock pages get the time from. The show engine asks a UtcClock once per tick; the
// programs pass the system clock, tests and stepped rendering a ManualUtcClock they set.
// Both implementations are safe to call from any thread.
#include <atomic>
#include <cstdint>

namespace brightline {

class UtcClock {
  public:
    virtual ~UtcClock() = default;
    // Universal time in whole seconds since 1970-01-01 00:00:00.
    virtual int64_t nowUtc() const = 0;
};

// The machine's clock.
class SystemUtcClock : public UtcClock {
  public:
    int64_t nowUtc() const override;
};

// A clock that shows what it was set to.
class ManualUtcClock : public UtcClock {
  public:
    explicit ManualUtcClock(int64_t seconds = 0) : seconds_(seconds) {}
    int64_t nowUtc() const override { return seconds_.load(); }
    void set(int64_t seconds) { seconds_.store(seconds); }
    void advance(int64_t seconds) { seconds_.fetch_add(seconds); }

  private:
    std::atomic<int64_t> seconds_;
};

}  // namespace brightline
