#include "engine/region_interpreter.h"

#include <chrono>
#include <fstream>
#include <unordered_map>

#include "engine/diagnostic_output.h"
#include "engine/effects.h"
#include "engine/media_hooks.h"
#include "engine/pixel_arena.h"
#include "engine/region_context.h"
#include "engine/step_gate.h"
#include "engine/workspace_file.h"

namespace brightline::engine {
namespace {

// The region script keywords and the engine's internal codes for them.
enum Keyword {
    kDsn = 200,
    kAp = 201,
    kEp = 202,
    kRp = 203,
    kStop = 204,
    kDlyBlk = 205,
    kFor = 206,
    kEnd = 207,
    kFlag = 210,
    kRgn = 211,
    kGo = 212,
    kDate = 213,
    kTime = 214,
    kMsg = 215,
    kExit = 216,
    kFib = 217,
    kJpg = 218,
    kBmp = 219,
    kHtml = 220,
    kPng = 221,
    kSignal = 222,
    kWait = 223,
    kZtxt = 224,
    kZavi = 225,
    kTemperature = 226,
    kWinType = 227,
};

const std::unordered_map<std::string, int>& keywords() {
    static const std::unordered_map<std::string, int> table = {
        {"WIN_TYPE", kWinType},
        {"JPG", kJpg},
        {"BMP", kBmp},
        {"PNG", kPng},
        {"DSN", kDsn},
        {"HTML", kHtml},
        {"ZTXT", kZtxt},
        {"MSG", kMsg},
        {"TIME", kTime},
        {"TEMPERATURE", kTemperature},
        {"AP", kAp},
        {"EP", kEp},
        {"STOP", kStop},
        {"ZAVI", kZavi},
        {"SIGNAL", kSignal},
        {"WAIT", kWait},
        {"FOR", kFor},
        {"END", kEnd},
        {"RP", kRp},
        {"DLY_BLK", kDlyBlk},
        {"FLAG", kFlag},
        {"FIB", kFib},
        {"RGN", kRgn},
        {"GO", kGo},
        {"DATE", kDate},
        {"EXIT", kExit},
    };
    return table;
}

constexpr long long kTicksPerSecond = 25;
constexpr long long kTicksPerWaitUnit = 5;  // WAIT counts units of 200 ms

}  // namespace

RegionInterpreter::RegionInterpreter(RegionEnvironment env, RegionStart start)
    : env_(std::move(env)), start_(std::move(start)) {}

void RegionInterpreter::run() {
    // The player cleared the slot's flags before it started this thread; clearing them here
    // again would lose a stop that arrived before the thread ran.
    RegionSlot& slot = env_.arena->slot(start_.region);
    for (int i = 0; i < start_.repeat && !slot.quitRequest; ++i) playOnce();
    // Whatever happened (no script, a count below 1, an abandoned script), the region has done
    // its part: the page can end and a stop completes.
    slot.passComplete = true;
    slot.finished = true;
    env_.gate->leave(start_.region);
}

void RegionInterpreter::playOnce() {
    RegionSlot& slot = env_.arena->slot(start_.region);
    std::vector<char> text;
    switch (readWorkspaceFile(env_.workspace, start_.scriptName, text, kMaxScriptBytes)) {
        case ReadStatus::NotFound:
            diagf(*env_.diag, "could not open %s \n",
                  workspacePath(env_.workspace, start_.scriptName).c_str());
            return;
        case ReadStatus::ReadFailed:
            env_.diag->write("read failed\n");
            return;
        case ReadStatus::Ok:
            break;
    }
    cursor_ = ScriptCursor(std::move(text));
    loops_.clear();

    RegionContext ctx;
    bindRegionContext(ctx, slot, *env_.gate, *env_.diag, env_.workspace);
    ctx.random.seed(
        env_.stepped
            ? static_cast<unsigned>(start_.region)
            : static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));

    uint64_t stepsSeen = ctx.stepsTaken;
    size_t words = 0;
    while (!slot.quitRequest) {
        if (ctx.stepsTaken != stepsSeen) {
            stepsSeen = ctx.stepsTaken;
            words = 0;
        } else if (++words > env_.wordsPerTick) {
            if (!waitTicks(ctx, 1)) break;
            continue;
        }
        if (cursor_.atEnd()) {
            slot.passComplete = true;
            waitTicks(ctx, 1);
            cursor_.setPosition(0);
            loops_.clear();
            continue;
        }
        if (cursor_.current() == ' ') {
            cursor_.step();
            continue;
        }
        std::string token = cursor_.readToken();
        auto it = keywords().find(token);
        if (it != keywords().end() && execute(token, ctx) == Outcome::Abandon) break;
        if (cursor_.onTerminator()) cursor_.step();
    }
    ctx.pages.freeExtraPages();
}

RegionInterpreter::Outcome RegionInterpreter::execute(const std::string& keyword,
                                                      RegionContext& ctx) {
    MediaHooks& media = *env_.media;
    switch (keywords().at(keyword)) {
        case kWinType:
            ctx.winType = numberArg();
            break;
        case kJpg:
            media.loadPicture(PictureKind::Jpg, arg(), ctx);
            break;
        case kBmp:
            media.loadPicture(PictureKind::Bmp, arg(), ctx);
            break;
        case kPng:
            media.loadPicture(PictureKind::Png, arg(), ctx);
            break;
        case kDsn:
            media.loadPicture(PictureKind::Dsn, arg(), ctx);
            break;
        case kHtml:
        case kZtxt: {
            std::string name = arg();
            arg();
            media.loadTextPage(keyword == "HTML" ? TextPageKind::Html : TextPageKind::Ztx, name,
                               ctx);
            break;
        }
        case kMsg: {
            // Read and thrown away: message files draw nothing.
            std::ifstream file(".//" + mediaFileName(arg(), ".msg"), std::ios::binary);
            std::vector<char> discard(kMaxScriptBytes);
            if (file) file.read(discard.data(), static_cast<std::streamsize>(discard.size()));
            break;
        }
        case kTime: {
            std::string name = arg();
            arg();
            if (media.loadClockPage(name, ctx)) ctx.clockMode = 1;
            break;
        }
        case kTemperature:
            arg();
            arg();
            ctx.contentWidth = ctx.width;
            ctx.contentHeight = ctx.height;
            ctx.contentSize = ctx.bufferSize;
            ctx.clockMode = 2;
            break;
        case kAp: {
            std::string name = arg();
            runEntryEffect(ctx, name, numberArg());
            break;
        }
        case kEp: {
            std::string name = arg();
            runExitEffect(ctx, name, numberArg());
            break;
        }
        case kStop: {
            long long ticks = static_cast<long long>(numberArg()) * kTicksPerSecond;
            if (ctx.clockMode == 1) {
                for (long long i = 0; i < ticks; ++i)
                    if (!media.clockTick(ctx)) break;
            } else {
                waitTicks(ctx, ticks);
            }
            ctx.clockMode = 0;
            break;
        }
        case kZavi: {
            ClipCommand clip;
            clip.name = arg();
            clip.frames = numberArg();
            clip.speed = numberArg();
            clip.entryEffect = arg();
            clip.exitEffect = arg();
            clip.hold = numberArg();
            media.playClip(clip, ctx);
            break;
        }
        case kSignal:
            ctx.slot->signalRaised = true;
            break;
        case kWait: {
            int region = numberArg();
            long long ticks = static_cast<long long>(numberArg()) * kTicksPerWaitUnit;
            RegionSlot* other = region >= 1 && region < PixelArena::kSlotCount
                                    ? &env_.arena->slot(region)
                                    : nullptr;
            for (long long i = 0;; ++i) {
                if (other && other->signal.exchange(false)) break;
                if (i >= ticks || !waitTicks(ctx, 1)) break;
            }
            break;
        }
        case kFor: {
            std::string count = arg();
            if (!loops_.push(scriptNumber(count), cursor_.position())) {
                diagf(*env_.diag, "FOR stack error%s\n", count.c_str());
                return Outcome::Abandon;
            }
            break;
        }
        case kEnd:
            if (std::optional<size_t> back = loops_.end()) cursor_.setPosition(*back);
            break;
        case kRp:
            arg();
            arg();
            break;
        case kDlyBlk:
        case kFlag:
        case kFib:
        case kRgn:
        case kGo:
        case kDate:
        case kExit:
            arg();
            break;
    }
    return Outcome::Continue;
}

}  // namespace brightline::engine
