#pragma once
// How the eleven area formats divide the sign face, in sign pixels.
//
// A format sets up to eight dividing lines (CRegion_Line) from the sign size; the areas are then
// computed from the live lines, so that after a line is dragged the areas follow it. Areas are
// left, top, right, bottom (right and bottom exclusive). All divisions truncate. Pure functions;
// the layout view only forwards the mouse to them.
#include <array>

#include "common/rect.h"
#include "editor/region_line.h"

namespace brightline {

inline constexpr int kAreaFormats = 11;  // formats 0..10
using RegionLines = std::array<CRegion_Line, 8>;

struct AreaLayout {
    int areaCount = 1;          // 1..3
    std::array<Rect, 4> areas;  // slots 0..areaCount-1 are meaningful, the rest zero
};

// Formats outside 0..10 (a damaged file) are treated as format 0.
int normalAreaFormat(int format);
// 1 for format 0; 2 for formats 1 to 3; 3 for formats 4 to 10.
int areaCountOf(int format);
// How many of the eight lines a format uses: 0, 1, 2, 4 or 8.
int lineCountOf(int format);

// Apply area format: sets the format's lines from the sign size (width x height); lines the
// format does not use keep what they held, except that format 0 sets line 0's band to the whole
// face (it is not live).
void applyAreaFormat(int format, int width, int height, RegionLines& lines);

// Compute areas: the rectangles of the format's areas taken from its live lines.
AreaLayout computeAreas(int format, int width, int height, const RegionLines& lines);

// The first live line (lowest index) whose band holds the point, or -1.
int lineAt(int format, const RegionLines& lines, int x, int y);
// The highest area slot whose rectangle holds the point (an inner area wins over area 0), or -1.
int areaAt(const AreaLayout& layout, int x, int y);

// Moves line `index` to the point (a vertical line to x, a horizontal one to y); when other lines
// end on it (role 1 or 3), their ends on it move along: an end that lay at the line's old
// left (top) moves to the new left (top), the other end's right (bottom) to the new right
// (bottom). A drag applies only inside the width x height face, and only where every area keeps
// at least one pixel each way (the areas go to the sign as they are): otherwise nothing moves
// and the result is false.
bool dragLine(int format, int width, int height, RegionLines& lines, int index, int x, int y);

// The sign width an operator may type: at most 65536 / height, the limit truncated to a multiple
// of 8; at least 16; then truncated to a multiple of 8. A height below 1 counts as 1.
int limitSignWidth(int typed, int height);
// The same for the height, limited by the width; at least 8.
int limitSignHeight(int typed, int width);

// A size the width and height edits keep as typed: sides in multiples of 8, the width 16 or more,
// the height 8 or more, and width x height at most 65536 pixels.
bool isSignSize(int width, int height);
inline constexpr const char* kSignSizeRule =
    "sides in multiples of 8, width 16 or more, height 8 or more, at most 65536 pixels";

}  // namespace brightline
