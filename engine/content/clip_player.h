#pragma once
// The "ZAVI" command: plays a ZVI clip in a region.
//
// The clip's rate gives its speed (above 20: 0; 13 to 20: 1; below 13: 2), which the command's
// speed overrides when above 0. A "PNG " clip whose entry effect is "DFR_LF" or "DFR_RT" is a
// scrolling strip: its first 999 frames are laid side by side on pages 0, 1, 2 … followed by one
// blank page, and one entry effect carries the whole strip across, then the hold; no exit effect.
// Any other clip is played frame by frame: each frame is read into page 0 and shown with entry
// effect, hold and exit effect (a frame whose effects and hold take no tick waits one); the
// region's stop flag seen between frames ends the clip.
//
// Damaged frames are skipped (the previous frame is shown again in their place); a clip that
// ends before its frame count stops at its last good frame.
//
// Thread affinity: the region's own thread.
#include <string>

#include "engine/media_hooks.h"
#include "engine/page_list.h"
#include "media/picture.h"
#include "media/zvi_reader.h"

namespace brightline::engine {
struct RegionContext;
}

namespace brightline::content {

inline constexpr int kTicksPerSecond = 25;

// Reads the strip frames of an opened clip into pages 0 .. n - 1 (each width x height, frames
// placed top-left) and leaves page n blank; the extra pages held before are dropped first.
// Returns n, the number of frame pages (at most 999, fewer when the clip ends early).
int buildClipStrip(media::ZviReader& reader, engine::PageList& pages, int width, int height);

// Plays `clip` from the region's workspace folder.
void playClip(const engine::ClipCommand& clip, engine::RegionContext& ctx);

}  // namespace brightline::content
