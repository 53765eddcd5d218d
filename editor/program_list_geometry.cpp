#include "editor/program_list_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace brightline {

namespace {
constexpr int kFirstCardX = 160;
constexpr int kCardWidth = 80;
constexpr int kCardTop = 24;
constexpr int kCardBottom = 84;
// Slot k's drop region starts this far left of its card, where the mark before it is drawn.
constexpr int kSlotLead = 30;
}  // namespace

Rect itemCardRect(int k) {
    if (k <= 0) return kBackgroundCard;
    const int x = kFirstCardX + kItemSlotPitch * (k - 1);
    return Rect{x, kCardTop, x + kCardWidth, kCardBottom};
}

Rect exitBoxRect(int k) {
    const int x = kFirstCardX + kItemSlotPitch * (k - 1);
    return Rect{x + 110, 40, x + 150, 70};
}

int itemScrollWidth(int count) {
    return std::min(kItemSlotPitch * std::max(count, 0) + 20, kMaxItemScrollWidth);
}

ItemHit itemAt(int x, int y, int count) {
    if (count > 0 && contains(kBackgroundCard, x, y)) return {ItemHit::Card, 0};
    const int k = (x - kFirstCardX) / kItemSlotPitch + 1;
    if (x < kFirstCardX || k >= count || k > kMaxItemSlots) return {};
    if (contains(itemCardRect(k), x, y)) return {ItemHit::Card, k};
    if (contains(exitBoxRect(k), x, y)) return {ItemHit::ExitBox, k};
    return {};
}

int itemInsertSlot(int x, int count) {
    const int from = kFirstCardX - kSlotLead;
    const int k = x < from ? 1 : (x - from) / kItemSlotPitch + 1;
    return std::max(1, std::min(k, count));
}

int itemInsertMarkX(int k) {
    return k * kItemSlotPitch - 28;
}

Rect timelineRowRect(int row, int areaCount, int width, int height) {
    const int rowHeight = (height - kRulerHeight) / std::max(areaCount, 1);
    const int top = kRulerHeight + row * rowHeight;
    return Rect{0, top, width, top + rowHeight};
}

int timelineRowAt(int y, int areaCount, int height) {
    const int rowHeight = (height - kRulerHeight) / std::max(areaCount, 1);
    if (y < kRulerHeight || rowHeight <= 0) return -1;
    const int row = (y - kRulerHeight) / rowHeight;
    return row < areaCount ? row : -1;
}

Rect timelineBarRect(const CElement& element, const Rect& row) {
    return Rect{row.left + element.start, row.top, row.left + element.start + element.hold,
                row.bottom};
}

int timelineBarAt(const std::vector<CElement>& list, int x) {
    for (size_t i = 0; i < list.size(); ++i)
        if (x >= list[i].start && x < list[i].start + list[i].hold) return static_cast<int>(i);
    return -1;
}

bool onTimelineGrip(const std::vector<CElement>& list, int index, int x) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return false;
    const CElement& e = list[static_cast<size_t>(index)];
    return std::abs(x - (e.start + e.hold)) <= kResizeGrip;
}

int timelineInsertIndex(const std::vector<CElement>& list, int x) {
    int index = timelineBarAt(list, x);
    if (index < 0) {
        index = static_cast<int>(list.size());
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].start > x) {
                index = static_cast<int>(i);
                break;
            }
        }
    }
    return list.empty() ? 0 : std::max(index, 1);
}

int timelineInsertMarkX(const std::vector<CElement>& list, int index) {
    if (list.empty()) return 0;
    if (index >= 0 && static_cast<size_t>(index) < list.size())
        return list[static_cast<size_t>(index)].start;
    return list.back().start + list.back().hold;
}

}  // namespace brightline
