#include "media/frame_encoder.h"

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/jpeg_picture.h"
#include "media/picture_scaler.h"
#include "media/png_picture.h"

namespace brightline::media {

bool encodeFrame(const Picture& frame, int width, int height, FrameFormat format, int jpegQuality,
                 std::vector<uint8_t>& out, std::string* error) {
    if (frame.empty() || width <= 0 || height <= 0 || !pictureSizeAllowed(width, height)) {
        if (error) *error = "err";
        return false;
    }
    const bool same = frame.width == width && frame.height == height;
    Picture scaled;
    if (!same) scaled = scalePicture(frame, width, height);
    const Picture& pic = same ? frame : scaled;
    switch (format) {
        case FrameFormat::Bmp:
            out = encodeBmp24(pic);
            return true;
        case FrameFormat::Jpeg:
            return encodeJpeg(pic, jpegQuality, out, error);
        case FrameFormat::Png:
            return encodePng(pic, out, error);
    }
    if (error) *error = "err";
    return false;
}

bool encodeFrameToFile(const std::string& path, const Picture& frame, int width, int height,
                       FrameFormat format, int jpegQuality, std::string* error) {
    if (path.empty()) {
        if (error) *error = "err";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!encodeFrame(frame, width, height, format, jpegQuality, bytes, error)) return false;
    return writeFileAtomically(path, bytes, error);
}

}  // namespace brightline::media
