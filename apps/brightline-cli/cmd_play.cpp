// play: a show played headless into PNG frames and/or an animated GIF.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "apps/brightline-cli/commands.h"
#include "apps/brightline-cli/interrupt_watch.h"
#include "apps/brightline-cli/play_window.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"
#include "engine/clock/local_time.h"
#include "engine/content/content_hooks.h"
#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/gif_writer.h"
#include "engine/png_frame_writer.h"

namespace brightline::cli {
namespace {

constexpr const char* kPlayUsage =
    "play RUN.AT|PROGRAM.ZPF|SCHEDULE.AT [--workspace DIR] [--verbose] [--ticks N] [--frames DIR] "
    "[--gif FILE] [--every N] "
    "[--realtime] [--window] [--at \"YYYY-MM-DD HH:MM[:SS]\"]";

bool parseCount(const std::string& text, uint64_t& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::strtoull(text.c_str(), nullptr, 10);
    return out > 0;
}

// "YYYY-MM-DD HH:MM[:SS]" (or with a "T" between date and time), a moment that exists on a
// calendar.
std::optional<CivilTime> parseMoment(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    char sep = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d%n", &y, &mo, &d, &sep, &h, &mi, &used) !=
            6 ||
        (sep != ' ' && sep != 'T'))
        return std::nullopt;
    if (text[static_cast<size_t>(used)] == ':') {
        int more = 0;
        if (std::sscanf(text.c_str() + used, ":%2d%n", &s, &more) != 1) return std::nullopt;
        used += more;
    }
    if (static_cast<size_t>(used) != text.size()) return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    CivilTime t = civilFromSeconds(secondsFromCivil(y, mo, d, h, mi, s));
    return t;
}

// The engine's diagnostic lines on standard error, or nowhere.
class StderrDiagnostics : public engine::DiagnosticOutput {
  public:
    explicit StderrDiagnostics(bool on) : on_(on) {}
    void write(const std::string& text) override {
        if (!on_) return;
        std::lock_guard<std::mutex> lock(mutex_);
        std::fputs(text.c_str(), stderr);
    }

  private:
    bool on_;
    std::mutex mutex_;
};

// A folder of its own under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code ec;
        std::string pattern =
            (std::filesystem::temp_directory_path(ec) / "brightline-play-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

bool hasExtension(const std::string& path, const char* ext) {
    const size_t n = std::strlen(ext);
    if (path.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(path[path.size() - n + i])) != ext[i])
            return false;
    return true;
}

}  // namespace

int runPlay(const Args& args) {
    std::string show, workspace = workspaceFolder(), framesDir, gifPath;
    uint64_t ticks = 0, every = 0;
    bool realtime = false, verbose = false, window = false;
    std::optional<CivilTime> at;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--workspace" && hasValue)
            workspace = args[++i];
        else if (a == "--ticks" && hasValue) {
            if (!parseCount(args[++i], ticks)) return usage(kPlayUsage);
        } else if (a == "--every" && hasValue) {
            if (!parseCount(args[++i], every)) return usage(kPlayUsage);
        } else if (a == "--frames" && hasValue)
            framesDir = args[++i];
        else if (a == "--gif" && hasValue)
            gifPath = args[++i];
        else if (a == "--realtime")
            realtime = true;
        else if (a == "--window")
            window = true;
        else if (a == "--verbose")
            verbose = true;
        else if (a == "--at" && hasValue) {
            at = parseMoment(args[++i]);
            if (!at) return usage(kPlayUsage);
        } else if (!a.empty() && a[0] != '-' && show.empty())
            show = a;
        else
            return usage(kPlayUsage);
    }
    if (show.empty()) return usage(kPlayUsage);
    if (window && !noScreenReason().empty()) {
        std::fprintf(stderr, "brightline-cli: play --window: %s\n", noScreenReason().c_str());
        return kExitFailed;
    }
    const std::string title = "brightline-cli play " + show;

    // Ctrl+C ends the show as --ticks does: the frames so far are kept, the GIF is finished and
    // the scratch folder of a made program goes (during Make: once Make is done, nothing played).
    const InterruptWatch interrupts;

    // A program or a schedule is made into a scratch workspace first and its show played.
    std::unique_ptr<ScratchFolder> scratch;
    const bool program = hasExtension(show, ".ZPF");
    if (program || isScheduleFile(show)) {
        scratch = std::make_unique<ScratchFolder>();
        if (scratch->path().empty()) {
            std::fprintf(stderr, "brightline-cli: cannot create a scratch folder to make %s in\n",
                         show.c_str());
            return kExitFailed;
        }
        MakeOptions made;
        made.workspace = joinPath(scratch->path(), "workspace");
        made.verbose = verbose;
        made.report = false;
        const int status = program ? makeProgramFile(show, made) : compileScheduleFile(show, made);
        if (status != kExitOk) return status;
        if (interrupts.interrupted()) {
            std::fprintf(stderr, "brightline-cli: interrupted; nothing played\n");
            return kExitInterrupted;
        }
        workspace = made.workspace;
        show = "run.at";
    }
    if (!gifPath.empty() && sameFile(gifPath, engine::resolveShowPath(show, workspace))) {
        std::fprintf(stderr, "brightline-cli: %s is the show script itself; name another file\n",
                     gifPath.c_str());
        return kExitFailed;
    }
    if (!framesDir.empty() && !ensureFolder(framesDir)) {
        std::fprintf(stderr, "brightline-cli: cannot create the folder %s\n", framesDir.c_str());
        return kExitFailed;
    }

    engine::ShowOptions options;
    options.workspace = workspace;
    // In a window the show runs at the sign's pace, and on until the window is closed.
    options.clock = realtime || window ? engine::ClockMode::RealTime : engine::ClockMode::Stepped;
    options.maxTicks = ticks;
    options.maxPages = ticks || window ? 0 : 1;  // by default: until the first page has ended
    content::ContentSettings content;
    if (at) {
        // As the sign plays it from that moment: its schedule lines choose, its clock pages show
        // the moment, and the clock runs on.
        options.showClock = engine::showClockAt(show, workspace, *at, options.clock);
        if (!options.showClock) {
            std::fprintf(stderr, "brightline-cli: cannot read %s\n",
                         engine::resolveShowPath(show, workspace).c_str());
            return kExitFailed;
        }
        options.schedule = true;
        content.clock = options.showClock;
    }

    engine::TeeSink sinks;
    std::unique_ptr<engine::PngFrameWriter> png;
    std::unique_ptr<engine::GifWriter> gif;
    if (!framesDir.empty()) {
        png = std::make_unique<engine::PngFrameWriter>(framesDir);
        sinks.add(png.get());
    }
    if (!gifPath.empty()) {
        gif = std::make_unique<engine::GifWriter>(gifPath);
        sinks.add(gif.get());
    }

    if (!png && !gif && !window)
        std::fprintf(stderr,
                     "brightline-cli: nothing is written without --frames DIR or --gif FILE; the "
                     "show is only played through\n");
    StderrDiagnostics diag(verbose);
    engine::Engine player;
    // --every N: the screen at every N-th tick only (25: one frame a second).
    engine::EveryNthTick sampled(sinks, every, [&player] { return player.ticks(); });
    auto start = [&] {
        player.start(show, options, every ? static_cast<engine::FrameSink*>(&sampled) : &sinks,
                     diag, content::makeContentHooks(content));
    };
    if (window) {
        std::string why;
        if (!playInWindow(player, sinks, title, start, interrupts, &why)) {
            std::fprintf(stderr, "brightline-cli: play --window: %s\n", why.c_str());
            return kExitFailed;
        }
    } else {
        start();
        while (!player.waitDoneFor(std::chrono::milliseconds(100)))
            if (interrupts.interrupted()) player.stop();
    }
    player.waitDone();
    // Closing a window with Ctrl+C is a normal end; a headless play that was cut short says so
    // in its exit status, as a program ended by the signal would.
    if (interrupts.interrupted() && !window) {
        std::fprintf(stderr, "brightline-cli: interrupted after %llu ticks\n",
                     static_cast<unsigned long long>(player.ticks()));
    }

    int status = interrupts.interrupted() && !window ? kExitInterrupted : kExitOk;
    if (player.failed()) {
        std::fprintf(stderr, "brightline-cli: the show %s could not be played\n", show.c_str());
        status = kExitFailed;
    }
    if (png && !png->error().empty()) {
        std::fprintf(stderr, "brightline-cli: %s\n", png->error().c_str());
        status = kExitFailed;
    }
    if (gif && !gif->error().empty()) {
        std::fprintf(stderr, "brightline-cli: %s\n", gif->error().c_str());
        status = kExitFailed;
    }
    if (gif && gif->written() == 0 && !player.failed()) {
        std::fprintf(stderr, "brightline-cli: no frame was drawn; %s not written\n",
                     gifPath.c_str());
        status = kExitFailed;
    }
    std::fprintf(stdout, "played %llu ticks, %d frames\n",
                 static_cast<unsigned long long>(player.ticks()),
                 png   ? png->written()
                 : gif ? gif->written()
                       : 0);
    return status;
}

}  // namespace brightline::cli
