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

PageOrder pageOrder(int code) {
    switch (code) {
        case kDfrLf:
        case kDfrTop:
        case kDfrHAcross:
        case kDfrHHalf:
        case kFrTop:
            return PageOrder::LastToFirst;
        case kFrStar:
        case kZoom:
        case kRotate:
        case kColor:
            return PageOrder::FirstOnly;
        case kFrMosaicS:
        case kFrMosaic:
            return PageOrder::CurrentOnly;
        default:
            return PageOrder::FirstToLast;
    }
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
    switch (code) {
        case kNull:
            return true;
        case kShow:
            if (page)
                std::memcpy(ctx.display, page, ctx.pixelCount() * 4);
            else
                std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
            return showStep(ctx, speed);
        case kDfrLf:
            return pushEffect(ctx, PushKind::Left, page, speed);
        case kDfrRt:
            return pushEffect(ctx, PushKind::Right, page, speed);
        case kDfrTop:
            return pushEffect(ctx, PushKind::Top, page, speed);
        case kDfrBot:
            return pushEffect(ctx, PushKind::Bottom, page, speed);
        case kDfrLfTop:
            return pushEffect(ctx, PushKind::LeftTop, page, speed);
        case kDfrRtTop:
            return pushEffect(ctx, PushKind::RightTop, page, speed);
        case kDfrLfBot:
            return pushEffect(ctx, PushKind::LeftBottom, page, speed);
        case kDfrRtBot:
            return pushEffect(ctx, PushKind::RightBottom, page, speed);
        case kDfrHAcross:
            return pushEffect(ctx, PushKind::Across, page, speed);
        case kDfrHHalf:
            return pushEffect(ctx, PushKind::HalfH, page, speed);
        case kDfrVHalf:
            return pushEffect(ctx, PushKind::HalfV, page, speed);
        case kFrLf:
            return coverEffect(ctx, CoverKind::Left, page, speed);
        case kFrRt:
            return coverEffect(ctx, CoverKind::Right, page, speed);
        case kFrTop:
            return coverEffect(ctx, CoverKind::Top, page, speed);
        case kFrBot:
            return coverEffect(ctx, CoverKind::Bottom, page, speed);
        case kFrLfTop:
            return maskEffect(ctx, MaskKind::LeftTop, page, speed);
        case kFrRtTop:
            return maskEffect(ctx, MaskKind::RightTop, page, speed);
        case kFrLfBot:
            return maskEffect(ctx, MaskKind::LeftBottom, page, speed);
        case kFrRtBot:
            return maskEffect(ctx, MaskKind::RightBottom, page, speed);
        case kFrVClose:
            return maskEffect(ctx, MaskKind::VClose, page, speed);
        case kFrVOpen:
            return maskEffect(ctx, MaskKind::VOpen, page, speed);
        case kFrHClose:
            return maskEffect(ctx, MaskKind::HClose, page, speed);
        case kFrHOpen:
            return maskEffect(ctx, MaskKind::HOpen, page, speed);
        case kFrHBlind:
            return maskEffect(ctx, MaskKind::HBlind, page, speed);
        case kFrVBlind:
            return maskEffect(ctx, MaskKind::VBlind, page, speed);
        case kFrCtbBox:
            return maskEffect(ctx, MaskKind::BoxOut, page, speed);
        case kFrHvBox:
            return maskEffect(ctx, MaskKind::BoxIn, page, speed);
        case kFrCtbCross:
            return maskEffect(ctx, MaskKind::CrossOut, page, speed);
        case kFrHvCross:
            return maskEffect(ctx, MaskKind::CrossIn, page, speed);
        case kFrCtbX:
            return maskEffect(ctx, MaskKind::XOut, page, speed);
        case kFrCircle:
            return maskEffect(ctx, MaskKind::Circle, page, speed);
        case kFrStar:
            return maskEffect(ctx, MaskKind::Star, page, speed);
        case kRadar360Cw:
            return radarEffect(ctx, RadarKind::Cw360, page, speed);
        case kRadar180Cw:
            return radarEffect(ctx, RadarKind::Cw180, page, speed);
        case kRadar90Cw:
            return radarEffect(ctx, RadarKind::Cw90, page, speed);
        case kRadar360Ccw:
            return radarEffect(ctx, RadarKind::Ccw360, page, speed);
        case kRadar180Ccw:
            return radarEffect(ctx, RadarKind::Ccw180, page, speed);
        case kRadar90Ccw:
            return radarEffect(ctx, RadarKind::Ccw90, page, speed);
        case kFrMosaicS:
            return mosaicEffect(ctx, 24, page, speed);
        case kFrMosaic:
            return mosaicEffect(ctx, 8, page, speed);
        case kZoom:
            return zoomEffect(ctx, page, speed);
        case kRotate:
            return rotateEffect(ctx, page, speed);
        case kColor:
            return colourFade(ctx, page, speed);
        case kFlash:
            return flash(ctx, page, speed);
        default:
            return runOne(ctx, kShow, page, speed);
    }
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
    switch (pageOrder(code)) {
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
