#pragma once
// Where things lie in the program list's two views, in content coordinates (the view's
// coordinates plus its horizontal scroll position), and what lies under a point. Pure
// functions; the views paint these rectangles and forward the mouse to them.
//
// Item view: the background card at (20, 24)-(100, 84); item k (k >= 1) has its card at
// x = 160 + 180 (k - 1) .. + 80, y 24..84, and its exit effect box at x + 110 .. x + 150,
// y 40..70. Timeline: a 20-pixel ruler, then one row per area of (height - 20) / areas pixels;
// one pixel is one second, so an element's bar runs from `start` to `start` + `hold`.
#include <vector>

#include "common/rect.h"
#include "editor/element.h"

namespace brightline {

// --- Item view ---------------------------------------------------------------------------

inline constexpr int kItemSlotPitch = 180;
inline constexpr int kMaxItemSlots = 256;
inline constexpr int kMaxItemScrollWidth = 18000;
inline constexpr Rect kBackgroundCard{20, 24, 100, 84};

// Card of item k >= 1 (k = 0 gives the background card).
Rect itemCardRect(int k);
// Exit effect box of item k >= 1.
Rect exitBoxRect(int k);
// The width the view scrolls over for a list of `count` elements: 180 count + 20, at most 18000.
int itemScrollWidth(int count);

struct ItemHit {
    enum Kind { None, Card, ExitBox } kind = None;
    int index = -1;  // element index: 0 the background card, k an item
};
// What lies at the point; only elements below `count` count.
ItemHit itemAt(int x, int y, int count);
// Where a medium dropped at x goes: the slot under x (k >= 1), at most `count` (one past the
// last item appends).
int itemInsertSlot(int x, int count);
// The insertion mark before slot k: x = 180 k - 28 (content coordinates).
int itemInsertMarkX(int k);

// --- Timeline ----------------------------------------------------------------------------

inline constexpr int kRulerHeight = 20;
// Within this many pixels of a bar's right edge the bar's end can be dragged.
inline constexpr int kResizeGrip = 5;

// Row `row` of `areaCount` rows in a view `height` pixels high (left 0, right `width`).
Rect timelineRowRect(int row, int areaCount, int width, int height);
// The row at y, or -1 (on the ruler or below the last row).
int timelineRowAt(int y, int areaCount, int height);
// An element's bar in a row.
Rect timelineBarRect(const CElement& element, const Rect& row);
// The first element whose bar holds second x, or -1.
int timelineBarAt(const std::vector<CElement>& list, int x);
// Whether second x lies within the grip of element `index`'s bar end: the end of the bar that
// was pressed last can be dragged (a first click selects a bar, so that a short bar's end never
// takes a click meant for its neighbour).
bool onTimelineGrip(const std::vector<CElement>& list, int index, int x);
// Where a medium dropped at second x goes: before the bar under x, else before the first bar
// that starts after x, else at the end. Never before the background (index 0): a drop there
// goes after it, since element 0 is the area's background.
int timelineInsertIndex(const std::vector<CElement>& list, int x);
// The insertion mark's second for an insertion at `index`: that element's start, or the end of
// the last bar.
int timelineInsertMarkX(const std::vector<CElement>& list, int index);

}  // namespace brightline
