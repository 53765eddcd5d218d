#include "engine/frame_queue.h"

#include <algorithm>

namespace brightline::engine {

FrameQueue::FrameQueue(Encode encode, size_t capacity)
    : encode_(std::move(encode)), capacity_(std::max<size_t>(capacity, 1)) {}

FrameQueue::~FrameQueue() {
    drain();
}

void FrameQueue::push(int width, int height, const uint32_t* pixels, uint64_t tick) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < capacity_; });
    Frame frame{width, height, tick, {}};
    if (!spare_.empty()) {
        frame.pixels = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    frame.pixels.assign(pixels, pixels + size_t(width) * size_t(height));
    lock.lock();
    waiting_.push_back(std::move(frame));
    if (!worker_.joinable()) {
        draining_ = false;
        worker_ = std::thread([this] { work(); });
    }
    changed_.notify_all();
}

void FrameQueue::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !waiting_.empty() || draining_; });
        if (waiting_.empty()) return;  // drained
        Frame& frame = waiting_.front();
        lock.unlock();
        encode_(frame.width, frame.height, frame.pixels.data(), frame.tick);
        lock.lock();
        spare_.push_back(std::move(frame.pixels));
        waiting_.pop_front();
        changed_.notify_all();
    }
}

void FrameQueue::drain() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!worker_.joinable()) return;
        draining_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

}  // namespace brightline::engine
