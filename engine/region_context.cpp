#include "engine/region_context.h"

#include "engine/region_slot.h"
#include "engine/step_gate.h"

namespace brightline::engine {

void markChanged(RegionContext& ctx) {
    if (ctx.changed->load()) return;
    ctx.slot->windowType = ctx.winType;
    ctx.changed->store(true);
}

bool waitTicks(RegionContext& ctx, long long n) {
    for (long long i = 0; i < n; ++i) {
        if (ctx.slot->stop) return false;
        ctx.gate->await(ctx.regionNumber);
    }
    return true;
}

bool showStep(RegionContext& ctx, long long n) {
    if (!waitTicks(ctx, n + 1)) return false;
    markChanged(ctx);
    return true;
}

}  // namespace brightline::engine
