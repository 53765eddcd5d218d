// Mosaic, ZOOM and ROTATE, and the sine and cosine tables.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "engine/effect_families.h"
#include "engine/region_context.h"

namespace brightline::engine {
namespace {

struct Tables {
    float sine[48];
    float cosine[48];
    Tables() {
        for (int k = 0; k < 48; ++k) {
            double a = k * 7.5 * M_PI / 180.0;
            sine[k] = float(std::round(std::sin(a) * 1000.0) / 1000.0);
            cosine[k] = float(std::round(std::cos(a) * 1000.0) / 1000.0);
        }
    }
};
const Tables& tables() {
    static const Tables t;
    return t;
}

// Nearest-neighbour copy of `from` (w x h) scaled to tw x th, centred on a black `to` (w x h).
void scaleCentred(const uint32_t* from, uint32_t* to, int w, int h, int tw, int th) {
    std::fill(to, to + size_t(w) * h, 0u);
    if (tw <= 0 || th <= 0) return;
    const int ox = (w - tw) / 2, oy = (h - th) / 2;
    for (int y = 0; y < th; ++y) {
        const uint32_t* src = from + size_t((long long)y * h / th) * w;
        uint32_t* dst = to + size_t(oy + y) * w + ox;
        for (int x = 0; x < tw; ++x) dst[x] = src[(long long)x * w / tw];
    }
}

// Two region-sized scratch buffers for one effect.
struct Scratch {
    explicit Scratch(size_t pixels)
        : a(new (std::nothrow) uint32_t[std::max<size_t>(pixels, 1)]()),
          b(new (std::nothrow) uint32_t[std::max<size_t>(pixels, 1)]()) {}
    bool ok() const { return a && b; }
    std::unique_ptr<uint32_t[]> a, b;
};

bool finish(RegionContext& ctx, const uint32_t* page, int speed) {
    if (page)
        std::memcpy(ctx.display, page, ctx.pixelCount() * 4);
    else
        std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
    return showStep(ctx, speed);
}

}  // namespace

float sineTable(int k) {
    return tables().sine[((k % 48) + 48) % 48];
}
float cosineTable(int k) {
    return tables().cosine[((k % 48) + 48) % 48];
}

bool mosaicEffect(RegionContext& ctx, int tilesPerSide, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    const int tw = (w + tilesPerSide - 1) / tilesPerSide,
              th = (h + tilesPerSide - 1) / tilesPerSide;
    const int tiles = tilesPerSide * tilesPerSide;
    std::vector<bool> picked(size_t(tiles), false);
    int unpicked = tiles;
    std::uniform_int_distribution<int> pick(0, tiles - 1);
    for (int draw = 0; draw < 10 * tiles && unpicked >= 3; ++draw) {
        int t = pick(ctx.random);
        if (picked[size_t(t)]) continue;
        picked[size_t(t)] = true;
        --unpicked;
        int x0 = (t % tilesPerSide) * tw, y0 = (t / tilesPerSide) * th;
        for (int y = y0; y < std::min(h, y0 + th); ++y)
            for (int x = x0; x < std::min(w, x0 + tw); ++x) {
                size_t i = size_t(y) * w + x;
                ctx.display[i] = page ? page[i] : 0u;
            }
        if (!showStep(ctx, speed)) return false;
    }
    return finish(ctx, page, speed);
}

bool zoomEffect(RegionContext& ctx, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height, m = std::min(w, h);
    Scratch scratch(ctx.pixelCount());
    if (!scratch.ok()) return finish(ctx, page, speed);
    if (page) {
        for (int n = m - 1; n > 0; n -= 6) {
            scaleCentred(page, ctx.display, w, h, w - n, h - n);
            if (!showStep(ctx, speed)) return false;
        }
        return finish(ctx, page, speed);
    }
    std::memcpy(scratch.a.get(), ctx.display, ctx.pixelCount() * 4);
    for (int n = 0; n < m; n += 6) {
        scaleCentred(scratch.a.get(), ctx.display, w, h, w - n, h - n);
        if (!showStep(ctx, speed + 2)) return false;  // the exit waits speed + 3 ticks a step
    }
    return finish(ctx, nullptr, speed);
}

bool rotateEffect(RegionContext& ctx, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height, m = std::min(w, h);
    Scratch scratch(ctx.pixelCount());
    if (!scratch.ok()) return finish(ctx, page, speed);
    const uint32_t* source = page;
    if (!page) {
        std::memcpy(scratch.b.get(), ctx.display, ctx.pixelCount() * 4);
        source = scratch.b.get();
    }
    const int cx = (w + 1) / 2, cy = (h + 1) / 2;
    const int shrink = std::max(1, (m - 1) / 20);
    int inset = page ? m - 1 : 1;
    for (int k = 1; k <= 23; ++k) {
        // Entry: 15-degree steps (even table entries); exit: 7.5-degree steps.
        int index = page ? 2 * k : k - 1;
        float s = sineTable(index), c = cosineTable(index);
        uint32_t* turned = scratch.a.get();
        std::fill(turned, turned + ctx.pixelCount(), 0u);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float dx = float(x - cx), dy = float(y - cy);
                int tx = cx + int(std::lround(dx * c - dy * s));
                int ty = cy + int(std::lround(dx * s + dy * c));
                if (tx >= 0 && ty >= 0 && tx < w && ty < h)
                    turned[size_t(ty) * w + tx] = source[size_t(y) * w + x];
            }
        int e = std::min(std::max(inset, 1), m - 1 < 1 ? 0 : m - 1);
        scaleCentred(turned, ctx.display, w, h, w - e, h - e);
        if (!showStep(ctx, speed)) return false;
        inset = page ? std::max(1, inset - shrink) : std::min(m - 1, inset + shrink);
    }
    return finish(ctx, page, speed);
}

}  // namespace brightline::engine
