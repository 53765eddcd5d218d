#pragma once
// The show player: reads a show script ("run.at"), sets up the screen, and plays its RUN lines
// page by page, one region thread per region, composing the screen once per tick and handing
// every drawn screen to the frame sink. The text repeats until the show is stopped (or a tick
// or page limit is reached).
//
// Diagnostics go through a RepeatFilter: a line repeated on every tick is printed once with its
// count.
//
// Every loop of the show script advances the tick at a bounded rate: a page costs at least one
// tick, a pass of the text that plays no page costs one, and after options.wordsPerTick words
// (and spaces) read without a tick the player waits one. So maxTicks and requestStop() always
// end a show within one tick, whatever the script (the region interpreter is paced the same way).
//
// Clocks: in stepped mode a tick completes as soon as every region has taken its step and is
// waiting again: the same show always gives the same frames, as fast as the CPU allows; the
// regions run as fibers on the player's thread, so a tick costs what its drawing costs. In real
// time, ticks also wait for the 40 ms frame clock and every region has a thread of its own.
// Both compose only while the regions wait.
//
// run() blocks the calling thread (the engine's) until the show ends; requestStop() may be
// called from any thread and ends the show within one tick.
#include <atomic>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/event.h"
#include "engine/diagnostic_output.h"
#include "engine/for_stack.h"
#include "engine/frame_clock.h"
#include "engine/layer_tree.h"
#include "engine/pixel_arena.h"
#include "engine/script_cursor.h"
#include "engine/show_clock.h"
#include "engine/step_gate.h"

namespace brightline::engine {

class FrameSink;
class MediaHooks;

enum class ClockMode { Stepped, RealTime };

struct ShowOptions {
    ClockMode clock = ClockMode::Stepped;
    std::string workspace;  // region scripts and media are found here
    uint64_t maxTicks = 0;  // end the show after this many ticks; 0: no limit
    int maxPages = 0;       // end the show after this many pages ended; 0: no limit
    // The most script words (and spaces) an interpreter reads between two ticks; one more costs
    // a tick. A pass of a script without loops never reaches the default (a script is at most
    // kMaxScriptBytes long), so only a loop that neither draws nor waits is slowed.
    size_t wordsPerTick = kMaxScriptBytes;
    // Pixel memory a page may take (screen and regions, three buffers each); a page needing
    // more is refused with "could not allocate buffer\n" and the show goes on.
    size_t maxArenaBytes = PixelArena::kMaxBytes;
    // The local time of day that selects the time block. Empty: the present time in real
    // time, 12:00:00 in stepped mode (so a stepped show does not depend on the hour).
    std::function<std::tm()> localTime;
    // Schedule mode: the script's schedule lines choose what plays, as the sign chooses it
    // (engine/time_blocks.h), by `showClock` in the zone of the script's header. After every
    // pass of a block the choice is made again; while no block plays the screen is black (in
    // stepped mode with a page limit the show then ends, "nothing is scheduled at ..."). Off:
    // the schedule lines are skipped and the whole text plays.
    bool schedule = false;
    // The show's clock. The player moves it on with every tick; hand the same clock to the
    // content layer so that clock pages show it. Null: in schedule mode the machine's present
    // time (stepped or real time as `clock` says); otherwise none.
    std::shared_ptr<ShowClock> showClock;
};

class ShowPlayer {
  public:
    static constexpr int kDefaultWidth = 256;
    static constexpr int kDefaultHeight = 128;
    static constexpr int kMaxRegions = 8;         // entries per RUN line that play
    static constexpr size_t kMaxEntryToken = 39;  // longer RUN entry tokens are cut

    // `sink` may be null. `diag`, `sink` and `media` must outlive run().
    ShowPlayer(ShowOptions options, DiagnosticOutput& diag, FrameSink* sink, MediaHooks& media);
    ~ShowPlayer();

    // Plays the show script at `path` until the show ends.
    void run(const std::string& path);
    void requestStop();
    // Ticks played so far (frames are numbered by it).
    uint64_t ticks() const { return ticks_; }
    // True when the show could not be played at all: its script could not be read or its
    // screen could not be allocated (the diagnostic line says which).
    bool failed() const { return failed_; }

  private:
    enum class Flow { Continue, End };

    // Plays the text from `start` to `end`; over and over, or once when `once`.
    Flow playBlock(size_t start, size_t end, bool once = false);
    // Schedule mode: chooses and plays time blocks until the show ends.
    void playSchedule();
    Flow playPage();
    // One tick that starts no page: a pass that played none, or the word budget spent.
    Flow idleTick();
    // One tick has been played: counted, and the show's clock moves on.
    void tickDone();
    // Counts one word (or space) of the show script; when the budget since the last tick is
    // spent, takes an idle tick.
    Flow paceWord();
    // Ends the show when the tick limit is reached.
    bool tickLimitReached() const { return options_.maxTicks && ticks_ >= options_.maxTicks; }
    bool pageEndTest(int regions);
    void stopAll(int regions);
    void joinRegions();
    bool stopRequested() const { return stop_; }
    // Sleeps unless stopped; false when stopped.
    bool sleepFor(std::chrono::milliseconds time);
    std::tm timeOfDay() const;

    ShowOptions options_;
    std::atomic<uint64_t> ticks_{0};
    RepeatFilter diag_;
    FrameSink* sink_;
    MediaHooks& media_;

    PixelArena arena_;
    LayerTree layers_;
    StepGate gate_;
    Event tick_;
    FrameClock clock_;
    ScriptCursor cursor_;
    ForStack loops_;
    int screenWidth_ = kDefaultWidth;
    int screenHeight_ = kDefaultHeight;
    int clipWidth_ = kDefaultWidth;  // LED_W / LED_H met while playing, never above the screen
    int clipHeight_ = kDefaultHeight;
    int pagesEnded_ = 0;
    uint64_t wordsTick_ = 0;  // the tick at which the player last started counting words
    size_t words_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    std::mutex sleepMutex_;
    std::condition_variable sleepCv_;
};

}  // namespace brightline::engine
