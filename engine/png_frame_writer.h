#pragma once
// Writes every frame as "%06d.png" (the tick number) into a folder that must exist.
#include <string>

#include "engine/frame_sink.h"

namespace brightline::engine {

class PngFrameWriter : public FrameSink {
  public:
    explicit PngFrameWriter(std::string folder) : folder_(std::move(folder)) {}
    void frame(int width, int height, const uint32_t* pixels, uint64_t tick) override;
    // The first write failure, empty when every frame was written.
    const std::string& error() const { return error_; }
    int written() const { return written_; }

  private:
    std::string folder_;
    std::string error_;
    int written_ = 0;
};

}  // namespace brightline::engine
