#pragma once
// JPEG pictures and clip frames through libjpeg (the 6b API of libjpeg-turbo), from and to
// memory. Thread-safe: every call has its own codec state.
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"

namespace brightline::media {

// Decodes a JPEG stream. Grey-scale pictures come out as RGB (each pixel grey). Data after the
// end-of-image marker is ignored. A corrupt or truncated stream, a colour space other than grey,
// YCbCr or RGB, or a picture above the size bound gives false with `error` set; the decoder's
// error exit returns here and everything it allocated is freed.
bool decodeJpeg(const uint8_t* data, size_t size, Picture& out, std::string* error = nullptr);
inline bool decodeJpeg(const std::vector<uint8_t>& data, Picture& out,
                       std::string* error = nullptr) {
    return decodeJpeg(data.data(), data.size(), out, error);
}

// Decodes at the smallest of libjpeg's scale factors (1/8 to 8/8) that leaves the picture at
// least minWidth x minHeight (its own size when it is smaller), with the fast inverse DCT and
// plain upsampling: a camera photo becomes a thumbnail's source in a fraction of the full
// decode's time. 0 for both decodes at full size like decodeJpeg(). `fullWidth` and
// `fullHeight` (may be null) receive the picture's own size once the header was read.
bool decodeJpegAtLeast(const uint8_t* data, size_t size, int minWidth, int minHeight, Picture& out,
                       int* fullWidth = nullptr, int* fullHeight = nullptr,
                       std::string* error = nullptr);

// The region loader's rule: scanline n (from 1) goes to row n - 1 while that row is inside the
// region, its first min(picture width, region width) pixels; the page is black elsewhere.
// False (page untouched) when the stream cannot be decoded.
bool placeJpeg(const std::vector<uint8_t>& data, int regionWidth, int regionHeight, Picture& page,
               std::string* error = nullptr);

// Encodes the picture as a baseline YCbCr JPEG of quality 1..100 (values outside are clamped).
// False with `error` set when the picture is empty or the encoder fails.
bool encodeJpeg(const Picture& picture, int quality, std::vector<uint8_t>& out,
                std::string* error = nullptr);

}  // namespace brightline::media
