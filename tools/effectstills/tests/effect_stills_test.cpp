#include <gtest/gtest.h>

#include "common/effect_names.h"
#include "tools/effectstills/effect_stills.h"

namespace brightline::tools {
namespace {

// How many pixels of a still are picture A's, picture B's, black.
struct Mix {
    int a = 0, b = 0, black = 0;
};
Mix mixOf(const std::vector<uint32_t>& still) {
    const std::vector<uint32_t> a = pictureA(), b = pictureB();
    Mix mix;
    for (size_t i = 0; i < still.size(); ++i) {
        mix.a += still[i] == a[i];
        mix.b += still[i] == b[i];
        mix.black += (still[i] & 0xFFFFFF) == 0;
    }
    return mix;
}

TEST(EffectStills, EachStillShowsItsEffectHalfWay) {
    const int all = kStillWidth * kStillHeight;
    // "Instant" has brought B in, "No clear" leaves A as it was.
    EXPECT_EQ(mixOf(effectStill(1, true)).b, all);
    EXPECT_EQ(mixOf(effectStill(0, false)).a, all);
    // "Cover left" half-way: part A, part B, nothing black.
    const Mix cover = mixOf(effectStill(*effectPosition("FR_LF"), true));
    EXPECT_GT(cover.a, all / 4);
    EXPECT_GT(cover.b, all / 4);
    EXPECT_EQ(cover.black, 0);
    // An exit leaves black where A went.
    const Mix out = mixOf(effectStill(*effectPosition("FR_V_CLOSE"), false));
    EXPECT_GT(out.a, all / 4);
    EXPECT_GT(out.black, all / 4);
}

TEST(EffectStills, StripsHoldTheListsInOrder) {
    const Strip in = effectStrip(true), out = effectStrip(false);
    EXPECT_EQ(in.width, 45 * kStillWidth);
    EXPECT_EQ(out.width, 46 * kStillWidth);
    EXPECT_EQ(in.height, kStillHeight);
    // Move In picture 10 is effect position 11, Move Out picture 11 is position 11.
    const std::vector<uint32_t> still = effectStill(11, true);
    for (int y = 0; y < kStillHeight; ++y)
        for (int x = 0; x < kStillWidth; ++x)
            ASSERT_EQ(in.pixels[size_t(y) * size_t(in.width) + size_t(10 * kStillWidth + x)],
                      still[size_t(y) * kStillWidth + size_t(x)]);
    // No two neighbouring entry stills are alike (each shows its own effect).
    int alike = 0;
    for (int p = 2; p < kEffectCount - 1; ++p)
        alike += effectStill(p, true) == effectStill(p + 1, true);
    EXPECT_LE(alike, 2);
}

}  // namespace
}  // namespace brightline::tools
