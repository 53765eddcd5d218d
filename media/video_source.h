#pragma once
// A video file read frame by frame through FFmpeg (libavformat, libavcodec, libswscale): any
// container and codec FFmpeg opens, the first video stream. One owner, one thread.
#include <cstdint>
#include <memory>
#include <string>

#include "media/picture.h"

namespace brightline::media {

struct VideoInfo {
    int width = 0;
    int height = 0;
    int64_t length = 0;     // frames (from the stream, else estimated from its duration)
    int rateNumerator = 0;  // frames per second as a fraction
    int rateDenominator = 1;
    int wholeFramesPerSecond() const;    // rate / scale, truncated
    int roundedFramesPerSecond() const;  // to the nearest whole number
};

class VideoSource {
  public:
    VideoSource();
    ~VideoSource();
    VideoSource(const VideoSource&) = delete;
    VideoSource& operator=(const VideoSource&) = delete;

    // Opens the file and its first video stream with a decoder. False with `error` set.
    bool open(const std::string& path, std::string* error = nullptr);
    const VideoInfo& info() const { return info_; }

    // Decodes the next frame and stretches it to width x height (0 or less: the video size) as
    // 0x00RRGGBB pixels. False at the end of the video; `error` is set when decoding failed
    // rather than ended.
    bool nextFrame(Picture& out, int width = 0, int height = 0, std::string* error = nullptr);

  private:
    struct State;
    std::unique_ptr<State> state_;
    VideoInfo info_;
};

// Video information and first frame: the video's width, height, length in frames and frames per
// second. With `bmpFolder` not empty the first frame is also written as a 24-bit BMP named after
// the video (its file title + ".bmp") into that folder; `bmpPath` receives its path. False with
// `error` set when the video cannot be opened, or the frame cannot be decoded or written.
bool videoInformation(const std::string& path, VideoInfo& info,
                      const std::string& bmpFolder = std::string(), std::string* bmpPath = nullptr,
                      std::string* error = nullptr);

}  // namespace brightline::media
