#include "engine/effects.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "common/effect_names.h"
#include "engine/effect_families.h"
#include "engine/region_context.h"

namespace brightline::engine {
namespace {

// The engine's internal codes of the effect table.
enum Code {
    kNull = 300,
    kShow = 301,
    kDfrLf = 302,
    kDfrRt,
    kDfrTop,
    kDfrBot,
    kDfrLfTop,
    kDfrRtTop,
    kDfrLfBot,
    kDfrRtBot,
    kDfrHAcross = 310,
    kFrLf = 311,
    kFrRt,
    kFrTop,
    kFrBot,
    kFrLfTop,
    kFrRtTop,
    kFrLfBot,
    kFrRtBot,
    kFrHClose = 319,
    kFrHOpen = 320,
    kFrVClose = 321,
    kFrVOpen = 322,
    kDfrHHalf = 323,
    kDfrVHalf = 324,
    kFrVBlind = 325,
    kFrHBlind = 326,
    kRadar360Cw = 327,
    kRadar180Cw,
    kRadar90Cw,
    kRadar360Ccw,
    kRadar180Ccw,
    kRadar90Ccw,
    kFrHvBox = 333,
    kFrCtbBox = 334,
    kFrHvCross = 335,
    kFrCtbCross = 336,
    kFrCtbX = 337,
    kFrCircle = 338,
    kFrStar = 339,
    kFrMosaicS = 340,
    kFrMosaic = 341,
    kZoom = 342,
    kRotate = 343,
    kColor = 344,
    kFlash = 345,
    kRandom = 346,
};

// Highest table positions RANDOM draws from: NULL .. COLOR on entry, NULL .. FLASH on exit.
constexpr int kRandomEntryLast = 43;
constexpr int kRandomExitLast = 44;

int effectCode(const std::string& name) {
    const EffectInfo* info = effectByName(name);
    return info ? info->code : kShow;
}

enum class PageOrder { FirstToLast, LastToFirst, FirstOnly, CurrentOnly };
enum class Family { Null, Show, Push, Cover, Mask, Radar, Mosaic, Zoom, Rotate, Colour, Flash };

// How each effect code is drawn: its family, the kind within the family (a PushKind, CoverKind,
// MaskKind or RadarKind, or the tiles per side of a mosaic) and the pages an entry draws.
struct Route {
    int code;
    Family family;
    int kind;
    PageOrder order;
};

constexpr PageOrder kFirstToLast = PageOrder::FirstToLast;
constexpr PageOrder kLastToFirst = PageOrder::LastToFirst;

template <typename Kind>
constexpr int k(Kind kind) {
    return static_cast<int>(kind);
}

constexpr Route kRoutes[] = {
    {kNull, Family::Null, 0, kFirstToLast},
    {kShow, Family::Show, 0, kFirstToLast},
    {kDfrLf, Family::Push, k(PushKind::Left), kLastToFirst},
    {kDfrRt, Family::Push, k(PushKind::Right), kFirstToLast},
    {kDfrTop, Family::Push, k(PushKind::Top), kLastToFirst},
    {kDfrBot, Family::Push, k(PushKind::Bottom), kFirstToLast},
    {kDfrLfTop, Family::Push, k(PushKind::LeftTop), kFirstToLast},
    {kDfrRtTop, Family::Push, k(PushKind::RightTop), kFirstToLast},
    {kDfrLfBot, Family::Push, k(PushKind::LeftBottom), kFirstToLast},
    {kDfrRtBot, Family::Push, k(PushKind::RightBottom), kFirstToLast},
    {kDfrHAcross, Family::Push, k(PushKind::Across), kLastToFirst},
    {kFrLf, Family::Cover, k(CoverKind::Left), kFirstToLast},
    {kFrRt, Family::Cover, k(CoverKind::Right), kFirstToLast},
    {kFrTop, Family::Cover, k(CoverKind::Top), kLastToFirst},
    {kFrBot, Family::Cover, k(CoverKind::Bottom), kFirstToLast},
    {kFrLfTop, Family::Mask, k(MaskKind::LeftTop), kFirstToLast},
    {kFrRtTop, Family::Mask, k(MaskKind::RightTop), kFirstToLast},
    {kFrLfBot, Family::Mask, k(MaskKind::LeftBottom), kFirstToLast},
    {kFrRtBot, Family::Mask, k(MaskKind::RightBottom), kFirstToLast},
    {kFrHClose, Family::Mask, k(MaskKind::HClose), kFirstToLast},
    {kFrHOpen, Family::Mask, k(MaskKind::HOpen), kFirstToLast},
    {kFrVClose, Family::Mask, k(MaskKind::VClose), kFirstToLast},
    {kFrVOpen, Family::Mask, k(MaskKind::VOpen), kFirstToLast},
    {kDfrHHalf, Family::Push, k(PushKind::HalfH), kLastToFirst},
    {kDfrVHalf, Family::Push, k(PushKind::HalfV), kFirstToLast},
    {kFrVBlind, Family::Mask, k(MaskKind::VBlind), kFirstToLast},
    {kFrHBlind, Family::Mask, k(MaskKind::HBlind), kFirstToLast},
    {kRadar360Cw, Family::Radar, k(RadarKind::Cw360), kFirstToLast},
    {kRadar180Cw, Family::Radar, k(RadarKind::Cw180), kFirstToLast},
    {kRadar90Cw, Family::Radar, k(RadarKind::Cw90), kFirstToLast},
    {kRadar360Ccw, Family::Radar, k(RadarKind::Ccw360), kFirstToLast},
    {kRadar180Ccw, Family::Radar, k(RadarKind::Ccw180), kFirstToLast},
    {kRadar90Ccw, Family::Radar, k(RadarKind::Ccw90), kFirstToLast},
    {kFrHvBox, Family::Mask, k(MaskKind::BoxIn), kFirstToLast},
    {kFrCtbBox, Family::Mask, k(MaskKind::BoxOut), kFirstToLast},
    {kFrHvCross, Family::Mask, k(MaskKind::CrossIn), kFirstToLast},
    {kFrCtbCross, Family::Mask, k(MaskKind::CrossOut), kFirstToLast},
    {kFrCtbX, Family::Mask, k(MaskKind::XOut), kFirstToLast},
    {kFrCircle, Family::Mask, k(MaskKind::Circle), kFirstToLast},
    {kFrStar, Family::Mask, k(MaskKind::Star), PageOrder::FirstOnly},
    {kFrMosaicS, Family::Mosaic, 24, PageOrder::CurrentOnly},
    {kFrMosaic, Family::Mosaic, 8, PageOrder::CurrentOnly},
    {kZoom, Family::Zoom, 0, PageOrder::FirstOnly},
    {kRotate, Family::Rotate, 0, PageOrder::FirstOnly},
    {kColor, Family::Colour, 0, PageOrder::FirstOnly},
    {kFlash, Family::Flash, 0, kFirstToLast},
};

// The route of `code`; an unknown code (RANDOM included) is drawn as SHOW.
const Route& routeOf(int code) {
    for (const Route& r : kRoutes)
        if (r.code == code) return r;
    return kRoutes[1];
}

bool colourFade(RegionContext& ctx, const uint32_t* page, int speed) {
    // Every byte of every pixel moves one step a tick towards the page's byte (entry, from
    // white) or towards 0 (exit).
    auto* d = reinterpret_cast<uint8_t*>(ctx.display);
    const auto* p = reinterpret_cast<const uint8_t*>(page);
    const size_t bytes = ctx.pixelCount() * 4;
    if (page) std::memset(d, 0xFF, bytes);
    for (;;) {
        bool moved = false;
        for (size_t i = 0; i < bytes; ++i) {
            uint8_t target = p ? p[i] : 0;
            if (d[i] > target) {
                --d[i];
                moved = true;
            }
        }
        if (!moved) return true;
        if (!showStep(ctx, speed)) return false;
    }
}

bool flash(RegionContext& ctx, const uint32_t* page, int speed) {
    const int times = page ? 3 : 4;
    for (int i = 0; i < times; ++i) {
        std::memcpy(ctx.display, page ? page : ctx.pages.page(0), ctx.pixelCount() * 4);
        if (!showStep(ctx, 2)) return false;  // shown 3 ticks
        std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
        if (!showStep(ctx, 1)) return false;  // dark 2 ticks
    }
    if (!page) return true;
    std::memcpy(ctx.display, page, ctx.pixelCount() * 4);
    return showStep(ctx, speed);
}

// One effect on one page (entry) or on the shown content (exit, page null). False: stopped.
bool runOne(RegionContext& ctx, int code, const uint32_t* page, int speed) {
    const Route& r = routeOf(code);
    switch (r.family) {
        case Family::Null:
            return true;
        case Family::Show:
            if (page)
                std::memcpy(ctx.display, page, ctx.pixelCount() * 4);
            else
                std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
            return showStep(ctx, speed);
        case Family::Push:
            return pushEffect(ctx, static_cast<PushKind>(r.kind), page, speed);
        case Family::Cover:
            return coverEffect(ctx, static_cast<CoverKind>(r.kind), page, speed);
        case Family::Mask:
            return maskEffect(ctx, static_cast<MaskKind>(r.kind), page, speed);
        case Family::Radar:
            return radarEffect(ctx, static_cast<RadarKind>(r.kind), page, speed);
        case Family::Mosaic:
            return mosaicEffect(ctx, r.kind, page, speed);
        case Family::Zoom:
            return zoomEffect(ctx, page, speed);
        case Family::Rotate:
            return rotateEffect(ctx, page, speed);
        case Family::Colour:
            return colourFade(ctx, page, speed);
        case Family::Flash:
            return flash(ctx, page, speed);
    }
    return true;
}

int randomPosition(RegionContext& ctx, int last) {
    return std::uniform_int_distribution<int>(0, last)(ctx.random);
}

}  // namespace

bool showEntry(RegionContext& ctx, int speed) {
    for (int n : ctx.pages.pageNumbers())
        if (!runOne(ctx, kShow, ctx.pages.page(n), speed)) return false;
    return true;
}

bool showExit(RegionContext& ctx, int speed) {
    return runOne(ctx, kShow, nullptr, speed);
}

void runEntryEffect(RegionContext& ctx, const std::string& name, int speed) {
    int code = effectCode(name);
    if (code == kRandom) code = effectAt(randomPosition(ctx, kRandomEntryLast))->code;
    if (code == kNull) return;
    std::vector<int> pages = ctx.pages.pageNumbers();
    switch (routeOf(code).order) {
        case PageOrder::LastToFirst:
            std::reverse(pages.begin(), pages.end());
            break;
        case PageOrder::FirstOnly:
            pages.resize(1);
            break;
        case PageOrder::CurrentOnly: {
            const uint32_t* current = ctx.currentPage ? ctx.currentPage : ctx.pages.page(0);
            runOne(ctx, code, current, speed);
            return;
        }
        case PageOrder::FirstToLast:
            break;
    }
    for (int n : pages)
        if (!runOne(ctx, code, ctx.pages.page(n), speed)) return;
}

void runExitEffect(RegionContext& ctx, const std::string& name, int speed) {
    int code = effectCode(name);
    if (code == kRandom) code = effectAt(randomPosition(ctx, kRandomExitLast))->code;
    runOne(ctx, code, nullptr, speed);
}

}  // namespace brightline::engine
