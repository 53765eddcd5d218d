#pragma once
// Plays one entry or exit effect on a region of its own, outside any show, in stepped time:
// for effect previews (the editor's thumbnails, brightline-cli effects), tests and benchmarks.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brightline::engine {

struct EffectRun {
    std::string name;  // script word, e.g. "DFR_LF"; unknown words behave as the engine's do
    bool entry = true;
    int speed = 0;
    int width = 0;  // region size, 1..4096
    int height = 0;
    std::vector<uint32_t> page;  // width x height, 0x00RRGGBB: what an entry brings in
    // Further pages 1, 2 ... of the content (multi-page text), each width x height.
    std::vector<std::vector<uint32_t>> morePages;
    std::vector<uint32_t> display;  // width x height: what is shown before the effect
    unsigned seed = 1;              // RANDOM and the mosaics
};

// A test card of width x height: colour bars over the top half, a grey ramp below, a white
// border and a red diagonal, so that every motion and mask shows.
std::vector<uint32_t> testCard(int width, int height);

// Calls `onTick(tick, display, changed)` after every tick (from 1) until the effect has ended,
// with the region's display as composition would see it. Returns the number of ticks, or -1
// when the run is invalid (size out of range, buffers of the wrong size).
int runEffect(const EffectRun& run,
              const std::function<void(int tick, const uint32_t* display, bool changed)>& onTick);

}  // namespace brightline::engine
