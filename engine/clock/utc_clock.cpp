#include "engine/clock/utc_clock.h"

#include <chrono>

namespace brightline {

int64_t SystemUtcClock::nowUtc() const {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace brightline
