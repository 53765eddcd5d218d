// Fibers: the stepped show's regions take turns on one thread, each keeping its own stack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/fiber.h"

namespace brightline::engine {
namespace {

// Recurses `depth` calls deep, yielding at the bottom, and checks its frames afterwards.
int deepSum(Fiber*& self, int depth) {
    char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth == 0) {
        self->yield();
        return 0;
    }
    int below = deepSum(self, depth - 1);
    return below + frame[0];
}

TEST(Fiber, FibersTakeTurnsAndKeepTheirOwnStacks) {
    std::vector<std::string> log;
    Fiber* a = nullptr;
    Fiber* b = nullptr;
    int sumA = -1;
    Fiber fa([&] {
        std::string mine = "a";
        for (int i = 0; i < 3; ++i) {
            log.push_back(mine + std::to_string(i));
            a->yield();
        }
        sumA = deepSum(a, 100);  // 100 frames of 512 bytes on the fiber's stack
    });
    Fiber fb([&] {
        std::string mine = "b";
        for (int i = 0; i < 2; ++i) {
            log.push_back(mine + std::to_string(i));
            b->yield();
        }
    });
    a = &fa;
    b = &fb;
    int rounds = 0;
    while (!fa.finished() || !fb.finished()) {
        fa.resume();
        fb.resume();
        ASSERT_LT(++rounds, 10) << "the fibers never finished";
    }
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "b0", "a1", "b1", "a2"}));
    EXPECT_EQ(sumA, 5050);
    fa.resume();  // a finished fiber is left as it is
    EXPECT_TRUE(fa.finished());
}

}  // namespace
}  // namespace brightline::engine
