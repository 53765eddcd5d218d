#pragma once
// Receives the composed screen on every tick that drew.
//
// Called on the show player thread. `pixels` is width x height words 0x00RRGGBB (the top byte
// is not colour and must be ignored), rows top first; it is valid only during the call. `tick`
// counts ticks from 1 at the first tick of the first page.
#include <cstdint>
#include <string>
#include <vector>

namespace brightline::engine {

class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void frame(int width, int height, const uint32_t* pixels, uint64_t tick) = 0;
    // The show has ended; no frame follows. Writers finish their files here.
    virtual void finish() {}
};

// Keeps every frame, for tests.
class CollectingSink : public FrameSink {
  public:
    struct Frame {
        uint64_t tick;
        int width;
        int height;
        std::vector<uint32_t> pixels;  // top byte cleared
        uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    };
    void frame(int width, int height, const uint32_t* pixels, uint64_t tick) override;
    std::vector<Frame> frames;
};

// Hands every frame on to several sinks, in order.
class TeeSink : public FrameSink {
  public:
    void add(FrameSink* sink) { sinks_.push_back(sink); }
    void frame(int width, int height, const uint32_t* pixels, uint64_t tick) override;
    void finish() override;

  private:
    std::vector<FrameSink*> sinks_;
};

}  // namespace brightline::engine
