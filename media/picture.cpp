#include "media/picture.h"

#include <algorithm>

namespace brightline::media {

Picture::Picture(int w, int h) : width(std::max(w, 0)), height(std::max(h, 0)) {
    pixels.assign(size_t(width) * size_t(height), 0);
}

bool pictureSizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <=
               kMaxPicturePixels;
}

Picture placeInRegion(const Picture& picture, int regionWidth, int regionHeight) {
    Picture page(regionWidth, regionHeight);
    const int cols = std::min(picture.width, page.width);
    const int rows = std::min(picture.height, page.height);
    for (int y = 0; y < rows; ++y) {
        const uint32_t* from = picture.pixels.data() + size_t(y) * size_t(picture.width);
        std::copy(from, from + cols, page.pixels.data() + size_t(y) * size_t(page.width));
    }
    return page;
}

void applyGreyMode(Picture& picture) {
    for (uint32_t& p : picture.pixels) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        const int v = (std::max({r, g, b}) + std::min({r, g, b})) / 2;
        p = (p & 0xFF000000u) | uint32_t(v) << 16 | uint32_t(v) << 8 | uint32_t(v);
    }
}

}  // namespace brightline::media
