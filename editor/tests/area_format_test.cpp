#include <gtest/gtest.h>

#include "editor/area_format.h"

namespace brightline {
namespace {

struct FormatCase {
    int format;
    std::vector<Rect> areas;  // as the format table gives them for the sign size
};

// The areas each format gives right after it is applied, written out from the format table for a
// sign of 250 x 101 (odd sizes, so every truncation shows).
const std::vector<FormatCase> kFormats250x101 = {
    {0, {{0, 0, 250, 101}}},
    {1, {{0, 0, 125, 101}, {125, 0, 250, 101}}},
    {2, {{0, 0, 250, 50}, {0, 50, 250, 101}}},
    {3, {{0, 0, 250, 101}, {62, 25, 187, 75}}},
    {4, {{0, 0, 83, 101}, {83, 0, 166, 101}, {166, 0, 250, 101}}},
    {5, {{0, 0, 250, 33}, {0, 33, 250, 67}, {0, 67, 250, 101}}},
    {6, {{0, 0, 125, 67}, {125, 0, 250, 67}, {0, 67, 250, 101}}},
    {7, {{0, 0, 250, 50}, {0, 50, 125, 101}, {125, 50, 250, 101}}},
    {8, {{0, 0, 125, 50}, {0, 50, 125, 101}, {125, 0, 250, 101}}},
    {9, {{0, 0, 125, 101}, {125, 0, 250, 50}, {125, 50, 250, 101}}},
    {10, {{0, 0, 250, 101}, {50, 20, 200, 40}, {50, 60, 200, 80}}},
};

TEST(AreaFormat, AreasComputedFromTheLinesMatchTheFormatTable) {
    for (const FormatCase& c : kFormats250x101) {
        RegionLines lines{};
        applyAreaFormat(c.format, 250, 101, lines);
        AreaLayout layout = computeAreas(c.format, 250, 101, lines);
        ASSERT_EQ(layout.areaCount, static_cast<int>(c.areas.size())) << c.format;
        for (size_t i = 0; i < c.areas.size(); ++i)
            EXPECT_EQ(layout.areas[i], c.areas[i]) << "format " << c.format << " area " << i;
    }
}

TEST(AreaFormat, SideBySideFormatsTileTheWholeFace) {
    for (int format : {0, 1, 2, 4, 5, 6, 7, 8, 9}) {
        for (auto [w, h] : {std::pair{256, 128}, std::pair{250, 101}, std::pair{16, 8}}) {
            RegionLines lines{};
            applyAreaFormat(format, w, h, lines);
            AreaLayout layout = computeAreas(format, w, h, lines);
            long covered = 0;
            for (int i = 0; i < layout.areaCount; ++i) {
                const Rect& r = layout.areas[i];
                covered += long(r.right - r.left) * (r.bottom - r.top);
            }
            EXPECT_EQ(covered, long(w) * h) << format << " " << w << "x" << h;
            for (int y = 0; y < h; y += 3)
                for (int x = 0; x < w; x += 3) ASSERT_NE(areaAt(layout, x, y), -1) << format;
        }
    }
}

TEST(AreaFormat, LinesOfTheTable) {
    RegionLines lines{};
    applyAreaFormat(3, 256, 128, lines);
    EXPECT_EQ(lines[0].band, (Rect{61, 29, 67, 99}));
    EXPECT_EQ(lines[1].band, (Rect{61, 29, 195, 35}));
    EXPECT_EQ(lines[1].horizontal, 1);
    EXPECT_EQ(lines[1].role, 3);
    EXPECT_EQ(lines[1].endLineA, 0);
    EXPECT_EQ(lines[1].endLineB, 2);
    applyAreaFormat(8, 256, 128, lines);
    EXPECT_EQ(lines[1].band, (Rect{-3, 61, 131, 67}));
    EXPECT_EQ(lines[1].role, 2);
    EXPECT_EQ(lines[0].role, 1);
    // Format 0 puts the whole face into line 0 and leaves the others as they were.
    applyAreaFormat(0, 256, 128, lines);
    EXPECT_EQ(lines[0].band, (Rect{0, 0, 256, 128}));
    EXPECT_EQ(lines[1].band, (Rect{-3, 61, 131, 67}));
    EXPECT_EQ(lineCountOf(0), 0);
    EXPECT_EQ(lineCountOf(10), 8);
    EXPECT_EQ(areaCountOf(42), 1);  // a damaged format number reads as format 0
}

TEST(AreaFormat, DraggingTheVerticalLineInFormat8MovesTheHorizontalLinesEnd) {
    RegionLines lines{};
    applyAreaFormat(8, 256, 128, lines);
    ASSERT_EQ(lineAt(8, lines, 128, 10), 0);
    EXPECT_TRUE(dragLine(8, 256, 128, lines, 0, 160, 10));
    EXPECT_EQ(lines[0].band, (Rect{157, -3, 163, 128}));
    EXPECT_EQ(lines[1].band, (Rect{-3, 61, 163, 67}));  // its right end follows
    AreaLayout layout = computeAreas(8, 256, 128, lines);
    EXPECT_EQ(layout.areas[0], (Rect{0, 0, 160, 64}));
    EXPECT_EQ(layout.areas[1], (Rect{0, 64, 160, 128}));
    EXPECT_EQ(layout.areas[2], (Rect{160, 0, 256, 128}));

    // The horizontal line (role 2) drags alone.
    EXPECT_TRUE(dragLine(8, 256, 128, lines, 1, 10, 40));
    EXPECT_EQ(lines[1].band, (Rect{-3, 37, 163, 43}));
    EXPECT_EQ(lines[0].band, (Rect{157, -3, 163, 128}));
}

TEST(AreaFormat, DraggingTheLeftBoxEdgeInFormat3MovesTheLeftEndsOfTopAndBottom) {
    RegionLines lines{};
    applyAreaFormat(3, 256, 128, lines);
    EXPECT_TRUE(dragLine(3, 256, 128, lines, 0, 40, 64));
    EXPECT_EQ(lines[0].band.left, 37);
    EXPECT_EQ(lines[1].band.left, 37);
    EXPECT_EQ(lines[3].band.left, 37);
    EXPECT_EQ(lines[1].band.right, 195);  // the right ends stay on the right edge
    EXPECT_EQ(lines[2].band, (Rect{189, 29, 195, 99}));
    AreaLayout layout = computeAreas(3, 256, 128, lines);
    EXPECT_EQ(layout.areas[1], (Rect{40, 32, 192, 96}));
}

TEST(AreaFormat, DragsOutsideTheFaceOrThatWouldEmptyAnAreaMoveNothing) {
    struct Case {
        int format, line, x, y;
    } cases[] = {
        {1, 0, -20, 64},   // left of the face: area 0 would be "0 0 -20 128"
        {1, 0, 300, 64},   // right of it
        {2, 0, 100, 128},  // below it
        {1, 0, 0, 64},     // on the edge: area 0 would have no width
        {3, 0, 200, 64},   // the left box edge past the right one
        {5, 0, 10, 90},    // the upper line past the lower one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " to " << c.x << "," << c.y);
        RegionLines lines{};
        applyAreaFormat(c.format, 256, 128, lines);
        const RegionLines before = lines;
        EXPECT_FALSE(dragLine(c.format, 256, 128, lines, c.line, c.x, c.y));
        EXPECT_EQ(lines, before);
    }
    RegionLines lines{};
    applyAreaFormat(1, 256, 128, lines);
    EXPECT_TRUE(dragLine(1, 256, 128, lines, 0, 1, 64));
    EXPECT_EQ(computeAreas(1, 256, 128, lines).areas[0], (Rect{0, 0, 1, 128}));
}

TEST(AreaFormat, ClicksInFormat3SelectTheInnerBoxFirst) {
    RegionLines lines{};
    applyAreaFormat(3, 256, 128, lines);
    AreaLayout layout = computeAreas(3, 256, 128, lines);
    EXPECT_EQ(areaAt(layout, 128, 64), 1);
    EXPECT_EQ(areaAt(layout, 5, 5), 0);
    EXPECT_EQ(areaAt(layout, 250, 120), 0);
    EXPECT_EQ(areaAt(layout, 256, 64), -1);
    // Points on a line's band hit the first live line.
    EXPECT_EQ(lineAt(3, lines, 62, 30), 0);
    EXPECT_EQ(lineAt(3, lines, 100, 31), 1);
    EXPECT_EQ(lineAt(3, lines, 100, 60), -1);
}

TEST(AreaFormat, TypedSignSizesAreLimitedAndRoundedDown) {
    EXPECT_EQ(limitSignWidth(999, 128), 512);
    EXPECT_EQ(limitSignWidth(13, 128), 16);
    EXPECT_EQ(limitSignWidth(30, 128), 24);
    EXPECT_EQ(limitSignWidth(0, 128), 16);  // non-numeric text parses as 0
    EXPECT_EQ(limitSignWidth(600, 100), 648 > 600 ? 600 : 648);
    EXPECT_EQ(limitSignHeight(999, 256), 256);
    EXPECT_EQ(limitSignHeight(3, 256), 8);
    EXPECT_EQ(limitSignHeight(77, 0), 72);  // a zero width limits nothing
    for (int other : {1, 7, 100, 128, 300, 1024})
        for (int typed : {0, 9, 100, 5000}) {
            int w = limitSignWidth(typed, other);
            EXPECT_EQ(w % 8, 0);
            EXPECT_LE(long(w) * other, 65536 + 16L * other);
        }
}

}  // namespace
}  // namespace brightline
