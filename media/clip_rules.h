#pragma once
// The pure rules of clips: how the converter times a clip, and how the player turns a clip's
// rate into a speed and picks frames. Stateless and thread-safe.
#include <string>

#include "media/zvi_format.h"

namespace brightline::media {

// At most this many frames of a PNG clip form a scrolling strip.
inline constexpr int kMaxStripFrames = 999;
// Converted videos of at least this many whole frames a second are written frame by frame;
// slower ones have every frame twice at rate kDoubledClipRate.
inline constexpr int kMinSingleFrameFps = 19;
inline constexpr int kDoubledClipRate = 30;

// The clip speed for a header rate: above 20 gives 0; 20 or less gives 1, or 2 below 13.
int clipSpeedForRate(int rate);
// The speed a clip plays with: the command's speed when above 0, else the clip speed.
int effectiveClipSpeed(int commandSpeed, int clipSpeed);
// With the script maker's usual effect pair a frame stays speed + 1 ticks (40 ms each):
// speed 0 shows 25 frames a second.
int ticksPerClipFrame(int speed);

// True for a "PNG " clip whose entry effect is "DFR_LF" or "DFR_RT": its frames form one long
// strip that the entry effect scrolls once.
bool playsAsStrip(ZviCodec codec, const std::string& entryEffect);
// The frames that form the strip: the frame count, at most kMaxStripFrames (0 when negative).
int stripFrameCount(int frameCount);

// What the player does with a clip: a strip of at most 999 frames scrolled by one entry effect
// (no exit effect), or every frame in turn with entry effect, hold and exit effect.
struct ClipPlan {
    bool strip = false;
    int framesToRead = 0;  // frames read from the clip (fewer when it ends early)
    int speed = 0;         // effect speed for every frame (or for the strip)
};
ClipPlan planClip(const ZviHeader& header, int commandSpeed, const std::string& entryEffect);

// The player's diagnostic lines (printf formats).
inline constexpr const char* kClipLoadLine = "load %s\r\n";
inline constexpr const char* kClipSpeedLine = "samples_per_second=%d\r\n";
inline constexpr const char* kClipFrameLine = "ap samples_per_second=%d stop=%d\r\n";
inline constexpr const char* kClipAllocLine = "zavi:could not allocate buffer\r\n";

struct ClipTiming {
    int rate = 0;        // header rate field
    int frameCount = 0;  // header frame count for a video of `length` frames plus the black frame
    int copies = 1;      // how often each frame (and the closing black frame) is written
};
// The converter's rule for a video of `fps` whole frames a second and `length` frames:
// fps >= 19: rate fps + 1, length + 1 frames, each once; else rate 30, 2 x length + 2 frames,
// each twice.
ClipTiming clipTimingForVideo(int fps, int length);

// Output size by size mode: 0 half the video size, 1 the same, 2 twice, 3 the given size. Any
// other mode is taken as 3. Each side is at least 1. False when the result is out of range.
bool clipOutputSize(int sizeMode, int videoWidth, int videoHeight, int givenWidth, int givenHeight,
                    int& width, int& height);

}  // namespace brightline::media
