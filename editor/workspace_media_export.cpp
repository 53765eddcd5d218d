#include "editor/workspace_media_export.h"

#include <cstdio>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/profile.h"
#include "media/bmp_picture.h"
#include "media/frame_encoder.h"
#include "media/jpeg_picture.h"
#include "media/jpeg_quality.h"
#include "media/picture_scaler.h"
#include "media/png_picture.h"
#include "media/swf/flash_transform.h"
#include "media/video_converter.h"
#include "media/zrt_converter.h"

namespace brightline {
namespace {

// Pictures are recognised by their first bytes, as the picture library of the original tools
// did, so a PNG saved as ".jpg" still exports. A JPEG is decoded at the smallest of libjpeg's
// scales that still covers minWidth x minHeight (a camera photo for a sign area needs a fraction
// of its pixels); the scaler then makes the exact size.
bool decodeAnyPicture(const std::vector<uint8_t>& bytes, int minWidth, int minHeight,
                      media::Picture& out, std::string& error) {
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' &&
        bytes[3] == 'G')
        return media::decodePng(bytes, out, &error);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return media::decodeJpegAtLeast(bytes.data(), bytes.size(), minWidth, minHeight, out,
                                        nullptr, nullptr, &error);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return media::decodeBmp(bytes, out, &error);
    error = "not a BMP, JPEG or PNG picture";
    return false;
}

}  // namespace

WorkspaceMediaExport::WorkspaceMediaExport(bool grey, int jpegQuality)
    : grey_(grey), jpegQuality_(jpegQuality) {}

WorkspaceMediaExport WorkspaceMediaExport::fromSettings() {
    return WorkspaceMediaExport(greyMode(appProfile()), media::configuredJpegQuality());
}

bool WorkspaceMediaExport::exportPicture(const std::string& source, const std::string& target,
                                         int width, int height, std::string& error) {
    if (width < 1 || height < 1) {
        error = "the area is empty";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(source, bytes, &error)) return false;
    media::Picture picture;
    if (!decodeAnyPicture(bytes, width, height, picture, error)) {
        error = source + ": " + error;
        return false;
    }
    media::Picture scaled = media::scalePicture(picture, width, height);
    if (grey_) media::applyGreyMode(scaled);
    media::FrameFormat format =
        extensionUpper(target) == ".PNG" ? media::FrameFormat::Png : media::FrameFormat::Jpeg;
    return media::encodeFrameToFile(target, scaled, width, height, format, jpegQuality_, &error);
}

int WorkspaceMediaExport::convertVideo(const std::string& source, const std::string& target,
                                       int width, int height, const std::atomic<bool>& cancel,
                                       const ConversionProgress& progress, std::string& error) {
    media::VideoConversionParams params;
    params.source = source;
    params.destination = target;
    params.width = width;
    params.height = height;
    params.format = media::FrameFormat::Jpeg;
    params.firstFrame = 0;
    params.sizeMode = 3;
    params.greyMode = grey_;
    params.jpegQuality = jpegQuality_;
    media::VideoConversionResult result = media::convertVideoToZvi(params, progress, &cancel);
    error = result.error;
    if (!result.ok) return result.framesConverted > 0 ? result.framesConverted : -1;
    return result.framesConverted;
}

int WorkspaceMediaExport::convertFlash(const std::string& source, const std::string& target,
                                       int width, int height, const std::atomic<bool>& cancel,
                                       const ConversionProgress& progress, std::string& error) {
    swf::FlashConversionParams params;
    params.source = source;
    params.destination = target;
    params.width = width;
    params.height = height;
    params.sizeMode = 3;
    params.greyMode = grey_;
    const swf::FlashConversionResult result = swf::convertFlashToZvi(params, progress, &cancel);
    for (const std::string& line : result.diagnostics)
        std::fprintf(stderr, "%s: %s\n", source.c_str(), line.c_str());
    error = result.error;
    if (!result.ok) return result.framesCaptured > 0 ? result.framesCaptured : -1;
    return result.framesCaptured;
}

int WorkspaceMediaExport::convertTextPage(const std::string& source, const std::string& target,
                                          std::string& error) {
    const media::ZrtConversionResult result = media::convertZrtToZvi(source, target);
    error = result.frames == 0 && result.error.empty() ? "not a text page" : result.error;
    return result.frames;
}

}  // namespace brightline
