#include "engine/region_context.h"

#include "engine/region_slot.h"
#include "engine/step_gate.h"

namespace brightline::engine {

void bindRegionContext(RegionContext& ctx, RegionSlot& slot, StepGate& gate, DiagnosticOutput& diag,
                       const std::string& workspace) {
    ctx.regionNumber = slot.regionNumber;
    ctx.bitsPerPixel = 32;
    ctx.x = slot.x;
    ctx.y = slot.y;
    ctx.width = slot.width;
    ctx.height = slot.height;
    ctx.bufferSize = slot.bufferSize;
    ctx.contentWidth = ctx.width;
    ctx.contentHeight = ctx.height;
    ctx.contentSize = ctx.bufferSize;
    ctx.colour = 0xFFFFFF;
    ctx.winType = 1;
    ctx.clockMode = 0;
    ctx.changed = &slot.changed;
    ctx.display = slot.display;
    ctx.work = slot.work;
    ctx.pages.reset(slot.page, ctx.pixelCount());
    ctx.currentPage = slot.page;
    ctx.slot = &slot;
    ctx.gate = &gate;
    ctx.diag = &diag;
    ctx.workspace = workspace;
}

void markChanged(RegionContext& ctx) {
    if (ctx.changed->load()) return;
    ctx.slot->windowType = ctx.winType;
    ctx.changed->store(true);
}

bool waitTicks(RegionContext& ctx, long long n) {
    for (long long i = 0; i < n; ++i) {
        if (ctx.slot->stop) return false;
        ctx.gate->await(ctx.regionNumber);
        ++ctx.stepsTaken;
    }
    return true;
}

bool showStep(RegionContext& ctx, long long n) {
    if (!waitTicks(ctx, n + 1)) return false;
    markChanged(ctx);
    return true;
}

}  // namespace brightline::engine
