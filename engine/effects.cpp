#include "engine/effects.h"

#include <algorithm>
#include <cstring>

#include "common/effect_names.h"
#include "engine/region_context.h"

namespace brightline::engine {
namespace {

constexpr int kNullCode = 300;
constexpr int kShowCode = 301;

int effectCode(const std::string& name) {
    const EffectInfo* info = effectByName(name);
    return info ? info->code : kShowCode;
}

}  // namespace

bool showEntry(RegionContext& ctx, int speed) {
    for (int n : ctx.pages.pageNumbers()) {
        const uint32_t* page = ctx.pages.page(n);
        std::memcpy(ctx.display, page, ctx.pixelCount() * 4);
        if (!showStep(ctx, speed)) return false;
    }
    return true;
}

bool showExit(RegionContext& ctx, int speed) {
    std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
    return showStep(ctx, speed);
}

void runEntryEffect(RegionContext& ctx, const std::string& name, int speed) {
    switch (effectCode(name)) {
        case kNullCode:
            return;
        case kShowCode:
            showEntry(ctx, speed);
            return;
        default:
            // The transition families are not drawn yet: they bring the content in at once.
            showEntry(ctx, speed);
            return;
    }
}

void runExitEffect(RegionContext& ctx, const std::string& name, int speed) {
    switch (effectCode(name)) {
        case kNullCode:
            return;
        case kShowCode:
            showExit(ctx, speed);
            return;
        default:
            // The transition families are not drawn yet: they clear at once.
            showExit(ctx, speed);
            return;
    }
}

}  // namespace brightline::engine
