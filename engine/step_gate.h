#pragma once
// The per-tick hand-off between the show player and its regions, and the regions' runners.
//
// Every region (1..kMaxRegion) has an auto-reset step grant: the player grants a step once per
// tick, the region takes it in await() and then runs until its next await(). Beyond a plain
// event per region, the gate tells the player when every region has taken its step and is
// waiting again (or has left): waitAllAtRest(). The player composes only then, so regions never
// write their buffers while the screen is composed, and the same show gives the same frames
// every time (the stepped clock); the real-time clock adds the 40 ms pacing on top.
//
// Regions run in one of two ways, chosen when the gate is made:
// - Runner::Threads: a thread per region; grant() wakes it, waitAllAtRest() blocks until all
//   are waiting again.
// - Runner::Fibers: a fiber per region on the player's thread; waitAllAtRest() resumes every
//   granted region in region order until it waits again or leaves. A step costs what its
//   drawing costs, and a region runs only inside waitAllAtRest().
// Either way a step sees the same state: the player changes nothing while regions run.
//
// Thread affinity: start(), grant(), reset(), waitAllAtRest() and join() on the player thread;
// await() and leave() from the region's own body; interrupt() from any thread.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/fiber.h"

namespace brightline::engine {

class StepGate {
  public:
    static constexpr int kMaxRegion = 9;
    enum class Runner { Threads, Fibers };

    explicit StepGate(Runner runner = Runner::Threads) : runner_(runner) {}
    ~StepGate();
    StepGate(const StepGate&) = delete;
    StepGate& operator=(const StepGate&) = delete;

    // Prepares regions 1..count for a new page: no grants, nobody waiting, nobody left.
    // Regions above `count` count as left.
    void reset(int count);
    // Runs `body` as region `region` (1..count of the last reset()): on a thread of its own at
    // once, or as a fiber first resumed by the next waitAllAtRest(). The body ends with leave().
    void start(int region, std::function<void()> body);
    void grant(int region);
    // Blocks until the region is granted a step and takes it.
    void await(int region);
    // The region's body is ending: from now on it is always at rest.
    void leave(int region);
    // Returns when every region is either waiting in await() with no grant pending, or has left
    // (true), or, with threads, when interrupt() is called (false). With fibers it always lets
    // the granted regions take their step, and returns false when interrupt() has been called.
    bool waitAllAtRest();
    // Ends every waitAllAtRest(), now and later: the show is being stopped. Any thread.
    void interrupt();
    // Waits for every region body started to return (their regions must be stopping: with
    // fibers, a region still waiting is resumed by the caller's own waitAllAtRest() first).
    void join();

  private:
    struct State {
        bool granted = false;
        bool waiting = false;
        bool left = true;
    };
    bool allAtRest() const;

    const Runner runner_;
    std::mutex mutex_;
    std::condition_variable cv_;
    State regions_[kMaxRegion + 1];
    std::atomic<bool> interrupted_{false};
    std::vector<std::thread> threads_;
    std::unique_ptr<Fiber> fibers_[kMaxRegion + 1];
};

}  // namespace brightline::engine
