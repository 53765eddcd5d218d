// The show and region script interpreters on arbitrary text: the input up to the first 0xFF byte
// is "run.at" (after a first line setting a 32 x 16 screen, which the input may change), the rest
// is the region script "r.shw" (a small PNG "p.png" is there too). The show plays in stepped mode
// with a budget of 24 ticks, two pages, 512 KiB of pixels and 256 script words a tick. Whatever
// the script, the show must end by itself within its ticks: one that has not ended after 5
// seconds (a watchdog looks), or that played more ticks than allowed, is a finding (abort).
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "engine/diagnostic_output.h"
#include "engine/media_hooks.h"
#include "engine/png_codec.h"
#include "engine/show_player.h"

using namespace brightline::engine;

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint64_t kTicks = 24;
constexpr auto kDeadline = std::chrono::seconds(5);

std::string gFolder;
std::atomic<int64_t> gStarted{0};  // when the running show started (steady ticks), 0: none

void removeWorkspace() {
    std::error_code ignored;
    if (!gFolder.empty()) std::filesystem::remove_all(gFolder, ignored);
}

// Ends the run as a finding (the workspace is removed first: nothing is left behind).
[[noreturn]] void finding(const char* why) {
    std::fprintf(stderr, "%s\n", why);
    removeWorkspace();
    std::abort();
}

const std::string& workspace() {
    static const std::string folder = [] {
        // In memory when the system has a tmpfs there: rewriting two small files on a disk for
        // every input would cost more than playing them.
        std::error_code ec;
        const bool shm =
            std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0;
        std::string pattern = std::string(shm ? "/dev/shm" : "/tmp") + "/bl_fuzz_show_XXXXXX";
        std::string f = mkdtemp(pattern.data());
        gFolder = f;
        std::atexit(removeWorkspace);
        uint32_t pixels[4 * 4];
        for (uint32_t i = 0; i < 16; ++i) pixels[i] = i * 0x111111;
        writePngFile(f + "/p.png", 4, 4, pixels);
        // One watchdog for the whole run: a show that does not end is a finding.
        std::thread([] {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                const int64_t started = gStarted.load();
                if (started && Clock::now().time_since_epoch().count() - started >
                                   std::chrono::duration_cast<Clock::duration>(kDeadline).count())
                    finding("the show did not end within its 24 ticks");
            }
        }).detach();
        return f;
    }();
    return folder;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& ws = workspace();
    const uint8_t* split = static_cast<const uint8_t*>(std::memchr(data, 0xFF, size));
    size_t showSize = split ? size_t(split - data) : size;
    // A small screen unless the input sets its own (the last LED_W / LED_H wins): an input then
    // costs little memory to set up.
    std::string show = "LED_W 32 \r\nLED_H 16 \r\n";
    show.append(reinterpret_cast<const char*>(data), showSize);
    writeFile(ws + "/run.at", reinterpret_cast<const uint8_t*>(show.data()), show.size());
    if (split)
        writeFile(ws + "/r.shw", split + 1, size - showSize - 1);
    else
        writeFile(ws + "/r.shw", nullptr, 0);

    ShowOptions options;
    options.workspace = ws;
    options.maxTicks = kTicks;
    options.maxPages = 2;
    options.maxArenaBytes = size_t(512) << 10;  // the default 256 x 128 screen takes 384 KiB
    options.wordsPerTick = 256;
    CollectingDiagnostics diag;
    MediaHooks media;
    ShowPlayer player(options, diag, nullptr, media);
    gStarted = Clock::now().time_since_epoch().count();
    player.run(ws + "/run.at");
    gStarted = 0;
    if (player.ticks() > kTicks) finding("the show played more ticks than its budget");
    return 0;
}
