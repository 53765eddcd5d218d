#pragma once
// Plays what the virtual sign was sent: each time a show is resumed, its "run.at" is played
// with the show engine (stepped clock, a bounded number of ticks) into PNG frames and/or an
// animated GIF, as the sign plays it: its schedule lines choose what plays and its clock pages
// show the sign's clock, from the moment the sign's clock shows when the show starts. One worker
// thread; a newer show replaces one still playing.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace brightline::signsim {

class ShowPlayback {
  public:
    // The sign's wall clock: its local time as seconds since 1970-01-01 00:00:00 read as
    // universal time (what it answers to "Get Time"). Called on the playing thread.
    using SignClock = std::function<int64_t()>;

    // `framesDir` and `gifPath` may be empty (that output is not made). `ticks` > 0. `clock` null:
    // the machine's clock in universal time.
    ShowPlayback(std::string framesDir, std::string gifPath, uint64_t ticks,
                 SignClock clock = nullptr);
    ~ShowPlayback();

    // Any thread: plays "run.at" in `folder` next.
    void play(const std::string& folder);
    // Waits (bounded) until nothing is queued or playing; true when so.
    bool waitIdle(int timeoutMs);
    // Shows played to the end of their ticks, and frames written by the last one.
    int played() const { return played_.load(); }
    int lastFrames() const { return lastFrames_.load(); }

  private:
    void loop();
    void playOne(const std::string& folder);

    std::string framesDir_, gifPath_;
    uint64_t ticks_;
    SignClock clock_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::string pending_;
    bool busy_ = false;
    bool stop_ = false;
    std::atomic<bool> replace_{false};
    std::atomic<int> played_{0};
    std::atomic<int> lastFrames_{0};
    std::thread thread_;
};

}  // namespace brightline::signsim
