#pragma once
// Polling waits for tests, always with a deadline: waitUntil() looks at `done` every 2 ms and
// gives up after `limit`, so that a test fails with its own message instead of hanging until the
// test runner's time-out. Use it as ASSERT_TRUE(waitUntil(...)) << "what did not happen".
#include <chrono>
#include <thread>

namespace brightline::testkit {

template <typename Done>
bool waitUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace brightline::testkit
