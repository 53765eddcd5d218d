// The show and region script interpreters on arbitrary text: the input up to the first 0xFF byte
// is "run.at", the rest is the region script "r.shw" (a small PNG "p.png" is there too). The show
// plays in stepped mode for at most 200 ticks and two pages, with at most 4 MiB of pixels.
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/png_codec.h"

using namespace brightline::engine;

namespace {

const std::string& workspace() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/bl_fuzz_show_XXXXXX";
        std::string f = mkdtemp(pattern);
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
    options.maxTicks = 200;
    options.maxPages = 2;
    options.maxArenaBytes = size_t(4) << 20;
    CollectingDiagnostics diag;
    Engine engine;
    engine.start("run.at", options, nullptr, diag);
    // Loops that never wait (FOR 2147483647 … END nested deep) take long; a stop ends them.
    if (!engine.waitDoneFor(std::chrono::seconds(1))) engine.stop();
    return 0;
}
