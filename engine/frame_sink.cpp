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

}  // namespace brightline::engine
