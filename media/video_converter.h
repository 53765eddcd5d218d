#pragma once
// Convert video to ZVI: every frame of a video (any container and codec FFmpeg opens) stretched
// to the clip size, optionally turned grey, encoded as JPEG and written as a ZVI clip that ends
// with one black frame. Clip timing follows clipTimingForVideo() (clip_rules.h).
//
// The clip is built beside the destination and put in place when it is complete, so the
// destination never holds a half-written clip; a conversion that fails (the video cannot be read,
// not one frame converts, the disk is full) keeps what the destination held, and a destination
// that is the video itself is refused. The header's frame count names the records really written.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "media/frame_encoder.h"
#include "media/zvi_format.h"

namespace brightline::media {

struct VideoConversionParams {
    std::string source;
    std::string destination;
    int width = 0;  // clip size for size mode 3
    int height = 0;
    FrameFormat format =
        FrameFormat::Jpeg;  // Jpeg gives a "JPG " clip, Png a "PNG " clip; Bmp is refused
    int firstFrame = 0;     // video frames before this one are passed over
    int sizeMode = 3;       // 0 half, 1 same, 2 twice the video size, 3 width x height
    bool greyMode = false;  // the sign's grey mode (profile "SET"/"GRAY")
    int jpegQuality = 75;   // 1..100, see jpeg_quality.h
};

struct VideoConversionResult {
    bool ok = false;  // a clip was written (also when cancelled part-way)
    bool cancelled = false;
    int framesConverted = 0;  // video frames converted (the converter's result)
    int recordsWritten = 0;   // frame records in the clip, doubles and the black frame included
    ZviHeader header;         // as written
    std::string error;        // why it failed
};

// Called on the converting thread after each converted video frame: frames done of frames
// total (total may grow when the video holds more frames than it said).
using ConversionProgress = std::function<void(int done, int total)>;

// Converts on the calling thread. `cancel` (may be null) is polled between frames: when it is
// set the frame loop stops, the black frame closes the clip and the result says cancelled.
VideoConversionResult convertVideoToZvi(const VideoConversionParams& params,
                                        const ConversionProgress& progress,
                                        const std::atomic<bool>* cancel);

// A conversion on a worker thread of its own. Create, start(), then wait() (or poll finished());
// cancel() may be called from any thread. Destroying it cancels and joins a running conversion.
class VideoConversion {
  public:
    VideoConversion() = default;
    ~VideoConversion();
    VideoConversion(const VideoConversion&) = delete;
    VideoConversion& operator=(const VideoConversion&) = delete;

    // Starts the worker; `progress` is called on the worker thread. False when a conversion was
    // started and not yet waited for.
    bool start(VideoConversionParams params, ConversionProgress progress = nullptr);
    void cancel() { cancel_.store(true); }
    bool finished() const { return done_.load(); }
    // Joins the worker and returns its result (a default result when nothing was started).
    VideoConversionResult wait();

  private:
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    VideoConversionResult result_;  // written by the worker before done_, read after join
};

}  // namespace brightline::media
