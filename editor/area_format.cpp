#include "editor/area_format.h"

#include "common/sign_size.h"

namespace brightline {
namespace {

// A line as the format table gives it: band, horizontal, role, ends.
CRegion_Line line(int l, int t, int r, int b, int horizontal, int role, int endA, int endB) {
    CRegion_Line x;
    x.band = Rect{l, t, r, b};
    x.selected = 0;
    x.horizontal = horizontal;
    x.role = role;
    x.endLineA = endA;
    x.endLineB = endB;
    return x;
}

CRegion_Line vertical(int x, int top, int bottom, int role, int endA = -1, int endB = -1) {
    return line(x - 3, top, x + 3, bottom, 0, role, endA, endB);
}

CRegion_Line horizontal(int y, int left, int right, int role, int endA = -1, int endB = -1) {
    return line(left, y - 3, right, y + 3, 1, role, endA, endB);
}

int limitDimension(int typed, int other, int minimum) {
    int limit = signSideLimit(other);
    int value = typed;
    if (value > limit) value = limit;
    if (value < minimum) value = minimum;
    return value / 8 * 8;
}

}  // namespace

int normalAreaFormat(int format) {
    return format >= 0 && format < kAreaFormats ? format : 0;
}

int areaCountOf(int format) {
    format = normalAreaFormat(format);
    if (format == 0) return 1;
    return format <= 3 ? 2 : 3;
}

int lineCountOf(int format) {
    static const int kLines[kAreaFormats] = {0, 1, 1, 4, 2, 2, 2, 2, 2, 2, 8};
    return kLines[normalAreaFormat(format)];
}

void applyAreaFormat(int format, int W, int H, RegionLines& L) {
    switch (normalAreaFormat(format)) {
        case 0:
            L[0].band = Rect{0, 0, W, H};
            break;
        case 1:
            L[0] = vertical(W / 2, -3, H, 1);
            break;
        case 2:
            L[0] = horizontal(H / 2, -3, W, 1);
            break;
        case 3:
            L[0] = vertical(W / 4, H / 4 - 3, 3 * H / 4 + 3, 3, 1, 3);
            L[1] = horizontal(H / 4, W / 4 - 3, 3 * W / 4 + 3, 3, 0, 2);
            L[2] = vertical(3 * W / 4, H / 4 - 3, 3 * H / 4 + 3, 3, 1, 3);
            L[3] = horizontal(3 * H / 4, W / 4 - 3, 3 * W / 4 + 3, 3, 0, 2);
            break;
        case 4:
            L[0] = vertical(W / 3, -3, H, 1);
            L[1] = vertical(2 * W / 3, -3, H, 1);
            break;
        case 5:
            L[0] = horizontal(H / 3, -3, W, 1);
            L[1] = horizontal(2 * H / 3, -3, W, 1);
            break;
        case 6:
            L[0] = vertical(W / 2, -3, 2 * H / 3 + 3, 2, 1, -1);
            L[1] = horizontal(2 * H / 3, -3, W, 1);
            break;
        case 7:
            L[0] = vertical(W / 2, H / 2 - 3, H + 3, 2, 1, -1);
            L[1] = horizontal(H / 2, -3, W, 1);
            break;
        case 8:
            L[0] = vertical(W / 2, -3, H, 1);
            L[1] = horizontal(H / 2, -3, W / 2 + 3, 2, 0, -1);
            break;
        case 9:
            L[0] = vertical(W / 2, -3, H, 1);
            L[1] = horizontal(H / 2, W / 2 - 3, W, 2, 0, -1);
            break;
        case 10:
            L[0] = vertical(W / 5, H / 5 - 3, 2 * H / 5 + 3, 3, 1, 3);
            L[1] = horizontal(H / 5, W / 5 - 3, 4 * W / 5 + 3, 3, 0, 2);
            L[2] = vertical(4 * W / 5, H / 5 - 3, 2 * H / 5 + 3, 3, 1, 3);
            L[3] = horizontal(2 * H / 5, W / 5 - 3, 4 * W / 5 + 3, 3, 0, 2);
            L[4] = vertical(W / 5, 3 * H / 5 - 3, 4 * H / 5 + 3, 3, 5, 7);
            L[5] = horizontal(3 * H / 5, W / 5 - 3, 4 * W / 5 + 3, 3, 4, 6);
            L[6] = vertical(4 * W / 5, 3 * H / 5 - 3, 4 * H / 5 + 3, 3, 5, 7);
            L[7] = horizontal(4 * H / 5, W / 5 - 3, 4 * W / 5 + 3, 3, 4, 6);
            break;
    }
}

AreaLayout computeAreas(int format, int W, int H, const RegionLines& lines) {
    format = normalAreaFormat(format);
    const Rect& L0 = lines[0].band;
    const Rect& L1 = lines[1].band;
    AreaLayout out;
    out.areaCount = areaCountOf(format);
    auto& a = out.areas;
    switch (format) {
        case 0:
            a[0] = {0, 0, W, H};
            break;
        case 1:
            a[0] = {0, 0, L0.left + 3, L0.bottom};
            a[1] = {L0.left + 3, 0, W, L0.bottom};
            break;
        case 2:
            a[0] = {0, 0, W, L0.bottom - 3};
            a[1] = {0, L0.bottom - 3, W, H};
            break;
        case 3:
            a[0] = {0, 0, W, H};
            a[1] = {L1.left + 3, L0.top + 3, L1.right - 3, L0.bottom - 3};
            break;
        case 4:
            a[0] = {0, 0, L0.left + 3, H};
            a[1] = {L0.left + 3, 0, L1.left + 3, H};
            a[2] = {L1.left + 3, 0, W, H};
            break;
        case 5:
            a[0] = {0, 0, W, L0.top + 3};
            a[1] = {0, L0.top + 3, W, L1.top + 3};
            a[2] = {0, L1.top + 3, W, H};
            break;
        case 6:
            a[0] = {0, 0, L0.left + 3, L0.bottom - 3};
            a[1] = {L0.left + 3, 0, W, L0.bottom - 3};
            a[2] = {0, L1.top + 3, W, H};
            break;
        case 7:
            a[0] = {0, 0, W, L1.bottom - 3};
            a[1] = {0, L0.top + 3, L0.left + 3, L0.bottom - 3};
            a[2] = {L0.left + 3, L0.top + 3, W, L0.bottom - 3};
            break;
        case 8:
            a[0] = {0, 0, L0.left + 3, L1.bottom - 3};
            a[1] = {0, L1.top + 3, L0.left + 3, H};
            a[2] = {L0.left + 3, 0, W, H};
            break;
        case 9:
            a[0] = {0, 0, L0.left + 3, H};
            a[1] = {L0.left + 3, 0, W, L1.bottom - 3};
            a[2] = {L0.left + 3, L1.top + 3, W, H};
            break;
        case 10: {
            const Rect& L4 = lines[4].band;
            const Rect& L5 = lines[5].band;
            a[0] = {0, 0, W, H};
            a[1] = {L1.left + 3, L0.top + 3, L1.right - 3, L0.bottom - 3};
            a[2] = {L5.left + 3, L4.top + 3, L5.right - 3, L4.bottom - 3};
            break;
        }
    }
    return out;
}

int lineAt(int format, const RegionLines& lines, int x, int y) {
    int live = lineCountOf(format);
    for (int i = 0; i < live; ++i)
        if (contains(lines[i].band, x, y)) return i;
    return -1;
}

int areaAt(const AreaLayout& layout, int x, int y) {
    for (int slot = layout.areaCount - 1; slot >= 0; --slot)
        if (contains(layout.areas[slot], x, y)) return slot;
    return -1;
}

namespace {

// The ends of the lines that end on line `index` follow it.
void moveEndsOn(RegionLines& lines, int live, int index, bool isHorizontal, int oldStart) {
    const CRegion_Line& moved = lines[index];
    for (int i = 0; i < live; ++i) {
        if (i == index) continue;
        CRegion_Line& other = lines[i];
        if (other.endLineA != index && other.endLineB != index) continue;
        if (isHorizontal) {
            if (other.band.top == oldStart)
                other.band.top = moved.band.top;
            else
                other.band.bottom = moved.band.bottom;
        } else {
            if (other.band.left == oldStart)
                other.band.left = moved.band.left;
            else
                other.band.right = moved.band.right;
        }
    }
}

}  // namespace

bool dragLine(int format, int width, int height, RegionLines& original, int index, int x, int y) {
    int live = lineCountOf(format);
    if (index < 0 || index >= live) return false;
    if (x < 0 || x >= width || y < 0 || y >= height) return false;
    RegionLines lines = original;
    CRegion_Line& moved = lines[index];
    const bool isHorizontal = moved.horizontal != 0;
    const int oldStart = isHorizontal ? moved.band.top : moved.band.left;
    if (isHorizontal) {
        moved.band.top = y - 3;
        moved.band.bottom = moved.band.top + 6;
    } else {
        moved.band.left = x - 3;
        moved.band.right = moved.band.left + 6;
    }
    if (moved.role == 1 || moved.role == 3) moveEndsOn(lines, live, index, isHorizontal, oldStart);
    const AreaLayout layout = computeAreas(format, width, height, lines);
    for (int slot = 0; slot < layout.areaCount; ++slot) {
        const Rect& area = layout.areas[static_cast<size_t>(slot)];
        if (area.width() < 1 || area.height() < 1) return false;
    }
    original = lines;
    return true;
}

int limitSignWidth(int typed, int height) {
    return limitDimension(typed, height, 16);
}
int limitSignHeight(int typed, int width) {
    return limitDimension(typed, width, 8);
}

bool isSignSize(int width, int height) {
    return width > 0 && height > 0 && limitSignWidth(width, height) == width &&
           limitSignHeight(height, width) == height;
}

}  // namespace brightline
