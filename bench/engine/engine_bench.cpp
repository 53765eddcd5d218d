// The show engine's speed: a 256 x 128 page of 8 regions of 64 x 64 that all change every tick.
//   stepped mode: ticks per second (target: at least 10,000 on one core), next to the limit:
//                 the same tick's drawing alone (8 region copies and a composition, no script)
//   real time:    CPU share of one core while the page plays at 25 ticks a second (target: < 5 %)
// Usage: engine_bench [stepped ticks, default 20000] [real-time seconds, default 4]
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/composer.h"
#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/frame_sink.h"
#include "engine/layer_tree.h"
#include "engine/pixel_arena.h"
#include "engine/png_codec.h"

using namespace brightline::engine;

namespace {

class CountingSink : public FrameSink {
  public:
    void frame(int, int, const uint32_t*, uint64_t) override { ++frames; }
    uint64_t frames = 0;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

std::string makeShow() {
    char pattern[] = "/tmp/bl_engine_bench_XXXXXX";
    std::string folder = mkdtemp(pattern);
    std::string run = "LED_W 256 \r\nLED_H 128 \r\nAT 00:00 00:00 \r\nRUN wzp 8 ";
    for (int k = 0; k < 8; ++k) {
        std::vector<uint32_t> pixels(64 * 64);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = uint32_t(i * 2654435761u * (k + 1)) & 0xFFFFFF;
        std::string pic = "p" + std::to_string(k);
        writePngFile(folder + "/" + pic + ".png", 64, 64, pixels.data());
        std::ofstream(folder + "/" + pic + ".shw")
            << "PNG " << pic << "\r\nFOR 1000000\r\nAP SHOW 0\r\nEP SHOW 0\r\nEND\r\n";
        run += pic + ".shw " + std::to_string((k % 4) * 64) + " " + std::to_string((k / 4) * 64) +
               " 64 64 1 ";
    }
    std::ofstream(folder + "/run.at") << run << "\r\nEND";
    return folder;
}

// Ticks per second of the page's drawing alone: each region's picture copied into its display
// (what AP SHOW and EP SHOW do), then the screen composed and handed to a sink.
double drawingAloneTicksPerSecond(uint64_t ticks) {
    PixelArena arena;
    std::vector<PixelArena::Size> regions(8, {64, 64});
    if (!arena.reserve({256, 128}, regions)) return 0;
    arena.setUpSlot(0, 0, 0, 256, 128);
    LayerTree layers;
    for (int k = 1; k <= 8; ++k) {
        int x = ((k - 1) % 4) * 64, y = ((k - 1) / 4) * 64;
        arena.setUpSlot(k, x, y, 64, 64);
        layers.insert(k, {x, y, 64, 64});
        RegionSlot& s = arena.slot(k);
        for (int i = 0; i < 64 * 64; ++i) s.page[i] = uint32_t(i * 2654435761u * k) & 0xFFFFFF;
    }
    CountingSink sink;
    auto start = std::chrono::steady_clock::now();
    for (uint64_t t = 0; t < ticks; ++t) {
        for (int k = 1; k <= 8; ++k) {
            RegionSlot& s = arena.slot(k);
            std::memcpy(s.display, s.page, s.bufferSize);
            s.windowType = 1;
            s.changed = true;
        }
        if (composeAndDraw(arena, layers, 8)) sink.frame(256, 128, arena.slot(0).display, t + 1);
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return sink.frames / wall;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t steppedTicks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20000;
    double seconds = argc > 2 ? std::atof(argv[2]) : 4.0;
    std::string folder = makeShow();
    CollectingDiagnostics diag;

    {
        ShowOptions options;
        options.workspace = folder;
        options.maxTicks = steppedTicks;
        CountingSink sink;
        Engine engine;
        auto start = std::chrono::steady_clock::now();
        engine.start("run.at", options, &sink, diag);
        engine.waitDone();
        double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double limit = drawingAloneTicksPerSecond(steppedTicks);
        std::printf(
            "stepped: %llu ticks (%llu frames) in %.3f s = %.0f ticks/s; the drawing alone: "
            "%.0f ticks/s (real time needs 25; target >= 10000)\n",
            static_cast<unsigned long long>(engine.ticks()),
            static_cast<unsigned long long>(sink.frames), wall, engine.ticks() / wall, limit);
    }
    {
        ShowOptions options;
        options.workspace = folder;
        options.clock = ClockMode::RealTime;
        options.maxTicks = static_cast<uint64_t>(seconds * 25);
        CountingSink sink;
        Engine engine;
        double cpu0 = cpuSeconds();
        auto start = std::chrono::steady_clock::now();
        engine.start("run.at", options, &sink, diag);
        engine.waitDone();
        double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double cpu = cpuSeconds() - cpu0;
        std::printf(
            "real time: %llu ticks in %.3f s = %.1f ticks/s (needs 25), CPU %.3f s = "
            "%.2f %% of one core (target < 5 %%)\n",
            static_cast<unsigned long long>(engine.ticks()), wall, engine.ticks() / wall, cpu,
            100.0 * cpu / wall);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
