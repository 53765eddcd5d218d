#pragma once
// Writes every frame as "%06d.png" (the tick number) into a folder that must exist. Frames are
// encoded on a worker of their own (FrameQueue): frame() costs the engine a copy; error() and
// written() are complete once finish() has returned.
#include <string>

#include "engine/frame_queue.h"
#include "engine/frame_sink.h"

namespace brightline::engine {

class PngFrameWriter : public FrameSink {
  public:
    explicit PngFrameWriter(std::string folder);
    void frame(int width, int height, const uint32_t* pixels, uint64_t tick) override;
    // Waits until every frame is written.
    void finish() override { queue_.drain(); }
    // The first write failure, empty when every frame was written.
    const std::string& error() const { return error_; }
    int written() const { return written_; }

  private:
    void encode(int width, int height, const uint32_t* pixels, uint64_t tick);

    std::string folder_;
    std::string error_;
    int written_ = 0;
    FrameQueue queue_;  // last: its worker ends before the members it uses
};

}  // namespace brightline::engine
