#pragma once
// The per-tick hand-off between the show player and its region threads.
//
// Every region (1..kMaxRegion) has an auto-reset step grant: the player grants a step once per
// tick, the region takes it in await() and then runs until its next await(). Beyond a plain
// event per region, the gate tells the player when every region has taken its step and is
// waiting again (or has left): waitAllAtRest(). The player composes only then, so region
// threads never write their buffers while the screen is composed, and the same show gives the
// same frames every time (the stepped clock); the real-time clock adds the 40 ms pacing on top.
//
// Thread affinity: grant(), reset() and waitAllAtRest() on the player thread; await() and
// leave() on the region's own thread.
#include <condition_variable>
#include <mutex>

namespace brightline::engine {

class StepGate {
  public:
    static constexpr int kMaxRegion = 9;

    // Prepares regions 1..count for a new page: no grants, nobody waiting, nobody left.
    // Regions above `count` count as left.
    void reset(int count);
    void grant(int region);
    // Blocks until the region is granted a step and takes it.
    void await(int region);
    // The region's thread is ending: from now on it is always at rest.
    void leave(int region);
    // Blocks until every region is either waiting in await() with no grant pending, or has left
    // (true), or until interrupt() is called (false).
    bool waitAllAtRest();
    // Ends every waitAllAtRest(), now and later: the show is being stopped. Any thread.
    void interrupt();

  private:
    struct State {
        bool granted = false;
        bool waiting = false;
        bool left = true;
    };
    bool allAtRest() const;

    std::mutex mutex_;
    std::condition_variable cv_;
    State regions_[kMaxRegion + 1];
    bool interrupted_ = false;
};

}  // namespace brightline::engine
