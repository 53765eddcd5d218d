#include "engine/composer.h"

#include <cstring>

namespace brightline::engine {
namespace {

void drawRegion(PixelArena& arena, const RegionSlot& r, int parent) {
    RegionSlot& screen = arena.slot(0);
    const int type = r.windowType;
    if (type == 1) {
        for (int row = 0; row < r.height; ++row)
            std::memcpy(screen.display + size_t(r.y + row) * screen.width + r.x,
                        r.display + size_t(row) * r.width, size_t(r.width) * 4);
        return;
    }
    if (type != 2) return;
    const RegionSlot* outer = parent > 0 ? &arena.slot(parent) : nullptr;
    for (int row = 0; row < r.height; ++row) {
        uint32_t* to = screen.display + size_t(r.y + row) * screen.width + r.x;
        const uint32_t* from = r.display + size_t(row) * r.width;
        const uint32_t* behind =
            outer ? outer->display + size_t(r.y + row - outer->y) * outer->width + (r.x - outer->x)
                  : nullptr;
        for (int col = 0; col < r.width; ++col) {
            if (from[col] & 0xFFFFFF)
                to[col] = from[col];
            else if (behind)
                to[col] = behind[col];
        }
    }
}

void walk(PixelArena& arena, const LayerTree& tree, int node, bool outerDrawn) {
    for (int child : tree.children(node)) {
        RegionSlot& r = arena.slot(child);
        bool drawn = outerDrawn || r.changed.load();
        if (drawn) drawRegion(arena, r, node);
        r.changed = false;
        walk(arena, tree, child, drawn);
    }
}

}  // namespace

bool composeAndDraw(PixelArena& arena, const LayerTree& tree, int regionCount) {
    bool any = false;
    for (int k = 1; k <= regionCount; ++k) any = any || arena.slot(k).changed.load();
    if (!any) return false;
    walk(arena, tree, 0, false);
    return true;
}

}  // namespace brightline::engine
