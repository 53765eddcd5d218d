#pragma once
// A bounded queue of frames and the worker thread that encodes them, so that a frame writer
// (PNG files, a GIF) costs the show player a copy of the screen instead of an encode.
//
// push() copies the frame and returns at once while fewer than `capacity` frames wait; with the
// queue full it waits for the worker (memory stays bounded however slow the disk). The worker
// calls `encode` for every frame in the order pushed. drain() waits until every frame pushed has
// been encoded and ends the worker; a later push() starts it again.
//
// Thread affinity: push() and drain() from one thread (the show player's); `encode` runs on the
// worker, never on two frames at once. The destructor drains.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace brightline::engine {

class FrameQueue {
  public:
    using Encode =
        std::function<void(int width, int height, const uint32_t* pixels, uint64_t tick)>;
    static constexpr size_t kDefaultCapacity = 8;

    explicit FrameQueue(Encode encode, size_t capacity = kDefaultCapacity);
    ~FrameQueue();
    FrameQueue(const FrameQueue&) = delete;
    FrameQueue& operator=(const FrameQueue&) = delete;

    void push(int width, int height, const uint32_t* pixels, uint64_t tick);
    void drain();

  private:
    struct Frame {
        int width = 0;
        int height = 0;
        uint64_t tick = 0;
        std::vector<uint32_t> pixels;
    };
    void work();

    Encode encode_;
    const size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Frame> waiting_;
    std::vector<std::vector<uint32_t>> spare_;  // buffers of encoded frames, used again
    bool draining_ = false;
    std::thread worker_;
};

}  // namespace brightline::engine
