#include "engine/show_player.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "engine/composer.h"
#include "engine/diagnostic_output.h"
#include "engine/frame_sink.h"
#include "engine/media_hooks.h"
#include "engine/region_interpreter.h"
#include "engine/time_blocks.h"
#include "engine/workspace_file.h"

namespace brightline::engine {
namespace {

constexpr const char* kAllRegionQuit = "**********All Region quit \r\n";
// The largest screen side: slot geometry is 16-bit in the sign's own tables.
constexpr int kMaxScreenSide = 32767;

struct TimeBlockEntry {
    int hour, minute, second;
};
// The two time blocks this engine plays; both run the whole text.
constexpr TimeBlockEntry kTimeBlocks[] = {{0, 0, 0}, {23, 59, 59}};

bool passed(const TimeBlockEntry& e, const std::tm& now) {
    long entry = e.hour * 3600L + e.minute * 60L + e.second;
    long present = now.tm_hour * 3600L + now.tm_min * 60L + now.tm_sec;
    return present > entry;
}

std::string cut(std::string token, size_t limit) {
    if (token.size() > limit) token.resize(limit);
    return token;
}

bool onLineEnd(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

ShowPlayer::ShowPlayer(ShowOptions options, DiagnosticOutput& diag, FrameSink* sink,
                       MediaHooks& media)
    : options_(std::move(options)),
      diag_(diag, ticks_),
      sink_(sink),
      media_(media),
      gate_(options_.clock == ClockMode::Stepped ? StepGate::Runner::Fibers
                                                 : StepGate::Runner::Threads) {}

ShowPlayer::~ShowPlayer() {
    requestStop();
    joinRegions();
    clock_.stop();
}

void ShowPlayer::requestStop() {
    stop_ = true;
    gate_.interrupt();
    tick_.set();
    { std::lock_guard<std::mutex> lock(sleepMutex_); }
    sleepCv_.notify_all();
}

bool ShowPlayer::sleepFor(std::chrono::milliseconds time) {
    std::unique_lock<std::mutex> lock(sleepMutex_);
    return !sleepCv_.wait_for(lock, time, [this] { return stop_.load(); });
}

std::tm ShowPlayer::timeOfDay() const {
    if (options_.localTime) return options_.localTime();
    std::tm t{};
    if (options_.clock == ClockMode::Stepped) {
        t.tm_hour = 12;
        return t;
    }
    std::time_t now = std::time(nullptr);
    localtime_r(&now, &t);
    return t;
}

void ShowPlayer::run(const std::string& path) {
    bool screenReady = false;
    size_t currentBlock = 0;
    while (!stopRequested()) {
        std::vector<char> text;
        ReadStatus status = readWorkspaceFile("", path, text, kMaxScriptBytes);
        if (status != ReadStatus::Ok) {
            if (status == ReadStatus::NotFound)
                diagf(diag_, "could not open %s \n", path.c_str());
            else
                diag_.write("read failed\n");
            failed_ = true;
            break;
        }
        cursor_ = ScriptCursor(std::move(text));

        if (!screenReady) {
            // First pass: the screen size (the last LED_W / LED_H wins).
            while (!cursor_.atEnd()) {
                if (cursor_.current() == ' ') {
                    cursor_.step();
                    continue;
                }
                std::string token = cursor_.readToken();
                if (token == "TIME_ZONE")
                    cursor_.readToken();
                else if (token == "LED_W")
                    screenWidth_ = scriptNumber(cursor_.readToken());
                else if (token == "LED_H")
                    screenHeight_ = scriptNumber(cursor_.readToken());
                if (cursor_.onTerminator()) cursor_.step();
            }
            if (screenWidth_ < 1 || screenHeight_ < 1 || screenWidth_ > kMaxScreenSide ||
                screenHeight_ > kMaxScreenSide ||
                !arena_.reserve({screenWidth_, screenHeight_}, {}, options_.maxArenaBytes)) {
                diag_.write("could not allocate buffer\n");
                failed_ = true;
                break;
            }
            arena_.setUpSlot(0, 0, 0, screenWidth_, screenHeight_);
            clipWidth_ = screenWidth_;
            clipHeight_ = screenHeight_;

            // Second pass: the first FONT is loaded.
            cursor_.setPosition(0);
            while (!cursor_.atEnd()) {
                if (cursor_.current() == ' ') {
                    cursor_.step();
                    continue;
                }
                if (cursor_.readToken() == "FONT") {
                    media_.loadFont(workspacePath(options_.workspace, cursor_.readToken() + ".bin"),
                                    diag_);
                    break;
                }
                if (cursor_.onTerminator()) cursor_.step();
            }
            if (options_.clock == ClockMode::RealTime) clock_.start(tick_);
            screenReady = true;
        }
        if (options_.schedule) {
            playSchedule();
            break;
        }

        // The time block: the first entry from the current one whose time has not yet passed.
        std::tm now = timeOfDay();
        size_t block = currentBlock;
        while (block < std::size(kTimeBlocks) && passed(kTimeBlocks[block], now)) ++block;
        if (block == std::size(kTimeBlocks)) {
            layers_.clear();
            if (!sleepFor(std::chrono::milliseconds(2000))) break;
            continue;
        }
        currentBlock = block;
        if (playBlock(0, cursor_.length()) == Flow::End) break;
    }
    joinRegions();
    clock_.stop();
    diag_.flush();
    if (sink_) sink_->finish();
}

void ShowPlayer::tickDone() {
    ++ticks_;
    diag_.tick();
    if (options_.showClock) options_.showClock->tickDone();
}

ShowPlayer::Flow ShowPlayer::idleTick() {
    if (stopRequested()) return Flow::End;
    if (options_.clock == ClockMode::RealTime) tick_.wait();
    if (stopRequested()) return Flow::End;
    tickDone();
    if (tickLimitReached()) return Flow::End;
    return Flow::Continue;
}

ShowPlayer::Flow ShowPlayer::paceWord() {
    if (wordsTick_ != ticks_) {
        wordsTick_ = ticks_;
        words_ = 0;
    }
    if (++words_ <= options_.wordsPerTick) return Flow::Continue;
    return idleTick();
}

void ShowPlayer::playSchedule() {
    if (!options_.showClock)
        options_.showClock = ShowClock::now(options_.clock == ClockMode::Stepped);
    const std::string text = cursor_.text();
    const ShowZone zone = readShowZone(text);
    std::vector<TimeBlock> blocks = findTimeBlocks(text);
    if (blocks.empty()) {
        // A script without schedule lines plays whole, all day.
        TimeBlock all;
        all.end = cursor_.length();
        blocks.push_back(all);
    }
    std::vector<TimeBlockRule> rules;
    for (const TimeBlock& b : blocks) rules.push_back(b.rule);

    bool dark = true;  // nothing on the screen since the start or the last dark spell
    while (!stopRequested()) {
        const CivilTime local = localTimeOf(zone, options_.showClock->nowUtc());
        const int chosen = chooseTimeBlock(rules, local);
        if (chosen < 0) {
            if (!dark) {
                // Nothing is scheduled: the sign goes dark.
                RegionSlot& screen = arena_.slot(0);
                std::fill(screen.display,
                          screen.display + size_t(screen.width) * size_t(screen.height), 0u);
                if (sink_) sink_->frame(screen.width, screen.height, screen.display, ticks_);
                dark = true;
            }
            if (options_.clock == ClockMode::Stepped && options_.maxPages > 0) {
                diagf(diag_, "nothing is scheduled at %04d-%02d-%02d %02d:%02d:%02d\n", local.year,
                      local.month, local.day, local.hour, local.minute, local.second);
                return;
            }
            if (idleTick() == Flow::End) return;
            continue;
        }
        const uint64_t before = ticks_;
        if (playBlock(blocks[chosen].begin, blocks[chosen].end, true) == Flow::End) return;
        if (ticks_ != before) dark = false;
    }
}

ShowPlayer::Flow ShowPlayer::playBlock(size_t start, size_t end, bool once) {
    cursor_.setPosition(start);
    loops_.clear();
    layers_.clear();
    int pagesThisPass = 0;
    for (;;) {
        if (cursor_.position() >= end) {
            // The block repeats. A pass that played no page still takes a tick, so a show
            // without a (playable) RUN line neither spins nor ignores a stop.
            layers_.clear();
            if (pagesThisPass == 0) {
                if (options_.maxPages > 0) return Flow::End;
                if (idleTick() == Flow::End) return Flow::End;
            }
            if (stopRequested()) return Flow::End;
            if (once) return Flow::Continue;
            cursor_.setPosition(start);
            loops_.clear();
            pagesThisPass = 0;
            continue;
        }
        if (paceWord() == Flow::End) return Flow::End;
        if (cursor_.current() == ' ') {
            cursor_.step();
            continue;
        }
        std::string token = cursor_.readToken();
        if (token == "RUN") {
            size_t before = ticks_;
            if (playPage() == Flow::End) return Flow::End;
            if (ticks_ != before) ++pagesThisPass;
        } else if (token == "FOR") {
            std::string count = cursor_.readToken();
            if (!loops_.push(scriptNumber(count), cursor_.position())) {
                diagf(diag_, "FOR stack error%s\n", count.c_str());
                return Flow::End;
            }
        } else if (token == "END") {
            if (std::optional<size_t> back = loops_.end()) cursor_.setPosition(*back);
        } else if (token == "AT" || token == "EXIT" || token == "TIME_ZONE" || token == "FONT") {
            cursor_.readToken();
        } else if (token == "LED_W") {
            clipWidth_ = std::min(scriptNumber(cursor_.readToken()), screenWidth_);
        } else if (token == "LED_H") {
            clipHeight_ = std::min(scriptNumber(cursor_.readToken()), screenHeight_);
        }
        // LED_ON, LED_OFF, WEEK and every unknown word: nothing.
        if (cursor_.onTerminator()) cursor_.step();
    }
}

ShowPlayer::Flow ShowPlayer::playPage() {
    std::string runName = cursor_.readToken();
    int count = scriptNumber(cursor_.readToken());

    std::vector<RegionStart> regions;
    for (int i = 0; i < count; ++i) {
        // Past the end of the line every entry reads as empty tokens and is dropped.
        size_t at = cursor_.position();
        while (cursor_.current() == ' ') cursor_.step();
        bool lineEnded = onLineEnd(cursor_.current());
        cursor_.setPosition(at);
        if (lineEnded) break;

        RegionStart r;
        r.runName = runName;
        r.scriptName = cut(cursor_.readToken(), kMaxEntryToken);
        long long x = scriptNumber(cut(cursor_.readToken(), kMaxEntryToken));
        long long y = scriptNumber(cut(cursor_.readToken(), kMaxEntryToken));
        long long w = scriptNumber(cut(cursor_.readToken(), kMaxEntryToken));
        long long h = scriptNumber(cut(cursor_.readToken(), kMaxEntryToken));
        r.repeat = scriptNumber(cut(cursor_.readToken(), kMaxEntryToken));
        if (!(x < clipWidth_ && y < clipHeight_ && w > 0 && h > 0)) continue;
        if (x < 0) x = 0;
        if (y < 0) y = 0;
        if (x + w > clipWidth_) w = clipWidth_ - x;
        if (y + h > clipHeight_) h = clipHeight_ - y;
        if (static_cast<int>(regions.size()) >= kMaxRegions) continue;
        r.x = static_cast<int>(x);
        r.y = static_cast<int>(y);
        r.width = static_cast<int>(w);
        r.height = static_cast<int>(h);
        r.region = static_cast<int>(regions.size()) + 1;
        regions.push_back(r);
    }

    std::vector<PixelArena::Size> sizes;
    for (const RegionStart& r : regions) sizes.push_back({r.width, r.height});
    if (!arena_.reserve({screenWidth_, screenHeight_}, sizes, options_.maxArenaBytes)) {
        diag_.write("could not allocate buffer\n");
        return Flow::Continue;
    }

    const int n = static_cast<int>(regions.size());
    layers_.clear();
    gate_.reset(n);
    for (const RegionStart& r : regions) {
        arena_.setUpSlot(r.region, r.x, r.y, r.width, r.height);
        layers_.insert(r.region, {r.x, r.y, r.width, r.height});
    }
    RegionEnvironment env{&arena_,
                          &gate_,
                          &diag_,
                          &media_,
                          options_.workspace,
                          options_.clock == ClockMode::Stepped,
                          options_.wordsPerTick};
    for (const RegionStart& r : regions)
        gate_.start(r.region, [env, r] { RegionInterpreter(env, r).run(); });

    RegionSlot& screen = arena_.slot(0);
    for (;;) {
        for (int k = 1; k <= n; ++k)
            if (!arena_.slot(k).quitRequest) gate_.grant(k);
        if (stopRequested()) {
            stopAll(n);
            return Flow::End;
        }
        if (options_.clock == ClockMode::RealTime) tick_.wait();
        if (!gate_.waitAllAtRest()) {
            stopAll(n);
            return Flow::End;
        }
        tickDone();
        for (int k = 1; k <= n; ++k) {
            RegionSlot& s = arena_.slot(k);
            if (s.signalRaised.exchange(false)) s.signal = true;
        }
        if (composeAndDraw(arena_, layers_, n) && sink_)
            sink_->frame(screen.width, screen.height, screen.display, ticks_);
        if (pageEndTest(n)) break;
        if (tickLimitReached()) {
            stopAll(n);
            return Flow::End;
        }
    }
    for (int k = 1; k <= n; ++k) arena_.slot(k).stop = true;
    joinRegions();
    ++pagesEnded_;
    if (options_.maxPages && pagesEnded_ >= options_.maxPages) return Flow::End;
    // A page that ends on the tick it started (its regions have nothing to play) must not let
    // the show run past its tick limit.
    if (tickLimitReached()) return Flow::End;
    if (options_.clock == ClockMode::RealTime && !sleepFor(std::chrono::milliseconds(100)))
        return Flow::End;
    return Flow::Continue;
}

bool ShowPlayer::pageEndTest(int regions) {
    for (int k = 1; k <= regions; ++k)
        if (!arena_.slot(k).passComplete) return false;
    for (int k = 1; k <= regions; ++k) {
        arena_.slot(k).quitRequest = true;
        gate_.grant(k);
    }
    // Let the regions take that step before looking, so whether the page ends on this tick
    // never depends on thread timing.
    gate_.waitAllAtRest();
    for (int k = 1; k <= regions; ++k)
        if (!arena_.slot(k).finished) return false;
    diag_.write(kAllRegionQuit);
    return true;
}

void ShowPlayer::stopAll(int regions) {
    for (int k = 1; k <= regions; ++k) {
        arena_.slot(k).quitRequest = true;
        arena_.slot(k).stop = true;
        gate_.grant(k);
    }
    for (;;) {
        // Fibers run only when the player lets them: the regions take their granted step and
        // see the stop before the page is tested.
        if (options_.clock == ClockMode::Stepped) gate_.waitAllAtRest();
        if (pageEndTest(regions)) break;
        for (int k = 1; k <= regions; ++k) gate_.grant(k);
        if (options_.clock != ClockMode::Stepped)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    joinRegions();
}

void ShowPlayer::joinRegions() {
    gate_.join();
}

}  // namespace brightline::engine
