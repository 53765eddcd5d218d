#pragma once
// What every region command and effect works on: the region's geometry, its buffers, its
// content pages and its drawing state. Owned by the region's thread; only that thread touches it
// (the slot's flags are the shared part).
//
// Units: pixels and ticks (40 ms). Pixels are 0x00RRGGBB, rows top first, width x 4 bytes each.
#include <atomic>
#include <cstdint>
#include <random>
#include <string>

#include "engine/page_list.h"

namespace brightline::engine {

class DiagnosticOutput;
class StepGate;
struct RegionSlot;

struct RegionContext {
    int regionNumber = 0;
    int bitsPerPixel = 32;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    uint32_t bufferSize = 0;  // width x height x 4
    // The content may be wider or taller than the region (multi-page text, clip strips).
    int contentWidth = 0;
    int contentHeight = 0;
    uint32_t contentSize = 0;
    uint32_t colour = 0xFFFFFF;
    int winType = 1;  // WIN_TYPE: 1 opaque, 2 transparent where black, other: never drawn
    // 0 none, 1 a clock page redrawn on every STOP tick, 2 temperature (nothing drawn).
    int clockMode = 0;

    std::atomic<bool>* changed = nullptr;  // the slot's changed flag
    uint32_t* display = nullptr;           // the slot's display buffer
    uint32_t* currentPage = nullptr;       // the page being shown or brought in
    uint32_t* work = nullptr;              // the slot's work buffer
    PageList pages;

    // Where the region runs.
    RegionSlot* slot = nullptr;
    StepGate* gate = nullptr;
    DiagnosticOutput* diag = nullptr;
    std::string workspace;
    // Seeded when the region thread starts: from the clock in real time, from the region
    // number in stepped mode (so stepped shows repeat exactly).
    std::mt19937 random;
    // Steps the region has taken (ticks waited): loops that must not hold the tick compare it.
    uint64_t stepsTaken = 0;

    size_t pixelCount() const { return size_t(width) * size_t(height); }
};

// Prepares `ctx` for a fresh play in region `slot` (set up by the player): geometry and buffers
// from the slot, content size = region size, colour white, window type 1, clock mode 0, page 0
// the slot's page buffer and current. The random generator is left to the caller.
void bindRegionContext(RegionContext& ctx, RegionSlot& slot, StepGate& gate, DiagnosticOutput& diag,
                       const std::string& workspace);

// Sets the region's changed flag and copies its window type into the slot, unless the flag is
// already set.
void markChanged(RegionContext& ctx);
// Waits n ticks, one region step each. False at once when the region's stop flag is (or
// becomes) set; true after the n waits. n below 1 waits nothing.
bool waitTicks(RegionContext& ctx, long long n);
// Waits n + 1 ticks as above, then marks the region changed. Effects call it with n = 0 after
// every step they draw and end at once when it returns false.
bool showStep(RegionContext& ctx, long long n);

}  // namespace brightline::engine
