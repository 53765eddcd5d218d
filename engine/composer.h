#pragma once
// Composition of a page's regions onto the screen (slot 0's display buffer), once per tick on
// the show player thread while every region thread waits.
#include "engine/layer_tree.h"
#include "engine/pixel_arena.h"

namespace brightline::engine {

// When no region 1..regionCount is marked changed, nothing is drawn and false is returned.
// Otherwise the layer tree is walked depth first, children in order; a region is drawn when it
// is marked changed or the region containing it was drawn in this walk. Window type 1 copies the
// region's display rows; type 2 copies pixels whose low 24 bits are not 0 and, for black ones,
// the containing region's pixel at that screen position (top-level: the screen pixel stays);
// other types draw nothing. Every visited region's changed flag is cleared. True when drawn.
bool composeAndDraw(PixelArena& arena, const LayerTree& tree, int regionCount);

}  // namespace brightline::engine
