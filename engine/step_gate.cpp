#include "engine/step_gate.h"

namespace brightline::engine {

void StepGate::reset(int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int r = 1; r <= kMaxRegion; ++r) regions_[r] = State{false, false, r > count};
}

void StepGate::grant(int region) {
    if (region < 1 || region > kMaxRegion) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        regions_[region].granted = true;
    }
    cv_.notify_all();
}

void StepGate::await(int region) {
    if (region < 1 || region > kMaxRegion) return;
    std::unique_lock<std::mutex> lock(mutex_);
    State& s = regions_[region];
    s.waiting = true;
    cv_.notify_all();
    cv_.wait(lock, [&s] { return s.granted; });
    s.granted = false;
    s.waiting = false;
}

void StepGate::leave(int region) {
    if (region < 1 || region > kMaxRegion) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        regions_[region].left = true;
    }
    cv_.notify_all();
}

bool StepGate::allAtRest() const {
    for (int r = 1; r <= kMaxRegion; ++r) {
        const State& s = regions_[r];
        if (!s.left && !(s.waiting && !s.granted)) return false;
    }
    return true;
}

bool StepGate::waitAllAtRest() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return interrupted_ || allAtRest(); });
    return !interrupted_;
}

void StepGate::interrupt() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        interrupted_ = true;
    }
    cv_.notify_all();
}

}  // namespace brightline::engine
