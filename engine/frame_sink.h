#pragma once
// Receives the composed screen on every tick that drew.
//
// Called on the show player thread. `pixels` is width x height words 0x00RRGGBB (the top byte
// is not colour and must be ignored), rows top first; it is valid only during the call. `tick`
// counts ticks from 1 at the first tick of the first page.
#include <cstdint>
#include <functional>
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

// Passes on the screen as it stands at every n-th tick (n, 2n, 3n, ...), labelled with that
// tick, when it was drawn since the last frame passed on: an hour of show becomes one frame a
// second with n = 25. A frame drawn on tick t stands at every tick until the next drawn one, so
// the frame is passed on once a later frame (or the end of the show) shows that it still stood
// at the next multiple of n. `ticksPlayed` says, at finish(), how many ticks the show played.
class EveryNthTick : public FrameSink {
  public:
    EveryNthTick(FrameSink& next, uint64_t n, std::function<uint64_t()> ticksPlayed);
    void frame(int width, int height, const uint32_t* pixels, uint64_t tick) override;
    void finish() override;

  private:
    // The first multiple of n at or after `tick`.
    uint64_t boundaryFrom(uint64_t tick) const { return (tick + n_ - 1) / n_ * n_; }

    FrameSink& next_;
    const uint64_t n_;
    std::function<uint64_t()> ticksPlayed_;
    std::vector<uint32_t> pending_;
    int width_ = 0;
    int height_ = 0;
    uint64_t pendingTick_ = 0;
    bool havePending_ = false;
};

}  // namespace brightline::engine
