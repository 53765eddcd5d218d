#include "engine/content/page_canvas.h"

#include <algorithm>

namespace brightline::content {

PageCanvas::PageCanvas(engine::PageList& pages, int width, int height)
    : pages_(pages), width_(std::max(width, 1)), height_(std::max(height, 0)) {
    pages_.freeExtraPages();
    if (uint32_t* page0 = pages_.page(0))
        std::fill(page0, page0 + size_t(width_) * size_t(height_), 0u);
}

bool PageCanvas::reach(long x) {
    if (x < 0) return false;
    long page = x / width_;
    if (page >= engine::PageList::kMaxPages) return false;
    while (pageCount_ <= page) {
        if (!pages_.ensurePage(pageCount_)) return false;
        ++pageCount_;
    }
    return true;
}

uint32_t* PageCanvas::pageFor(long x) const {
    if (x < 0) return nullptr;
    long page = x / width_;
    if (page >= pageCount_) return nullptr;
    return pages_.page(static_cast<int>(page));
}

void PageCanvas::plot(long x, long y, uint32_t colour) {
    if (y < 0 || y >= height_ || !reach(x)) return;
    if (uint32_t* page = pageFor(x)) page[size_t(y) * width_ + size_t(x % width_)] = colour;
}

uint32_t PageCanvas::at(long x, long y) const {
    if (y < 0 || y >= height_) return 0;
    const uint32_t* page = pageFor(x);
    return page ? page[size_t(y) * width_ + size_t(x % width_)] : 0;
}

void PageCanvas::drawGlyph(const GlyphView& glyph, long x, long y, uint32_t colour, bool flipped) {
    if (glyph.blank()) return;
    for (int row = 0; row < glyph.height; ++row) {
        long ty = flipped ? y + (glyph.height - 1 - row) : y + row;
        if (ty < 0 || ty >= height_) continue;
        for (int col = 0; col < glyph.width; ++col)
            if (glyph.ink(col, row)) plot(x + col, ty, colour);
    }
}

void PageCanvas::flipRows(long top, long rows) {
    for (int p = 0; p < pageCount_; ++p) {
        uint32_t* page = pages_.page(p);
        if (!page) continue;
        for (long i = 0; i < rows / 2; ++i) {
            long a = top + i, b = top + rows - 1 - i;
            bool aIn = a >= 0 && a < height_, bIn = b >= 0 && b < height_;
            uint32_t* rowA = aIn ? page + size_t(a) * width_ : nullptr;
            uint32_t* rowB = bIn ? page + size_t(b) * width_ : nullptr;
            if (rowA && rowB)
                std::swap_ranges(rowA, rowA + width_, rowB);
            else if (rowA)
                std::fill(rowA, rowA + width_, 0u);
            else if (rowB)
                std::fill(rowB, rowB + width_, 0u);
        }
    }
}

void PageCanvas::moveSpan(long from, long span, long to, long top, long rows) {
    if (span <= 0 || from == to || to < 0 || to + span > width_) return;
    std::vector<uint32_t> line(static_cast<size_t>(span));
    for (long y = std::max(top, 0L); y < std::min(top + rows, long(height_)); ++y) {
        for (long i = 0; i < span; ++i) {
            line[size_t(i)] = at(from + i, y);
            if (uint32_t* page = pageFor(from + i))
                page[size_t(y) * width_ + size_t((from + i) % width_)] = 0;
        }
        for (long i = 0; i < span; ++i) plot(to + i, y, line[size_t(i)]);
    }
}

}  // namespace brightline::content
