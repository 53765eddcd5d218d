#include "engine/tests/show_fixture.h"

#include <fstream>
#include <stdexcept>

#include "engine/engine.h"
#include "engine/png_codec.h"

namespace brightline::engine::testing {

void ShowFixture::write(const std::string& name, const std::string& text) const {
    std::ofstream out(folder_.file(name), std::ios::binary);
    out << text;
}

void ShowFixture::writePng(const std::string& name, int width, int height, uint32_t colour,
                           int64_t right) const {
    std::vector<uint32_t> pixels(size_t(width) * height, colour);
    if (right >= 0)
        for (int y = 0; y < height; ++y)
            for (int x = width / 2; x < width; ++x)
                pixels[size_t(y) * width + x] = static_cast<uint32_t>(right);
    std::string error;
    if (!writePngFile(folder_.file(name), width, height, pixels.data(), &error))
        throw std::runtime_error(error);
}

ShowFixture::Result ShowFixture::play(uint64_t maxTicks, int maxPages, size_t maxArenaBytes) const {
    ShowOptions options;
    options.maxTicks = maxTicks;
    options.maxPages = maxPages;
    if (maxArenaBytes) options.maxArenaBytes = maxArenaBytes;
    return play(std::move(options));
}

ShowFixture::Result ShowFixture::play(ShowOptions options) const {
    options.workspace = folder_.path();
    CollectingSink sink;
    CollectingDiagnostics diag;
    Engine engine;
    engine.start("run.at", options, &sink, diag);
    waitForTheShow(engine);
    return {std::move(sink.frames), diag.text(), engine.ticks(), engine.failed()};
}

std::string lines(const std::vector<std::string>& text) {
    std::string out;
    for (const std::string& line : text) out += line + "\r\n";
    return out;
}

}  // namespace brightline::engine::testing
