// Mask effects: outlines drawn into the cleared work buffer and flood-filled from seeds, and the
// shapes computed directly (radar sweeps, circle, X).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/effect_families.h"
#include "engine/region_context.h"

namespace brightline::engine {
namespace {

constexpr uint32_t kOutline = 0xFFFFFF;
constexpr uint32_t kFilled = 0xFF0000;
constexpr int kMaxSeeds = 1001;

class Mask {
  public:
    Mask(RegionContext& ctx, const uint32_t* page) : ctx_(ctx), page_(page) {}

    void clear() { std::fill(ctx_.work, ctx_.work + ctx_.pixelCount(), 0u); }

    // Integer line drawing, clipped to the region.
    void line(int x0, int y0, int x1, int y1) {
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            plot(x0, y0);
            if (x0 == x1 && y0 == y1) break;
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    void rect(int left, int top, int right, int bottom) {
        line(left, top, right, top);
        line(right, top, right, bottom);
        line(right, bottom, left, bottom);
        line(left, bottom, left, top);
    }

    // Row flood fill from (x, y): stops at the outline and the region's edge; each pixel reached
    // is marked in the work buffer and takes the page's pixel (or black) in the display.
    void fill(int x, int y) {
        const int w = ctx_.width, h = ctx_.height;
        struct Seed {
            int x, y;
        };
        Seed stack[kMaxSeeds];
        int top = 0;
        stack[top++] = {x, y};
        uint32_t* work = ctx_.work;
        auto open = [&](int px, int py) { return work[size_t(py) * w + px] == 0; };
        while (top > 0) {
            Seed s = stack[--top];
            if (s.x < 0 || s.y < 0 || s.x >= w || s.y >= h || !open(s.x, s.y)) continue;
            int left = s.x;
            while (left > 0 && open(left - 1, s.y)) --left;
            bool upPending = false, downPending = false;
            for (int px = left; px < w && open(px, s.y); ++px) {
                size_t i = size_t(s.y) * w + px;
                work[i] = kFilled;
                ctx_.display[i] = page_ ? page_[i] : 0u;
                for (int dir = -1; dir <= 1; dir += 2) {
                    int ny = s.y + dir;
                    bool& pending = dir < 0 ? upPending : downPending;
                    if (ny < 0 || ny >= h) continue;
                    if (open(px, ny)) {
                        if (!pending && top < kMaxSeeds) stack[top++] = {px, ny};
                        pending = true;
                    } else {
                        pending = false;
                    }
                }
            }
        }
    }

  private:
    void plot(int x, int y) {
        if (x >= 0 && y >= 0 && x < ctx_.width && y < ctx_.height)
            ctx_.work[size_t(y) * ctx_.width + x] = kOutline;
    }
    RegionContext& ctx_;
    const uint32_t* page_;
};

bool finish(RegionContext& ctx, const uint32_t* page, int speed) {
    if (page)
        std::memcpy(ctx.display, page, ctx.pixelCount() * 4);
    else
        std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
    return showStep(ctx, speed);
}

// Insets of the box and cross shapes: n along the smaller side, floor(M / m x n) along the
// larger.
void insets(const RegionContext& ctx, int n, int& ix, int& iy) {
    int m = std::min(ctx.width, ctx.height), big = std::max(ctx.width, ctx.height);
    int along = m > 0 ? int((long long)big * n / m) : 0;
    ix = ctx.width >= ctx.height ? along : n;
    iy = ctx.width >= ctx.height ? n : along;
}

// Sets every pixel for which `inside` holds to the page's pixel (or black).
template <typename Inside>
void paintWhere(RegionContext& ctx, const uint32_t* page, Inside inside) {
    for (int y = 0; y < ctx.height; ++y)
        for (int x = 0; x < ctx.width; ++x)
            if (inside(x, y)) {
                size_t i = size_t(y) * ctx.width + x;
                ctx.display[i] = page ? page[i] : 0u;
            }
}

}  // namespace

bool maskEffect(RegionContext& ctx, MaskKind kind, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    const int m = std::min(w, h), big = std::max(w, h);
    Mask mask(ctx, page);
    auto step = [&](auto drawAndFill) {
        mask.clear();
        drawAndFill();
        return showStep(ctx, speed);
    };
    switch (kind) {
        case MaskKind::LeftTop:
            for (int j = 1; j <= w + h - 2; ++j)
                if (!step([&] {
                        mask.line(j, 0, 0, j);
                        mask.fill(0, 0);
                    }))
                    return false;
            break;
        case MaskKind::RightTop:
            for (int j = w - 2; j >= 1 - h; --j)
                if (!step([&] {
                        mask.line(j, 0, j + h, h);
                        mask.fill(w - 1, 0);
                    }))
                    return false;
            break;
        case MaskKind::LeftBottom:
            for (int j = 2 - h; j <= w - 1; ++j)
                if (!step([&] {
                        mask.line(j, 0, j + h, h);
                        mask.fill(0, h - 1);
                    }))
                    return false;
            break;
        case MaskKind::RightBottom:
            for (int n = w + h - 4; n >= 1; --n)
                if (!step([&] {
                        mask.line(n, 0, 0, n);
                        mask.fill(w - 1, h - 1);
                    }))
                    return false;
            break;
        case MaskKind::VClose:
            for (int j = 1; j <= h / 2 - 2; ++j)
                if (!step([&] {
                        mask.line(0, j, w - 1, j);
                        mask.line(0, h - j - 1, w - 1, h - j - 1);
                        mask.fill(0, 0);
                        mask.fill(0, h - 1);
                    }))
                    return false;
            break;
        case MaskKind::VOpen:
            for (int n = h / 2 - 1; n >= 1; --n)
                if (!step([&] {
                        mask.line(0, n, w - 1, n);
                        mask.line(0, h - n + 1, w - 1, h - n + 1);
                        mask.fill(0, h / 2);
                    }))
                    return false;
            break;
        case MaskKind::HClose:
            for (int j = 1; j <= w / 2 - 2; ++j)
                if (!step([&] {
                        mask.line(j, 0, j, h - 1);
                        mask.line(w - j - 1, 0, w - j - 1, h - 1);
                        mask.fill(0, 0);
                        mask.fill(w - 1, 0);
                    }))
                    return false;
            break;
        case MaskKind::HOpen:
            for (int n = w / 2 - 1; n >= 1; --n)
                if (!step([&] {
                        mask.line(n, 0, n, h - 1);
                        mask.line(w - n + 1, 0, w - n + 1, h - 1);
                        mask.fill(w / 2, 0);
                    }))
                    return false;
            break;
        case MaskKind::HBlind:
        case MaskKind::VBlind: {
            const bool cols = kind == MaskKind::HBlind;
            const int span = cols ? w : h;
            for (int c = 2; c <= 14; ++c)
                if (!step([&] {
                        for (int k = 0; 16 * k < span; ++k) {
                            if (cols) {
                                if (k > 0) mask.line(16 * k, 0, 16 * k, h - 1);
                                mask.line(16 * k + c, 0, 16 * k + c, h - 1);
                            } else {
                                if (k > 0) mask.line(0, 16 * k, w - 1, 16 * k);
                                mask.line(0, 16 * k + c, w - 1, 16 * k + c);
                            }
                        }
                        for (int k = 0; 16 * k < span; ++k) {
                            if (cols)
                                mask.fill(16 * k + 1, 0);
                            else
                                mask.fill(0, 16 * k + 1);
                        }
                    }))
                    return false;
            break;
        }
        case MaskKind::BoxOut:
        case MaskKind::BoxIn: {
            auto box = [&](int n, bool inside) {
                int ix, iy;
                insets(ctx, n, ix, iy);
                mask.rect(ix, iy, w - 1 - ix, h - 1 - iy);
                if (inside)
                    mask.fill(w / 2, h / 2);
                else
                    mask.fill(0, 0);
            };
            if (kind == MaskKind::BoxOut) {
                for (int n = m / 2 - 1; n >= 1; --n)
                    if (!step([&] { box(n, true); })) return false;
            } else {
                for (int j = 1; j <= m / 2 - 2; ++j)
                    if (!step([&] { box(j, false); })) return false;
            }
            break;
        }
        case MaskKind::CrossOut:
        case MaskKind::CrossIn: {
            auto corners = [&](int n) {
                int ix, iy;
                insets(ctx, n, ix, iy);
                mask.line(ix, 0, ix, iy);
                mask.line(0, iy, ix, iy);
                mask.line(w - 1 - ix, 0, w - 1 - ix, iy);
                mask.line(w - 1, iy, w - 1 - ix, iy);
                mask.line(ix, h - 1, ix, h - 1 - iy);
                mask.line(0, h - 1 - iy, ix, h - 1 - iy);
                mask.line(w - 1 - ix, h - 1, w - 1 - ix, h - 1 - iy);
                mask.line(w - 1, h - 1 - iy, w - 1 - ix, h - 1 - iy);
            };
            if (kind == MaskKind::CrossOut) {
                for (int n = m / 2 - 1; n >= 1; --n)
                    if (!step([&] {
                            corners(n);
                            mask.fill(w / 2, h / 2);
                        }))
                        return false;
            } else {
                for (int j = 2; j <= m / 2 - 2; ++j)
                    if (!step([&] {
                            corners(j);
                            mask.fill(0, 0);
                            mask.fill(w - 1, 0);
                            mask.fill(0, h - 1);
                            mask.fill(w - 1, h - 1);
                        }))
                        return false;
            }
            break;
        }
        case MaskKind::XOut:
            // Two bands along the diagonals, widening from the centre line by max / min a step.
            for (int n = m / 2 - 1; n >= 1; --n) {
                long long reach = (long long)(m / 2 - n) * big / std::max(m, 1);
                paintWhere(ctx, page, [&](int x, int y) {
                    long long a = std::llabs((long long)y * w - (long long)x * h);
                    long long b = std::llabs((long long)y * w - (long long)(w - 1 - x) * h);
                    return std::min(a, b) <= reach * w;
                });
                if (!showStep(ctx, speed)) return false;
            }
            break;
        case MaskKind::Circle: {
            const int cx = w / 2, cy = h / 2;
            const int grow = page ? 2 : 4;
            for (int j = 0; j < big; j += grow) {
                long long r2 = (long long)j * j;
                paintWhere(ctx, page, [&](int x, int y) {
                    long long dx = x - cx, dy = y - cy;
                    return dx * dx + dy * dy <= r2;
                });
                if (!showStep(ctx, speed)) return false;
            }
            break;
        }
        case MaskKind::Star: {
            const int cx = w / 2, cy = h / 2;
            for (int r = 4; r < big; r += 4) {
                if (!step([&] {
                        int px[10], py[10];
                        for (int k = 0; k < 10; ++k) {
                            double radius = k % 2 == 0 ? r : r / 2.0;
                            double angle = (-90.0 + 36.0 * k) * M_PI / 180.0;
                            px[k] = cx + int(std::lround(radius * std::cos(angle)));
                            py[k] = cy + int(std::lround(radius * std::sin(angle)));
                        }
                        for (int k = 0; k < 10; ++k)
                            mask.line(px[k], py[k], px[(k + 1) % 10], py[(k + 1) % 10]);
                        mask.fill(cx, cy);
                    }))
                    return false;
            }
            break;
        }
    }
    return finish(ctx, page, speed);
}

bool radarEffect(RegionContext& ctx, RadarKind kind, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    const int cx = w / 2 - 1, cy = h / 2 - 1;
    // The angle of every pixel seen from the centre, clockwise from straight up, in units of
    // 1/100 degree, kept in the work buffer for the whole effect.
    uint32_t* angle = ctx.work;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double a = std::atan2(double(x - cx), double(cy - y)) * 180.0 / M_PI;
            if (a < 0) a += 360.0;
            angle[size_t(y) * w + x] = uint32_t(a * 100.0) % 36000;
        }
    int steps = 48;
    if (kind == RadarKind::Cw180) steps = 26;
    if (kind == RadarKind::Ccw180) steps = 25;
    if (kind == RadarKind::Cw90 || kind == RadarKind::Ccw90) steps = 12;
    for (int i = 1; i <= steps; ++i) {
        // The sweep turns 7.5 degrees a step (the table's spacing).
        const uint32_t swept = uint32_t(std::min(i * 750, 36000));
        paintWhere(ctx, page, [&](int x, int y) {
            uint32_t a = angle[size_t(y) * w + x];
            switch (kind) {
                case RadarKind::Cw360:
                    return a < swept;
                case RadarKind::Ccw360:
                    return 36000 - a <= swept || a == 0;
                case RadarKind::Cw180:  // two sweeps from the top down both sides
                    return a < swept || 36000 - a <= swept;
                case RadarKind::Ccw180:  // two sweeps from the bottom up both sides
                    return (a >= 18000 ? a - 18000 : 18000 - a) < swept;
                case RadarKind::Cw90:
                    return a % 9000 < swept;
                case RadarKind::Ccw90:
                    return 9000 - a % 9000 <= swept;
            }
            return false;
        });
        if (!showStep(ctx, speed)) return false;
    }
    return finish(ctx, page, speed);
}

}  // namespace brightline::engine
