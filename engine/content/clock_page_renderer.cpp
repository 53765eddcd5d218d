#include "engine/content/clock_page_renderer.h"

#include <algorithm>
#include <vector>

#include "engine/clock/clock_fields.h"

namespace brightline::content {
namespace {

void drawPlaced(const std::vector<PlacedGlyph>& glyphs, uint32_t* page, int width, int height) {
    for (const PlacedGlyph& placed : glyphs) {
        const GlyphView& g = placed.glyph;
        if (g.blank()) continue;
        for (int row = 0; row < g.height; ++row) {
            const long y = placed.y + row;
            if (y < 0 || y >= height) continue;
            for (int col = 0; col < g.width; ++col) {
                const long x = placed.x + col;
                if (x < 0 || x >= width || !g.ink(col, row)) continue;
                page[size_t(y) * size_t(width) + size_t(x)] = placed.colour;
            }
        }
    }
}

}  // namespace

void drawClockFields(const ClockPage& clock, const CivilTime& shown, const FontTable& fonts,
                     uint32_t* page, int width, int height) {
    std::fill(page, page + size_t(width) * size_t(height), 0u);
    drawPlaced(layoutClockFields(clock, shown, fonts, {width, height}), page, width, height);
}

void drawClockExtras(const ClockPage& clock, std::optional<int> celsius, const FontTable& fonts,
                     uint32_t* page, int width, int height) {
    drawPlaced(layoutClockExtras(clock, celsius, fonts, {width, height}), page, width, height);
}

}  // namespace brightline::content
