#include "engine/effect_runner.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "engine/diagnostic_output.h"
#include "engine/effects.h"
#include "engine/pixel_arena.h"
#include "engine/region_context.h"
#include "engine/step_gate.h"

namespace brightline::engine {
namespace {

class NoDiagnostics : public DiagnosticOutput {
  public:
    void write(const std::string&) override {}
};

}  // namespace

std::vector<uint32_t> testCard(int width, int height) {
    static const uint32_t kBars[] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                     0xFF00FF, 0xFF0000, 0x0000FF, 0x202020};
    std::vector<uint32_t> card(size_t(std::max(width, 0)) * size_t(std::max(height, 0)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c;
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
                c = 0xFFFFFF;
            else if (height > 1 && (long long)x * (height - 1) / std::max(width - 1, 1) == y)
                c = 0xFF0000;
            else if (y < height / 2)
                c = kBars[(long long)x * 8 / width];
            else {
                uint32_t g = uint32_t((long long)x * 255 / std::max(width - 1, 1));
                c = (g << 16) | (g << 8) | g;
            }
            card[size_t(y) * width + x] = c;
        }
    return card;
}

int runEffect(const EffectRun& run, const std::function<void(int, const uint32_t*, bool)>& onTick) {
    const size_t pixels = size_t(run.width) * size_t(run.height);
    if (run.width < 1 || run.height < 1 || run.width > 4096 || run.height > 4096 ||
        run.page.size() != pixels || run.display.size() != pixels)
        return -1;
    for (const auto& extra : run.morePages)
        if (extra.size() != pixels) return -1;
    PixelArena arena;
    if (!arena.reserve({run.width, run.height}, {{run.width, run.height}})) return -1;
    arena.setUpSlot(0, 0, 0, run.width, run.height);
    arena.setUpSlot(1, 0, 0, run.width, run.height);
    RegionSlot& slot = arena.slot(1);
    std::memcpy(slot.page, run.page.data(), pixels * 4);
    std::memcpy(slot.display, run.display.data(), pixels * 4);

    // The effect runs as a fiber on this thread, one step per grant.
    StepGate gate(StepGate::Runner::Fibers);
    gate.reset(1);
    NoDiagnostics diag;
    std::atomic<bool> done{false};
    gate.start(1, [&] {
        RegionContext ctx;
        bindRegionContext(ctx, slot, gate, diag, "");
        ctx.random.seed(run.seed);
        for (size_t i = 0; i < run.morePages.size(); ++i)
            if (uint32_t* page = ctx.pages.ensurePage(int(i) + 1))
                std::memcpy(page, run.morePages[i].data(), pixels * 4);
        if (run.entry)
            runEntryEffect(ctx, run.name, run.speed);
        else
            runExitEffect(ctx, run.name, run.speed);
        done = true;
        gate.leave(1);
    });
    // Until the region first waits (or has already ended, as for NULL).
    gate.waitAllAtRest();
    int tick = 0;
    while (!done) {
        gate.grant(1);
        gate.waitAllAtRest();
        ++tick;
        onTick(tick, slot.display, slot.changed.exchange(false));
    }
    gate.join();
    return tick;
}

}  // namespace brightline::engine
