#include "media/clip_rules.h"

#include <algorithm>

#include "media/picture.h"

namespace brightline::media {

int clipSpeedForRate(int rate) {
    if (rate > 20) return 0;
    return rate < 13 ? 2 : 1;
}

int effectiveClipSpeed(int commandSpeed, int clipSpeed) {
    return commandSpeed > 0 ? commandSpeed : clipSpeed;
}

int ticksPerClipFrame(int speed) {
    return std::max(speed, 0) + 1;
}

bool playsAsStrip(ZviCodec codec, const std::string& entryEffect) {
    return codec == ZviCodec::Png && (entryEffect == "DFR_LF" || entryEffect == "DFR_RT");
}

int stripFrameCount(int frameCount) {
    return std::clamp(frameCount, 0, kMaxStripFrames);
}

ClipPlan planClip(const ZviHeader& header, int commandSpeed, const std::string& entryEffect) {
    ClipPlan plan;
    plan.strip = playsAsStrip(header.codec(), entryEffect);
    plan.framesToRead =
        plan.strip ? stripFrameCount(header.frameCount) : std::max(header.frameCount, 0);
    plan.speed = effectiveClipSpeed(commandSpeed, clipSpeedForRate(header.rate));
    return plan;
}

ClipTiming clipTimingForVideo(int fps, int length) {
    length = std::max(length, 0);
    if (fps >= kMinSingleFrameFps) return {fps + 1, length + 1, 1};
    return {kDoubledClipRate, 2 * length + 2, 2};
}

bool clipOutputSize(int sizeMode, int videoWidth, int videoHeight, int givenWidth, int givenHeight,
                    int& width, int& height) {
    long long w, h;
    switch (sizeMode) {
        case 0:
            w = videoWidth / 2;
            h = videoHeight / 2;
            break;
        case 1:
            w = videoWidth;
            h = videoHeight;
            break;
        case 2:
            w = 2LL * videoWidth;
            h = 2LL * videoHeight;
            break;
        default:
            w = givenWidth;
            h = givenHeight;
            break;
    }
    w = std::max(w, 1LL);
    h = std::max(h, 1LL);
    if (!pictureSizeAllowed(w, h)) return false;
    width = int(w);
    height = int(h);
    return true;
}

}  // namespace brightline::media
