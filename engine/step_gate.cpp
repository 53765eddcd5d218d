#include "engine/step_gate.h"

namespace brightline::engine {

StepGate::~StepGate() {
    join();
}

void StepGate::reset(int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int r = 1; r <= kMaxRegion; ++r) regions_[r] = State{false, false, r > count};
}

void StepGate::start(int region, std::function<void()> body) {
    if (region < 1 || region > kMaxRegion) return;
    if (runner_ == Runner::Fibers)
        fibers_[region] = std::make_unique<Fiber>(std::move(body));
    else
        threads_.emplace_back(std::move(body));
}

void StepGate::grant(int region) {
    if (region < 1 || region > kMaxRegion) return;
    if (runner_ == Runner::Fibers) {
        regions_[region].granted = true;
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        regions_[region].granted = true;
    }
    cv_.notify_all();
}

void StepGate::await(int region) {
    if (region < 1 || region > kMaxRegion) return;
    State& s = regions_[region];
    if (runner_ == Runner::Fibers) {
        s.waiting = true;
        while (!s.granted) fibers_[region]->yield();
        s.granted = false;
        s.waiting = false;
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    s.waiting = true;
    cv_.notify_all();
    cv_.wait(lock, [&s] { return s.granted; });
    s.granted = false;
    s.waiting = false;
}

void StepGate::leave(int region) {
    if (region < 1 || region > kMaxRegion) return;
    if (runner_ == Runner::Fibers) {
        regions_[region].left = true;
        return;
    }
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
    if (runner_ == Runner::Fibers) {
        // A region changes only its own state while it runs, so one pass brings all to rest.
        for (int r = 1; r <= kMaxRegion; ++r) {
            State& s = regions_[r];
            if (s.left || (s.waiting && !s.granted)) continue;
            Fiber* fiber = fibers_[r].get();
            if (fiber) fiber->resume();
            if (!fiber || fiber->finished()) s.left = true;
        }
        return !interrupted_;
    }
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

void StepGate::join() {
    for (std::thread& t : threads_)
        if (t.joinable()) t.join();
    threads_.clear();
    for (auto& fiber : fibers_) fiber.reset();
}

}  // namespace brightline::engine
