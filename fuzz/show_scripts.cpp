// The show and region script interpreters on arbitrary text: the input up to the first 0xFF byte
// is "run.at", the rest is the region script "r.shw" (a small PNG "p.png" is there too). The show
// plays in stepped mode with a budget of 24 ticks, two pages, 1 MiB of pixels and 256 script words
// a tick. Whatever the script, the show must end by itself within its ticks: one that has not
// ended after 5 seconds, or that played more ticks than allowed, is a finding (abort).
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/png_codec.h"

using namespace brightline::engine;

namespace {

constexpr uint64_t kTicks = 24;

std::string gFolder;

void removeWorkspace() {
    std::error_code ignored;
    if (!gFolder.empty()) std::filesystem::remove_all(gFolder, ignored);
}

// Ends the run as a finding (the workspace is removed first: nothing is left in /tmp).
[[noreturn]] void finding() {
    removeWorkspace();
    std::abort();
}

const std::string& workspace() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/bl_fuzz_show_XXXXXX";
        std::string f = mkdtemp(pattern);
        gFolder = f;
        std::atexit(removeWorkspace);
        uint32_t pixels[4 * 4];
        for (uint32_t i = 0; i < 16; ++i) pixels[i] = i * 0x111111;
        writePngFile(f + "/p.png", 4, 4, pixels);
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
    writeFile(ws + "/run.at", data, showSize);
    if (split)
        writeFile(ws + "/r.shw", split + 1, size - showSize - 1);
    else
        writeFile(ws + "/r.shw", nullptr, 0);

    ShowOptions options;
    options.workspace = ws;
    options.maxTicks = kTicks;
    options.maxPages = 2;
    options.maxArenaBytes = size_t(1) << 20;
    options.wordsPerTick = 256;
    CollectingDiagnostics diag;
    Engine engine;
    engine.start("run.at", options, nullptr, diag);
    if (!engine.waitDoneFor(std::chrono::seconds(5))) {
        std::fprintf(stderr, "the show did not end within its %llu ticks\n",
                     static_cast<unsigned long long>(kTicks));
        finding();
    }
    if (engine.ticks() > kTicks) {
        std::fprintf(stderr, "the show played %llu ticks of %llu\n",
                     static_cast<unsigned long long>(engine.ticks()),
                     static_cast<unsigned long long>(kTicks));
        finding();
    }
    return 0;
}
