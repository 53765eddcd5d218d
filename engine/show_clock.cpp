#include "engine/show_clock.h"

namespace brightline::engine {

ShowClock::ShowClock(int64_t startUtcMs, bool stepped)
    : startMs_(startUtcMs), stepped_(stepped), started_(std::chrono::steady_clock::now()) {}

std::shared_ptr<ShowClock> ShowClock::stepped(int64_t startUtcMs) {
    return std::shared_ptr<ShowClock>(new ShowClock(startUtcMs, true));
}

std::shared_ptr<ShowClock> ShowClock::realTime(int64_t startUtcMs) {
    return std::shared_ptr<ShowClock>(new ShowClock(startUtcMs, false));
}

std::shared_ptr<ShowClock> ShowClock::now(bool stepped) {
    using namespace std::chrono;
    const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return std::shared_ptr<ShowClock>(new ShowClock(ms, stepped));
}

int64_t ShowClock::nowUtcMs() const {
    if (stepped_) return startMs_ + ticks_.load() * kTickMs;
    using namespace std::chrono;
    return startMs_ + duration_cast<milliseconds>(steady_clock::now() - started_).count();
}

int64_t ShowClock::nowUtc() const {
    const int64_t ms = nowUtcMs();
    return ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
}

void ShowClock::tickDone() {
    if (stepped_) ticks_.fetch_add(1);
}

}  // namespace brightline::engine
