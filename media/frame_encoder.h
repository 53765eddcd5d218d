#pragma once
// Encode frame: one frame stretched to a target size and encoded as BMP, JPEG or PNG, for clip
// frames and made pictures.
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"

namespace brightline::media {

// The numbers are the format codes callers pass around (1 BMP, 2 JPEG, 3 PNG).
enum class FrameFormat { Bmp = 1, Jpeg = 2, Png = 3 };

// Stretches `frame` to width x height (no stretching when the sizes match) and encodes it.
// `jpegQuality` (1..100) is used for JPEG only; callers read it with configuredJpegQuality().
// False with `error` "err" when there is no frame or the size is not positive, else with the
// encoder's message.
bool encodeFrame(const Picture& frame, int width, int height, FrameFormat format, int jpegQuality,
                 std::vector<uint8_t>& out, std::string* error = nullptr);

// encodeFrame, then writes the bytes to `path` (replacing it). False with `error` set when the
// frame cannot be encoded or the file cannot be written; nothing is written then.
bool encodeFrameToFile(const std::string& path, const Picture& frame, int width, int height,
                       FrameFormat format, int jpegQuality, std::string* error = nullptr);

}  // namespace brightline::media
