#include "engine/frame_sink.h"

namespace brightline::engine {

void CollectingSink::frame(int width, int height, const uint32_t* pixels, uint64_t tick) {
    Frame f{tick, width, height, std::vector<uint32_t>(pixels, pixels + size_t(width) * height)};
    for (uint32_t& p : f.pixels) p &= 0xFFFFFF;
    frames.push_back(std::move(f));
}

void TeeSink::frame(int width, int height, const uint32_t* pixels, uint64_t tick) {
    for (FrameSink* s : sinks_) s->frame(width, height, pixels, tick);
}

void TeeSink::finish() {
    for (FrameSink* s : sinks_) s->finish();
}

EveryNthTick::EveryNthTick(FrameSink& next, uint64_t n, std::function<uint64_t()> ticksPlayed)
    : next_(next), n_(n < 1 ? 1 : n), ticksPlayed_(std::move(ticksPlayed)) {}

void EveryNthTick::frame(int width, int height, const uint32_t* pixels, uint64_t tick) {
    if (havePending_ && boundaryFrom(pendingTick_) < tick)
        next_.frame(width_, height_, pending_.data(), boundaryFrom(pendingTick_));
    havePending_ = false;
    if (tick % n_ == 0) {
        next_.frame(width, height, pixels, tick);
        return;
    }
    pending_.assign(pixels, pixels + size_t(width) * size_t(height));
    width_ = width;
    height_ = height;
    pendingTick_ = tick;
    havePending_ = true;
}

void EveryNthTick::finish() {
    if (havePending_ && ticksPlayed_ && boundaryFrom(pendingTick_) <= ticksPlayed_())
        next_.frame(width_, height_, pending_.data(), boundaryFrom(pendingTick_));
    havePending_ = false;
    next_.finish();
}

}  // namespace brightline::engine
