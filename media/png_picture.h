#pragma once
// PNG pictures and clip frames through libpng, from and to memory. Thread-safe: every call has
// its own codec state.
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"

namespace brightline::media {

// Decodes a PNG stream with the sign's input transformations: 16-bit samples stripped to 8,
// palettes expanded, grey depths below 8 expanded, a transparency chunk expanded to alpha, grey
// and grey-alpha turned into RGB, a background chunk applied (the file's background and gamma),
// a gamma chunk applied for a screen gamma of 2.2. With alpha the pixel's top byte holds it.
// A corrupt or truncated stream (libpng's error jumps back here, everything freed) or a picture
// above the size bound gives false with `error` set.
bool decodePng(const uint8_t* data, size_t size, Picture& out, std::string* error = nullptr);
inline bool decodePng(const std::vector<uint8_t>& data, Picture& out,
                      std::string* error = nullptr) {
    return decodePng(data.data(), data.size(), out, error);
}

// Encodes the picture as an 8-bit RGB PNG (the top byte is not written).
bool encodePng(const Picture& picture, std::vector<uint8_t>& out, std::string* error = nullptr);

}  // namespace brightline::media
