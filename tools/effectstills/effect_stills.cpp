#include "tools/effectstills/effect_stills.h"

#include <cmath>

#include "common/effect_names.h"
#include "engine/effect_runner.h"

namespace brightline::tools {

namespace {

uint32_t rgb(int r, int g, int b) {
    return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

}  // namespace

std::vector<uint32_t> pictureA() {
    std::vector<uint32_t> pixels(size_t(kStillWidth) * kStillHeight);
    const double cx = kStillWidth / 2.0, cy = kStillHeight / 2.0;
    for (int y = 0; y < kStillHeight; ++y)
        for (int x = 0; x < kStillWidth; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const bool ring = d > 18 && d < 27;
            pixels[size_t(y) * kStillWidth + size_t(x)] =
                ring ? rgb(250, 250, 250) : rgb(20, 60 + y, 150 + x);
        }
    return pixels;
}

std::vector<uint32_t> pictureB() {
    std::vector<uint32_t> pixels(size_t(kStillWidth) * kStillHeight);
    for (int y = 0; y < kStillHeight; ++y)
        for (int x = 0; x < kStillWidth; ++x) {
            const bool stripe = (x + y) / 8 % 2 == 0;
            pixels[size_t(y) * kStillWidth + size_t(x)] =
                stripe ? rgb(120, 40, 10) : rgb(250, 150 + y, 30);
        }
    return pixels;
}

std::vector<uint32_t> effectStill(int position, bool entry) {
    engine::EffectRun run;
    run.name = effectAt(position) ? effectAt(position)->name : "NULL";
    run.entry = entry;
    run.width = kStillWidth;
    run.height = kStillHeight;
    run.page = entry ? pictureB() : pictureA();
    run.display = pictureA();
    std::vector<std::vector<uint32_t>> frames;
    engine::runEffect(run, [&](int, const uint32_t* display, bool) {
        frames.emplace_back(display, display + run.page.size());
    });
    if (frames.empty()) return run.display;  // "No clear": the picture stays
    return frames[frames.size() / 2];
}

Strip effectStrip(bool entry) {
    const int first = entry ? 1 : 0;
    Strip strip;
    strip.width = (kEffectCount - first) * kStillWidth;
    strip.height = kStillHeight;
    strip.pixels.assign(size_t(strip.width) * size_t(strip.height), 0);
    for (int position = first; position < kEffectCount; ++position) {
        const std::vector<uint32_t> still = effectStill(position, entry);
        const int left = (position - first) * kStillWidth;
        for (int y = 0; y < kStillHeight; ++y)
            for (int x = 0; x < kStillWidth; ++x)
                strip.pixels[size_t(y) * size_t(strip.width) + size_t(left + x)] =
                    still[size_t(y) * kStillWidth + size_t(x)];
    }
    return strip;
}

}  // namespace brightline::tools
