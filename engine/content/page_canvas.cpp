#include "engine/content/page_canvas.h"

#include <algorithm>

namespace brightline::content {

PageCanvas::PageCanvas(engine::PageList& pages, int width, int height)
    : pages_(pages), width_(std::max(width, 1)), height_(std::max(height, 0)) {
    pages_.freeExtraPages();
    uint32_t* page0 = pages_.page(0);
    if (page0) std::fill(page0, page0 + size_t(width_) * size_t(height_), 0u);
    buffers_.push_back(page0);
}

bool PageCanvas::reach(long x) {
    if (x < 0) return false;
    long page = x / width_;
    if (page >= engine::PageList::kMaxPages) return false;
    while (pageCount_ <= page) {
        uint32_t* buffer = pages_.ensurePage(pageCount_);
        if (!buffer) return false;
        buffers_.push_back(buffer);
        ++pageCount_;
    }
    return true;
}

uint32_t* PageCanvas::pageFor(long x) const {
    if (x < 0) return nullptr;
    long page = x / width_;
    if (page >= pageCount_) return nullptr;
    return buffers_[size_t(page)];
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
    // Only the glyph's rows inside the region are drawn.
    const int first =
        int(std::clamp<long>(flipped ? y + glyph.height - 1 - (height_ - 1) : -y, 0, glyph.height));
    const int last =
        int(std::clamp<long>(flipped ? y + glyph.height : height_ - y, 0, glyph.height));
    // Column by column: a column reaches its page when it has ink to draw there.
    for (int col = 0; col < glyph.width; ++col) {
        uint32_t* page = nullptr;
        for (int row = first; row < last; ++row) {
            if (!glyph.ink(col, row)) continue;
            if (!page) {
                if (!reach(x + col)) break;
                page = pageFor(x + col);
                if (!page) break;
            }
            const long ty = flipped ? y + (glyph.height - 1 - row) : y + row;
            page[size_t(ty) * width_ + size_t((x + col) % width_)] = colour;
        }
    }
}

void PageCanvas::flipRows(long top, long rows) {
    for (int p = 0; p < pageCount_; ++p) {
        uint32_t* page = buffers_[size_t(p)];
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
