#pragma once
// A decoded picture and the rules that place a picture into a region's page.
//
// Pixels are 32-bit words 0x00RRGGBB, rows top first, width words a row. A PNG with alpha keeps
// the alpha in the top byte (it is not used for drawing). A page is a region-sized picture.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brightline::media {

// Decoders refuse pictures with more pixels than this (a width and height read from a file are
// checked before anything is allocated).
inline constexpr size_t kMaxPicturePixels = size_t(64) << 20;
// Each side of a picture is at most this many pixels.
inline constexpr int kMaxPictureSide = 65535;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height

    Picture() = default;
    // A black picture of the given size (sizes below 0 are taken as 0).
    Picture(int w, int h);

    bool empty() const { return width <= 0 || height <= 0; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// True when width x height is a picture the decoders accept.
bool pictureSizeAllowed(long long width, long long height);

// The page a picture leaves in a region of regionWidth x regionHeight pixels: the page is black,
// the picture is copied to its top-left corner, cut at the region's right and lower edges; a
// smaller picture leaves the rest black. Used for JPEG, PNG, DSN and clip frames.
Picture placeInRegion(const Picture& picture, int regionWidth, int regionHeight);

// The sign's grey mode: each pixel's red, green and blue become (largest + smallest) / 2 of the
// three, truncated. The top byte is kept.
void applyGreyMode(Picture& picture);

}  // namespace brightline::media
