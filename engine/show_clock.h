#pragma once
// The one clock of a show: the schedule's time blocks are chosen by it and, when the host hands
// the same clock to its content layer (ContentSettings::clock), the clock pages show it.
//
// Stepped: the clock stands at its start until the show player completes a tick and then moves
// on 40 ms, so a show played twice from the same moment gives the same frames. Real time: the
// clock runs on from its start with the machine's steady clock.
//
// nowUtc() and nowUtcMs() may be called from any thread; tickDone() belongs to the show player.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

#include "engine/clock/utc_clock.h"

namespace brightline::engine {

class ShowClock : public UtcClock {
  public:
    static constexpr int64_t kTickMs = 40;

    // `startUtcMs`: universal time in milliseconds since 1970-01-01 00:00:00.
    static std::shared_ptr<ShowClock> stepped(int64_t startUtcMs);
    static std::shared_ptr<ShowClock> realTime(int64_t startUtcMs);
    // The machine's present time, in the given mode.
    static std::shared_ptr<ShowClock> now(bool stepped);

    int64_t nowUtc() const override;  // whole seconds (rounded down)
    int64_t nowUtcMs() const;
    // One tick of the show has completed: a stepped clock moves on 40 ms.
    void tickDone();
    bool isStepped() const { return stepped_; }

  private:
    ShowClock(int64_t startUtcMs, bool stepped);

    const int64_t startMs_;
    const bool stepped_;
    const std::chrono::steady_clock::time_point started_;
    std::atomic<int64_t> ticks_{0};
};

}  // namespace brightline::engine
