// The one auto-reset event the links, the engine and the operations wait on.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "common/event.h"

namespace brightline {
namespace {

using std::chrono::milliseconds;

TEST(Event, ASetBeforeTheWaitLetsOneWaitThroughThenClears) {
    Event event;
    EXPECT_FALSE(event.waitFor(milliseconds(0)));
    event.set();
    event.set();  // already set: still one wait
    EXPECT_TRUE(event.isSet());
    EXPECT_TRUE(event.waitFor(milliseconds(0)));
    EXPECT_FALSE(event.isSet());
    EXPECT_FALSE(event.waitFor(milliseconds(-5)));  // a negative time-out is none
    event.set();
    event.reset();
    EXPECT_FALSE(event.waitFor(milliseconds(1)));
}

TEST(Event, OneSetReleasesExactlyOneOfSeveralWaiters) {
    Event event;
    std::atomic<int> through{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (event.waitFor(milliseconds(400))) ++through;
        });
    std::this_thread::sleep_for(milliseconds(50));
    event.set();
    for (std::thread& t : waiters) t.join();
    EXPECT_EQ(through.load(), 1);
    EXPECT_FALSE(event.isSet());
}

TEST(Event, ASetFromAnotherThreadEndsAnUnboundedWait) {
    Event event;
    std::thread setter([&] {
        std::this_thread::sleep_for(milliseconds(20));
        event.set();
    });
    event.wait();
    setter.join();
    EXPECT_FALSE(event.isSet());
}

}  // namespace
}  // namespace brightline
