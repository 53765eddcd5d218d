// The show engine's speed: a 256 x 128 page of 8 regions of 64 x 64 that all change every tick.
//   stepped mode: ticks per second (target: at least 1,000 on one core, 40 times real time)
//   real time:    CPU share of one core while the page plays at 25 ticks a second (target: < 5 %)
// Usage: engine_bench [stepped ticks, default 5000] [real-time seconds, default 4]
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/frame_sink.h"
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

}  // namespace

int main(int argc, char** argv) {
    uint64_t steppedTicks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 5000;
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
        std::printf(
            "stepped: %llu ticks (%llu frames) in %.3f s = %.0f ticks/s "
            "(real time needs 25; target >= 1000)\n",
            static_cast<unsigned long long>(engine.ticks()),
            static_cast<unsigned long long>(sink.frames), wall, engine.ticks() / wall);
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
