// Layers and composition: which region is drawn, where, and how black shows through.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/composer.h"
#include "engine/layer_tree.h"
#include "engine/page_list.h"
#include "engine/pixel_arena.h"

namespace brightline::engine {
namespace {

struct Region {
    int x, y, w, h;
    int type;
};

// A screen and regions set up as the player does, without threads.
class Page {
  public:
    Page(int width, int height, const std::vector<Region>& regions) {
        std::vector<PixelArena::Size> sizes;
        for (const Region& r : regions) sizes.push_back({r.w, r.h});
        EXPECT_TRUE(arena.reserve({width, height}, sizes));
        arena.setUpSlot(0, 0, 0, width, height);
        for (size_t i = 0; i < regions.size(); ++i) {
            const Region& r = regions[i];
            int k = static_cast<int>(i) + 1;
            arena.setUpSlot(k, r.x, r.y, r.w, r.h);
            tree.insert(k, {r.x, r.y, r.w, r.h});
            arena.slot(k).windowType = r.type;
        }
        count = static_cast<int>(regions.size());
    }
    // Fills region k's display with `colour` and marks it changed.
    void paint(int k, uint32_t colour) {
        RegionSlot& s = arena.slot(k);
        std::fill(s.display, s.display + size_t(s.width) * s.height, colour);
        s.changed = true;
    }
    void paintPixel(int k, int x, int y, uint32_t colour) {
        RegionSlot& s = arena.slot(k);
        s.display[size_t(y) * s.width + x] = colour;
        s.changed = true;
    }
    uint32_t screen(int x, int y) {
        return arena.slot(0).display[size_t(y) * arena.slot(0).width + x];
    }
    bool compose() { return composeAndDraw(arena, tree, count); }

    PixelArena arena;
    LayerTree tree;
    int count = 0;
};

TEST(LayerTree, ContainedRegionsNestAndAContainerTakesItsChildsPlace) {
    LayerTree t;
    ASSERT_TRUE(t.insert(1, {0, 0, 100, 50}));
    ASSERT_TRUE(t.insert(2, {10, 10, 20, 20}));  // inside 1
    ASSERT_TRUE(t.insert(3, {12, 12, 5, 5}));    // inside 2
    ASSERT_TRUE(t.insert(4, {200, 0, 10, 10}));  // beside
    EXPECT_EQ(t.parent(2), 1);
    EXPECT_EQ(t.parent(3), 2);
    EXPECT_EQ(t.parent(4), 0);

    LayerTree late;  // the container comes after the contained region
    ASSERT_TRUE(late.insert(1, {10, 10, 5, 5}));
    ASSERT_TRUE(late.insert(2, {0, 0, 50, 50}));
    EXPECT_EQ(late.parent(1), 2);
    EXPECT_EQ(late.parent(2), 0);
    EXPECT_EQ(late.children(0), std::vector<int>{2});
    EXPECT_EQ(late.children(2), std::vector<int>{1});

    EXPECT_FALSE(late.insert(1, {0, 0, 1, 1}));  // already there
    EXPECT_FALSE(late.insert(10, {0, 0, 1, 1}));
}

TEST(Composition, NothingChangedDrawsNothing) {
    Page p(8, 4, {{0, 0, 4, 4, 1}});
    p.paint(1, 0xFF0000);
    EXPECT_TRUE(p.compose());
    EXPECT_FALSE(p.compose());  // the flag was cleared
    EXPECT_EQ(p.screen(3, 3), 0xFF0000u);
    EXPECT_EQ(p.screen(4, 0), 0u);
}

TEST(Composition, TransparentRegionShowsItsContainerOrTheScreenWhereBlack) {
    // Region 2 (type 2) lies inside opaque region 1; region 4 (type 2) is top level and overlaps
    // region 3 without lying inside it.
    Page p(40, 10, {{0, 0, 10, 10, 1}, {2, 2, 4, 4, 2}, {20, 0, 10, 10, 1}, {25, 0, 10, 10, 2}});
    p.paint(1, 0x00FF00);
    p.paint(2, 0);
    p.paintPixel(2, 0, 0, 0xFF0000);
    p.paint(3, 0x0000FF);
    p.paint(4, 0);
    p.paintPixel(4, 9, 0, 0xFFFF00);
    ASSERT_TRUE(p.compose());
    EXPECT_EQ(p.screen(2, 2), 0xFF0000u);   // region 2's own pixel
    EXPECT_EQ(p.screen(3, 3), 0x00FF00u);   // black: region 1 shows through
    EXPECT_EQ(p.screen(26, 5), 0x0000FFu);  // black at top level: the screen stays (region 3)
    EXPECT_EQ(p.screen(31, 5), 0u);         // black at top level over nothing
    EXPECT_EQ(p.screen(34, 0), 0xFFFF00u);

    // The outer region changes; its transparent child is drawn again over it.
    p.paint(1, 0xFFFFFF);
    ASSERT_TRUE(p.compose());
    EXPECT_EQ(p.screen(2, 2), 0xFF0000u);
    EXPECT_EQ(p.screen(3, 3), 0xFFFFFFu);
}

TEST(Composition, NestedRegionStaysOnTopWhenOnlyItsContainerChanges) {
    Page p(10, 10, {{0, 0, 10, 10, 1}, {4, 4, 2, 2, 1}});
    p.paint(1, 0x00FF00);
    p.paint(2, 0xFF0000);
    ASSERT_TRUE(p.compose());
    p.paint(1, 0x0000FF);  // only the container
    ASSERT_TRUE(p.compose());
    EXPECT_EQ(p.screen(4, 4), 0xFF0000u);
    EXPECT_EQ(p.screen(0, 0), 0x0000FFu);
}

TEST(Composition, OtherWindowTypesAreNeverDrawn) {
    for (int type : {0, 3, 7}) {
        Page p(4, 4, {{0, 0, 4, 4, type}});
        p.paint(1, 0xFF0000);
        EXPECT_TRUE(p.compose());               // it changed, so a frame is composed...
        EXPECT_EQ(p.screen(1, 1), 0u) << type;  // ...but the region is not in it
    }
}

TEST(PixelArena, GrowsForALargerPageKeepingTheScreenAndRefusesPastItsLimit) {
    PixelArena arena;
    ASSERT_TRUE(arena.reserve({4, 4}, {}));
    arena.setUpSlot(0, 0, 0, 4, 4);
    arena.slot(0).display[5] = 0x123456;
    ASSERT_TRUE(arena.reserve({4, 4}, {{100, 100}, {50, 50}}));
    EXPECT_EQ(arena.slot(0).display[5], 0x123456u);
    EXPECT_GE(arena.capacityBytes(), size_t(3 * 4) * (16 + 10000 + 2500));
    arena.setUpSlot(1, 0, 0, 100, 100);
    arena.setUpSlot(2, 0, 0, 50, 50);
    EXPECT_EQ(arena.slot(2).display, arena.slot(1).work + 10000);  // back to back

    size_t before = arena.capacityBytes();
    EXPECT_FALSE(arena.reserve({4, 4}, {{1000, 1000}}, 1 << 20));
    EXPECT_EQ(arena.capacityBytes(), before);
    EXPECT_EQ(arena.slot(0).display[5], 0x123456u);
}

TEST(PageList, ExtraPagesAreSortedAndFreed) {
    uint32_t page0[4] = {1, 2, 3, 4};
    PageList pages;
    pages.reset(page0, 4);
    EXPECT_EQ(pages.page(0), page0);
    EXPECT_EQ(pages.page(1), nullptr);
    uint32_t* p3 = pages.ensurePage(3);
    ASSERT_NE(p3, nullptr);
    EXPECT_EQ(p3[0], 0u);
    ASSERT_NE(pages.ensurePage(1), nullptr);
    EXPECT_EQ(pages.ensurePage(3), p3);
    EXPECT_EQ(pages.pageNumbers(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(pages.lastPageNumber(), 3);
    EXPECT_EQ(pages.extraPageCount(), 2);
    EXPECT_EQ(pages.ensurePage(PageList::kMaxPages), nullptr);
    pages.freeExtraPages();
    EXPECT_EQ(pages.pageNumbers(), std::vector<int>{0});
}

}  // namespace
}  // namespace brightline::engine
