#pragma once
// Drawing text into a region's pages. The pen's x counts across the whole text: column x lies
// on page x / region width, at column x mod region width. Pages are added (black) as the text
// reaches them, at most PageList::kMaxPages; columns beyond the last page are cut. Rows outside
// the region are not drawn.
//
// The canvas borrows the region's PageList; it keeps the content width (a whole number of
// region widths, at least one) that the loaders hand back to the region.
//
// Thread affinity: the region's own thread.
#include <cstdint>
#include <vector>

#include "engine/fonts/bitmap_font.h"
#include "engine/page_list.h"

namespace brightline::content {

class PageCanvas {
  public:
    // `pages` must hold page 0 of width x height pixels; the canvas clears it and drops the
    // extra pages, so the text starts on a black page 0.
    PageCanvas(engine::PageList& pages, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int pageCount() const { return pageCount_; }
    // Pixels of content: pageCount() x width().
    int contentWidth() const { return pageCount_ * width_; }

    // Makes sure the page holding column x exists. False when x lies beyond the last page
    // allowed (or below 0) or the page cannot be had.
    bool reach(long x);
    // Sets pixel (x, y) when it lies on a page that can be had and inside the region's rows.
    void plot(long x, long y, uint32_t colour);
    // 0 for a pixel that is not there.
    uint32_t at(long x, long y) const;

    // Draws the ink of `glyph` with its top-left corner at (x, y); with `flipped` the glyph is
    // drawn bottom row first (its last row at y). Pixels outside the region's rows are not
    // drawn; columns reach new pages as needed.
    void drawGlyph(const GlyphView& glyph, long x, long y, uint32_t colour, bool flipped);

    // Turns rows top .. top + rows - 1 upside down on every page (rows outside the region
    // count as black).
    void flipRows(long top, long rows);
    // Moves the span of columns [from, from + span) in rows top .. top + rows - 1 so that it
    // starts at column `to`, clearing what it leaves behind. Only for to + span <= width().
    void moveSpan(long from, long span, long to, long top, long rows);

  private:
    uint32_t* pageFor(long x) const;

    engine::PageList& pages_;
    int width_;
    int height_;
    int pageCount_ = 1;
    // The pages' buffers by number: the list is walked once per page, not once per pixel.
    std::vector<uint32_t*> buffers_;
};

}  // namespace brightline::content
