#include "media/swf/flash_transform.h"

#include "common/file_io.h"
#include "media/clip_rules.h"
#include "media/frame_encoder.h"
#include "media/swf/swf_renderer.h"
#include "media/zvi_writer.h"

namespace brightline::swf {
namespace {

RenderOptions transformOptions() {
    RenderOptions o;
    o.movieBackground = false;
    o.background = Rgba{0, 0, 0, 255};
    return o;
}

// One line per tag kind that was met but not drawn, then what the movie reported.
std::vector<std::string> movieDiagnostics(const Movie& movie) {
    std::vector<std::string> lines;
    for (const auto& [code, count] : movie.tagCounts) {
        const TagHandling h = tagHandling(code);
        if (h != TagHandling::NotDrawn && h != TagHandling::Unknown) continue;
        lines.push_back(tagName(code) + " is not drawn (" + std::to_string(count) +
                        (count == 1 ? " tag)" : " tags)"));
    }
    for (const std::string& f : movie.featuresNotDrawn) lines.push_back(f + " are not drawn");
    for (const std::string& p : movie.problems) lines.push_back(p);
    const int inFile = int(movie.frames.size());
    if (movie.headerFrameCount > inFile)
        lines.push_back("the movie says " + std::to_string(movie.headerFrameCount) + " frames, " +
                        std::to_string(inFile) + " are in the file");
    return lines;
}

}  // namespace

FlashConversionResult convertFlashToZvi(const FlashConversionParams& params,
                                        const media::ConversionProgress& progress,
                                        const std::atomic<bool>* cancel) {
    FlashConversionResult result;
    if (sameFile(params.source, params.destination)) {
        result.error = params.destination + " is the movie itself; the clip needs another name";
        return result;
    }
    Movie movie;
    if (!loadMovie(params.source, movie, result.error)) return result;
    result.diagnostics = movieDiagnostics(movie);
    const int baseWidth = params.width > 0 ? params.width : movie.widthPixels();
    const int baseHeight = params.height > 0 ? params.height : movie.heightPixels();
    int width = 0, height = 0;
    if (!media::clipOutputSize(params.sizeMode, baseWidth, baseHeight, baseWidth, baseHeight, width,
                               height) ||
        !media::pictureSizeAllowed(width, height)) {
        result.error = "clip size is out of range";
        return result;
    }
    Player player(movie);
    result.movieFrames = player.frameCount();
    if (result.movieFrames <= 0) {
        result.error = params.source + ": the movie has no frame";
        return result;
    }

    media::ZviHeader header;
    header.codecTag = media::kZviCodecPng;
    header.rate = kFlashClipRate;
    header.frameCount = result.movieFrames;
    header.width = width;
    header.height = height;
    media::ZviWriter writer;
    if (!writer.open(params.destination, header, &result.error)) return result;

    const RenderOptions options = transformOptions();
    media::Picture frame;
    std::vector<uint8_t> encoded;
    player.gotoFrame(0);
    for (int i = 0; i < result.movieFrames; ++i) {
        if (cancel && cancel->load()) break;
        if (i > 0) player.nextFrame();
        if (!renderFrame(player, width, height, options, frame, &result.error)) return result;
        if (params.greyMode) media::applyGreyMode(frame);
        if (!media::encodeFrame(frame, width, height, media::FrameFormat::Png, 100, encoded,
                                &result.error) ||
            !writer.appendFrame(encoded, &result.error))
            return result;
        ++result.framesCaptured;
        if (progress) progress(result.framesCaptured, result.movieFrames);
    }
    result.cancelled = cancel && cancel->load();
    for (const std::string& d : player.diagnostics()) result.diagnostics.push_back(d);
    header.frameCount = writer.framesWritten();
    if (!writer.finish(header.frameCount, &result.error)) return result;
    result.header = header;
    result.ok = true;
    return result;
}

bool renderFlashFirstFrame(const std::string& path, int width, int height, media::Picture& out,
                           std::string* error) {
    Movie movie;
    std::string why;
    if (!loadMovie(path, movie, why)) {
        if (error) *error = why;
        return false;
    }
    Player player(movie);
    if (player.frameCount() <= 0) {
        if (error) *error = path + ": the movie has no frame";
        return false;
    }
    player.gotoFrame(0);
    return renderFrame(player, width, height, transformOptions(), out, error);
}

}  // namespace brightline::swf
