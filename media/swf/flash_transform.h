#pragma once
// The Flash transform: a movie drawn frame by frame at the clip size and written as a "PNG "
// clip of rate 24, as the sign plays Flash clips.
//
// The movie is stretched to the clip size (aspect not kept), on a black background whatever
// colour the movie sets, stopped, taken to frame 0 and then captured one frame at a time. Like
// the video converter it builds the clip beside the destination and puts it in place when it is
// complete, so a conversion that fails (the movie cannot be read or drawn, the disk is full)
// keeps what the destination held, and a destination that is the movie itself is refused. The
// header's frame count names the frames written.
#include <atomic>
#include <string>
#include <vector>

#include "media/picture.h"
#include "media/video_converter.h"
#include "media/zvi_format.h"

namespace brightline::swf {

inline constexpr int kFlashClipRate = 24;

struct FlashConversionParams {
    std::string source;
    std::string destination;
    int width = 0;  // clip size; 0 x 0 takes the movie's own size
    int height = 0;
    int sizeMode = 3;       // 0 halves, 2 doubles the size, any other keeps it
    bool greyMode = false;  // the sign's grey mode (greyMode() of the profile)
};

struct FlashConversionResult {
    bool ok = false;  // a clip was written (also when cancelled part-way)
    bool cancelled = false;
    int framesCaptured = 0;   // the transform's result
    int movieFrames = 0;      // frames the movie has
    media::ZviHeader header;  // as written
    std::string error;        // why it failed
    // What could not be drawn: tags and features left out, bitmaps or video that did not
    // decode, damage found in the file. One line each.
    std::vector<std::string> diagnostics;
};

// Converts on the calling thread; `progress` (frames done of the movie's frames) and `cancel`
// may be null. Cancelling keeps the frames captured so far.
FlashConversionResult convertFlashToZvi(const FlashConversionParams& params,
                                        const media::ConversionProgress& progress,
                                        const std::atomic<bool>* cancel);

// Frame 0 of the movie at `path`, drawn as the transform draws it (stretched to width x height,
// black background): the thumbnail of a Flash entry. False with `error` set when the movie
// cannot be read or has no frame.
bool renderFlashFirstFrame(const std::string& path, int width, int height, media::Picture& out,
                           std::string* error = nullptr);

}  // namespace brightline::swf
