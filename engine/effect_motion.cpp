// Push (DFR_) and cover (FR_ left, right, top, bottom) effects.
#include <algorithm>
#include <cstring>

#include "engine/effect_families.h"
#include "engine/region_context.h"

namespace brightline::engine {
namespace {

// The page's pixel, or black when taking the content away.
inline uint32_t source(const uint32_t* page, int w, int x, int y) {
    return page ? page[size_t(y) * w + x] : 0u;
}

void shiftRowRight(uint32_t* row, int w, int by) {
    if (by < w) std::memmove(row + by, row, size_t(w - by) * 4);
}
void shiftRowLeft(uint32_t* row, int w, int by) {
    if (by < w) std::memmove(row, row + by, size_t(w - by) * 4);
}

// Step width of DFR_LF and DFR_RT: speed 0..7 moves speed + 1 pixels a tick, others 1.
int pushStep(int speed) {
    return speed >= 0 && speed <= 7 ? speed + 1 : 1;
}

bool pushHorizontal(RegionContext& ctx, bool right, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    const int step = pushStep(speed);
    uint32_t* d = ctx.display;
    for (int done = 0; done < w;) {
        int s = std::min(step, w - done);
        for (int y = 0; y < h; ++y) {
            uint32_t* row = d + size_t(y) * w;
            if (right) {
                // Rows move right; the page comes in at the left edge, its right columns first.
                shiftRowRight(row, w, s);
                for (int i = 0; i < s; ++i) row[i] = source(page, w, w - done - s + i, y);
            } else {
                shiftRowLeft(row, w, s);
                for (int i = 0; i < s; ++i) row[w - s + i] = source(page, w, done + i, y);
            }
        }
        done += s;
        if (!showStep(ctx, 0)) return false;
    }
    if (page) std::memcpy(d, page, ctx.pixelCount() * 4);
    return true;
}

bool pushVertical(RegionContext& ctx, bool down, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    uint32_t* d = ctx.display;
    for (int done = 0; done < h; ++done) {
        if (down) {
            // Rows move down; the page comes in at the top, its bottom row first.
            std::memmove(d + w, d, size_t(h - 1) * w * 4);
            for (int x = 0; x < w; ++x) d[x] = source(page, w, x, h - 1 - done);
        } else {
            std::memmove(d, d + w, size_t(h - 1) * w * 4);
            for (int x = 0; x < w; ++x) d[size_t(h - 1) * w + x] = source(page, w, x, done);
        }
        if (!showStep(ctx, speed)) return false;
    }
    return true;
}

// A block anchored in one corner grows (entry, showing the page's opposite corner) or shrinks
// (exit, showing the content's opposite corner, taken from the work buffer) with the rest black.
bool pushDiagonal(RegionContext& ctx, bool left, bool top, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    const int m = std::min(w, h), big = std::max(w, h);
    uint32_t* d = ctx.display;
    const uint32_t* from = page;
    if (!page) {
        std::memcpy(ctx.work, d, ctx.pixelCount() * 4);
        from = ctx.work;
    }
    auto draw = [&](int j) {
        int along = int((long long)big * j / m);
        int bw = std::min(w, w <= h ? j : along), bh = std::min(h, w <= h ? along : j);
        if (!page) std::fill(d, d + ctx.pixelCount(), 0u);
        for (int y = 0; y < bh; ++y) {
            int dy = top ? y : h - bh + y;
            int sy = top ? h - bh + y : y;
            int dx = left ? 0 : w - bw;
            int sx = left ? w - bw : 0;
            std::memcpy(d + size_t(dy) * w + dx, from + size_t(sy) * w + sx, size_t(bw) * 4);
        }
    };
    if (page) {
        for (int j = 2; j <= m; ++j) {
            draw(j);
            if (!showStep(ctx, speed)) return false;
        }
        std::memcpy(d, page, ctx.pixelCount() * 4);
        return showStep(ctx, speed);
    }
    for (int j = m; j >= 1; --j) {
        draw(j);
        if (!showStep(ctx, speed)) return false;
    }
    std::fill(d, d + ctx.pixelCount(), 0u);
    return showStep(ctx, speed);
}

// DFR_H_ACROSS (alternate rows) and DFR_H_HALF (top half / bottom half): rows moving right take
// the page in at the left edge, rightmost column first; rows moving left the other way.
bool pushRowsApart(RegionContext& ctx, bool halves, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    uint32_t* d = ctx.display;
    for (int done = 0; done < w; ++done) {
        for (int y = 0; y < h; ++y) {
            bool right = halves ? y < h / 2 : y % 2 == 0;
            uint32_t* row = d + size_t(y) * w;
            if (right) {
                shiftRowRight(row, w, 1);
                row[0] = source(page, w, w - 1 - done, y);
            } else {
                shiftRowLeft(row, w, 1);
                row[w - 1] = source(page, w, done, y);
            }
        }
        if (!showStep(ctx, speed)) return false;
    }
    return true;
}

// DFR_V_HALF: the left half moves up (the page's left half enters at the bottom, top row first),
// the right half moves down (the page's right half enters at the top, bottom row first).
bool pushColumnsApart(RegionContext& ctx, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    uint32_t* d = ctx.display;
    const int half = w / 2;
    for (int done = 0; done < h; ++done) {
        for (int y = 0; y + 1 < h; ++y)
            std::memmove(d + size_t(y) * w, d + size_t(y + 1) * w, size_t(half) * 4);
        for (int y = h - 1; y > 0; --y)
            std::memmove(d + size_t(y) * w + half, d + size_t(y - 1) * w + half,
                         size_t(w - half) * 4);
        for (int x = 0; x < half; ++x) d[size_t(h - 1) * w + x] = source(page, w, x, done);
        for (int x = half; x < w; ++x) d[x] = source(page, w, x, h - 1 - done);
        if (!showStep(ctx, speed)) return false;
    }
    return true;
}

}  // namespace

bool pushEffect(RegionContext& ctx, PushKind kind, const uint32_t* page, int speed) {
    switch (kind) {
        case PushKind::Left:
            if (!pushHorizontal(ctx, true, page, speed)) return false;
            break;
        case PushKind::Right:
            if (!pushHorizontal(ctx, false, page, speed)) return false;
            break;
        case PushKind::Top:
            return pushVertical(ctx, true, page, speed);
        case PushKind::Bottom:
            return pushVertical(ctx, false, page, speed);
        case PushKind::LeftTop:
            return pushDiagonal(ctx, true, true, page, speed);
        case PushKind::RightTop:
            return pushDiagonal(ctx, false, true, page, speed);
        case PushKind::LeftBottom:
            return pushDiagonal(ctx, true, false, page, speed);
        case PushKind::RightBottom:
            return pushDiagonal(ctx, false, false, page, speed);
        case PushKind::Across:
            return pushRowsApart(ctx, false, page, speed);
        case PushKind::HalfH:
            return pushRowsApart(ctx, true, page, speed);
        case PushKind::HalfV:
            return pushColumnsApart(ctx, page, speed);
    }
    if (!page) {
        // DFR_LF and DFR_RT exits end by clearing.
        std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
        return showStep(ctx, speed);
    }
    return true;
}

bool coverEffect(RegionContext& ctx, CoverKind kind, const uint32_t* page, int speed) {
    const int w = ctx.width, h = ctx.height;
    uint32_t* d = ctx.display;
    const bool columns = kind == CoverKind::Left || kind == CoverKind::Right;
    const int count = columns ? w : h;
    for (int i = 0; i < count; ++i) {
        // Entries: FR_LF from the left, FR_RT from the right, FR_TOP from the top, FR_BOT from
        // the bottom. Exits: FR_TOP and FR_BOT as their entries, FR_LF and FR_RT the opposite.
        bool fromStart = kind == CoverKind::Left || kind == CoverKind::Top;
        if (!page && columns) fromStart = !fromStart;
        int at = fromStart ? i : count - 1 - i;
        if (columns) {
            for (int y = 0; y < h; ++y) d[size_t(y) * w + at] = source(page, w, at, y);
        } else if (page) {
            std::memcpy(d + size_t(at) * w, page + size_t(at) * w, size_t(w) * 4);
        } else {
            std::fill(d + size_t(at) * w, d + size_t(at + 1) * w, 0u);
        }
        if (!showStep(ctx, speed)) return false;
    }
    return true;
}

}  // namespace brightline::engine
