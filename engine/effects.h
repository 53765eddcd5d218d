#pragma once
// Entry and exit effects by script name ("AP name speed", "EP name speed"). Names are matched
// exactly against the effect table; an unknown name shows the content at once on entry and
// clears it on exit. Every drawing step ends in the region's show step, so a stopped region
// leaves any effect within one tick.
//
// Thread affinity: the region's own thread.
#include <string>

namespace brightline::engine {

struct RegionContext;

void runEntryEffect(RegionContext& ctx, const std::string& name, int speed);
void runExitEffect(RegionContext& ctx, const std::string& name, int speed);

// Speed: for DFR_LF and DFR_RT the step width (speed 0..7 moves speed + 1 pixels a tick, other
// values 1); for every other effect the pause: speed + 1 ticks after each drawing step.
//
// SHOW entry: copies each page of the region (page 0 to the last) into the display buffer and
// waits speed + 1 ticks after each. SHOW exit: clears the display buffer and waits speed + 1.
// False when the region was stopped.
bool showEntry(RegionContext& ctx, int speed);
bool showExit(RegionContext& ctx, int speed);

}  // namespace brightline::engine
