#pragma once
// Lays the text of a page out into lines, and answers where a position is drawn.
//
// Vertical layout: lines end at a line break and wrap at the page width (after a space, or
// before or after a double-byte character or a picture; a word longer than the page is cut).
// Lines stack downwards; with page editing on, a line that would cross the lower edge of a page
// starts at the top of the next page instead. A line's offset is 0 when left-aligned, (page
// width - line width) / 2 when centred, page width - line width when right-aligned (never
// below 0).
// Horizontal layout: the whole text is one strip; a line break takes no room. It is aligned
// within the whole pages its width needs.
// Widths come from the width bytes (a picture: its own width); heights from the fonts' measured
// metrics, or from the runs' character heights when the fonts are not measured.
#include <cstdint>
#include <vector>

#include "pageeditor/page_format.h"
#include "pageeditor/text_page.h"

namespace brightline::pageeditor {

struct LineBox {
    int32_t start = 0;  // byte range [start, end), a line break included
    int32_t end = 0;
    int32_t width = 0;  // without trailing spaces and the line break
    int32_t x = 0;      // canvas x of the first character
    int32_t top = 0;    // canvas y of the line's top
    int32_t ascent = 0;
    int32_t height = 0;
    bool empty() const { return end <= start; }
};

struct CaretPoint {
    int32_t x = 0;  // canvas pixels
    int32_t top = 0;
    int32_t height = 0;
};

struct TextLayout {
    std::vector<LineBox> lines;
    // How far the text reaches along the layout, in pixels (0 for no text).
    int32_t extent = 0;
    // Pages the text needs: the extent rounded up to whole page lengths.
    int32_t pageCount = 0;
    CanvasSize canvas;

    // Where the caret at byte `pos` stands (pos is taken to a character boundary). With no lines
    // the caret stands at the top left with `emptyHeight`.
    CaretPoint caretAt(const TextPage& page, int32_t pos, int32_t emptyHeight = 0) const;
    // The byte position nearest to the canvas point (x, y): the line whose band holds y (the
    // first or last line beyond them), then the character boundary nearest to x.
    int32_t positionAt(const TextPage& page, int32_t x, int32_t y) const;
    // The character boundary on line `line` nearest to canvas x (before the line's break).
    int32_t positionOnLine(const TextPage& page, size_t line, int32_t x) const;
    // The line that holds byte `pos` (the last line for the end of the text; 0 with no lines).
    size_t lineOf(int32_t pos) const;
};

// The advance of the character that starts at byte `pos` (a picture's own width).
int32_t characterAdvance(const TextPage& page, size_t pos);

// Lays the text out and brings the line table in line with it: one entry per line, alignments
// kept by line number (new lines left-aligned), offsets and extents set.
TextLayout layOut(TextPage& page, bool pageEdit);

}  // namespace brightline::pageeditor
