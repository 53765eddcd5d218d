#pragma once
// Writes the frames as one looping animated GIF. Each frame stays until the next drawn tick
// (40 ms a tick), the last one for one tick, so the animation keeps the show's pace.
//
// Colours are mapped to a fixed 6 x 7 x 6 colour cube (6 levels of red, 7 of green, 6 of blue;
// 252 of the 256 palette entries), nearest level per channel: deterministic, and the same
// palette for every frame.
//
// Frames are encoded on a worker of their own (FrameQueue): frame() costs the engine a copy.
// error() and written() are complete once finish() has returned.
#include <cstdint>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "engine/frame_queue.h"
#include "engine/frame_sink.h"

struct GifFileType;

namespace brightline::engine {

class GifWriter : public FrameSink {
  public:
    explicit GifWriter(std::string path);
    ~GifWriter() override;
    void frame(int width, int height, const uint32_t* pixels, uint64_t tick) override;
    // Writes the last frame and puts the file in place: the animation is written beside the path
    // and replaces it only when complete, so a failure keeps what was there. Called by the
    // engine when the show ends.
    void finish() override;
    // The first failure, empty when all went well.
    const std::string& error() const { return error_; }
    int written() const { return written_; }

    // The palette index of a pixel 0x00RRGGBB.
    static uint8_t paletteIndex(uint32_t pixel);

  private:
    // On the queue's worker.
    void encode(int width, int height, const uint32_t* pixels, uint64_t tick);
    bool open(int width, int height);
    void writePending(uint64_t nextTick);
    static int writeBytes(GifFileType* gif, const unsigned char* bytes, int size);

    std::string path_;
    std::string error_;
    AtomicFileWriter file_;
    GifFileType* gif_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pending_;
    uint64_t pendingTick_ = 0;
    bool havePending_ = false;
    int written_ = 0;
    FrameQueue queue_;  // last: its worker ends before the members it uses
};

}  // namespace brightline::engine
