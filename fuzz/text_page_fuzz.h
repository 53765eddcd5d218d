#pragma once
// What the HTML and ZTX page fuzz targets share: a font table of several cells (a GB2312 font 0,
// single-byte fonts, one proportional) and the run of one page text into a region chosen by the
// first byte, with the checks every renderer must pass.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/content/page_canvas.h"

namespace brightline::fuzzing {

inline BitmapFont makeFont(int width, int height, bool proportional, int count) {
    FontHeader h;
    h.proportional = proportional ? 1 : 0;
    h.width = static_cast<uint8_t>(width);
    h.height = static_cast<uint8_t>(height);
    h.firstCode = proportional ? 32 : 0;
    h.count = static_cast<uint16_t>(count);
    std::vector<uint8_t> glyphs(h.blockSize());
    for (size_t i = 0; i < glyphs.size(); ++i) glyphs[i] = static_cast<uint8_t>(i * 37 + 11);
    return BitmapFont(h, std::move(glyphs));
}

inline const FontTable& fonts() {
    static const FontTable table = [] {
        FontTable t;
        t.add(makeFont(16, 16, false, 8178));
        const int cells[][2] = {{4, 7}, {5, 7}, {6, 10}, {8, 16}, {12, 24}, {16, 32}, {24, 48}};
        for (const auto& c : cells) t.add(makeFont(c[0], c[1], false, 256));
        t.add(makeFont(9, 15, true, 96));
        return t;
    }();
    return table;
}

// Renders the input after its first byte with `render(canvas, text)` into a region sized by the
// first byte; the renderer never makes fewer than 1 or more than the allowed pages, and the
// page list agrees with the canvas.
template <class Render>
int fuzzTextPage(const uint8_t* data, size_t size, Render render) {
    if (size < 1 || size > 65536) return 0;
    const int width = 1 + (data[0] & 0x3F);
    const int height = 1 + (data[0] >> 6) * 16;
    std::vector<uint32_t> page0(size_t(width) * height);
    engine::PageList pages;
    pages.reset(page0.data(), page0.size());
    content::PageCanvas canvas(pages, width, height);
    render(canvas, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    if (canvas.pageCount() < 1 || canvas.pageCount() > engine::PageList::kMaxPages) std::abort();
    if (pages.lastPageNumber() + 1 != canvas.pageCount()) std::abort();
    return 0;
}

}  // namespace brightline::fuzzing
