#pragma once
// Embedded video: DefineVideoStream and the VideoFrame tags that feed it, decoded with
// libavcodec (Sorenson H.263, screen video 1 and 2, VP6 and VP6 with alpha). One decoder a
// stream; frames must be given in the order the movie holds them.
#include <cstdint>
#include <memory>
#include <string>

#include "media/swf/swf_bitmap.h"

namespace brightline::swf {

struct VideoStreamDefinition {
    int frameCount = 0;
    int width = 0, height = 0;  // pixels; the video covers width x height pixels of its space
    int codec = 0;  // 2 H.263, 3 screen video, 4 VP6, 5 VP6 with alpha, 6 screen video 2
    bool smoothing = false;
};

// The codec's name for diagnostics ("Sorenson H.263", "codec 9").
std::string videoCodecName(int codec);

class VideoDecoder {
  public:
    VideoDecoder();
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // False with `error` set when the codec is unknown or libavcodec lacks its decoder.
    bool open(const VideoStreamDefinition& stream, std::string& error);
    // Decodes one frame's data; the newest picture replaces image(). False with `error` set when
    // the data cannot be decoded (the previous picture stays).
    bool decode(const uint8_t* data, size_t size, std::string& error);
    const Image& image() const { return image_; }

  private:
    struct State;
    std::unique_ptr<State> state_;
    Image image_;
};

}  // namespace brightline::swf
