#pragma once
// The host side of the show engine, used by the desktop preview, the virtual sign and the CLI:
// start a show on a thread of its own, stop it, wait for it to end.
//
// Every member is called from one host thread (not from a FrameSink callback).
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "common/event.h"
#include "engine/clock/local_time.h"
#include "engine/show_player.h"

namespace brightline::engine {

class DiagnosticOutput;
class FrameSink;
class MediaHooks;

class Engine {
  public:
    Engine() = default;
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Plays the show script `showPath` (a relative path is taken in options.workspace; the file
    // is found whatever the case of its name). A show still running is stopped first. `sink`
    // (may be null) and `diag` must stay valid until the show has ended (stop() or waitDone()
    // returned). `media` null: the engine's own MediaHooks.
    void start(const std::string& showPath, const ShowOptions& options, FrameSink* sink,
               DiagnosticOutput& diag, std::shared_ptr<MediaHooks> media = nullptr);
    // Asks the show to end (within one tick) and waits until it has.
    void stop();
    // Waits until the show has ended (by a limit in the options, a failure, or stop()).
    void waitDone();
    // Waits at most `timeout`; true when the show has ended.
    bool waitDoneFor(std::chrono::milliseconds timeout);
    bool running() const { return thread_.joinable() && !ended_; }
    // Ticks the last show has played.
    uint64_t ticks() const { return player_ ? player_->ticks() : 0; }
    // The last show could not be played at all (see ShowPlayer::failed()).
    bool failed() const { return player_ && player_->failed(); }

  private:
    std::unique_ptr<ShowPlayer> player_;
    std::shared_ptr<MediaHooks> media_;
    std::thread thread_;
    Event done_;
    std::atomic<bool> ended_{true};
};

// The path the engine opens for `showPath`: as given when absolute, else in `workspace`.
std::string resolveShowPath(const std::string& showPath, const std::string& workspace);

// The clock of a show played from the local moment `local` as the sign would play it: the moment
// is read in the zone of the show script's header (engine/time_blocks.h). Hand it to the
// options (showClock, with schedule on) and to the content layer. Null when the script cannot
// be read.
std::shared_ptr<ShowClock> showClockAt(const std::string& showPath, const std::string& workspace,
                                       const CivilTime& local, ClockMode mode);

}  // namespace brightline::engine
