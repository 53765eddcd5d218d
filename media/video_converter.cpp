#include "media/video_converter.h"

#include "common/file_io.h"
#include "media/clip_rules.h"
#include "media/picture.h"
#include "media/video_source.h"
#include "media/zvi_writer.h"

namespace brightline::media {

VideoConversionResult convertVideoToZvi(const VideoConversionParams& params,
                                        const ConversionProgress& progress,
                                        const std::atomic<bool>* cancel) {
    VideoConversionResult result;
    if (params.format == FrameFormat::Bmp) {
        result.error = "clips hold JPEG or PNG frames";
        return result;
    }
    if (sameFile(params.source, params.destination)) {
        result.error = params.destination + " is the video itself; the clip needs another name";
        return result;
    }
    VideoSource video;
    if (!video.open(params.source, &result.error)) return result;
    const VideoInfo& info = video.info();
    int width = 0, height = 0;
    if (!clipOutputSize(params.sizeMode, info.width, info.height, params.width, params.height,
                        width, height)) {
        result.error = "clip size is out of range";
        return result;
    }
    const ClipTiming timing = clipTimingForVideo(info.wholeFramesPerSecond(), int(info.length));
    ZviHeader header;
    header.codecTag = params.format == FrameFormat::Png ? kZviCodecPng : kZviCodecJpeg;
    header.rate = timing.rate;
    header.frameCount = timing.frameCount;
    header.width = width;
    header.height = height;

    ZviWriter writer;
    if (!writer.open(params.destination, header, &result.error)) return result;

    const int total = int(std::max<int64_t>(info.length - params.firstFrame, 0));
    int decoded = 0;
    Picture frame;
    std::vector<uint8_t> encoded;
    std::string why;
    while (!(cancel && cancel->load())) {
        if (!video.nextFrame(frame, width, height, &why)) break;
        if (decoded++ < params.firstFrame) continue;
        if (params.greyMode) applyGreyMode(frame);
        if (!encodeFrame(frame, width, height, params.format, params.jpegQuality, encoded,
                         &result.error))
            return result;
        for (int c = 0; c < timing.copies; ++c) {
            if (!writer.appendFrame(encoded, &result.error)) return result;
        }
        ++result.framesConverted;
        if (progress) progress(result.framesConverted, std::max(total, result.framesConverted));
    }
    result.cancelled = cancel && cancel->load();
    if (result.framesConverted == 0 && !result.cancelled) {
        // Not one frame: an existing clip is kept rather than replaced by a black one.
        writer.abandon();
        result.error = params.source + ": no video frame could be converted" +
                       (why.empty() ? std::string() : " (" + why + ")");
        return result;
    }
    // The closing black frame, at the best quality.
    if (!encodeFrame(Picture(width, height), width, height, params.format, 100, encoded,
                     &result.error))
        return result;
    for (int c = 0; c < timing.copies; ++c) {
        if (!writer.appendFrame(encoded, &result.error)) return result;
    }
    result.recordsWritten = writer.framesWritten();
    header.frameCount = result.recordsWritten;
    if (!writer.finish(header.frameCount, &result.error)) return result;
    result.header = header;
    result.ok = true;
    return result;
}

VideoConversion::~VideoConversion() {
    cancel_.store(true);
    if (worker_.joinable()) worker_.join();
}

bool VideoConversion::start(VideoConversionParams params, ConversionProgress progress) {
    if (worker_.joinable()) return false;
    cancel_.store(false);
    done_.store(false);
    worker_ = std::thread([this, params = std::move(params), progress = std::move(progress)] {
        result_ = convertVideoToZvi(params, progress, &cancel_);
        cancel_.store(false);
        done_.store(true);
    });
    return true;
}

VideoConversionResult VideoConversion::wait() {
    if (worker_.joinable()) worker_.join();
    return result_;
}

}  // namespace brightline::media
