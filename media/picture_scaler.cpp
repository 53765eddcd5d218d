#include "media/picture_scaler.h"

#include <algorithm>

extern "C" {
#include <libswscale/swscale.h>
}

namespace brightline::media {

Picture scalePicture(const Picture& picture, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (picture.empty()) return Picture(width, height);
    if (picture.width == width && picture.height == height) {
        Picture copy = picture;
        for (uint32_t& p : copy.pixels) p &= 0x00FFFFFF;
        return copy;
    }
    const int flags = (width < picture.width || height < picture.height) ? SWS_AREA : SWS_BICUBIC;
    SwsContext* sws = sws_getContext(picture.width, picture.height, AV_PIX_FMT_BGR0, width, height,
                                     AV_PIX_FMT_BGR0, flags, nullptr, nullptr, nullptr);
    Picture out(width, height);
    if (!sws) return out;
    const uint8_t* src[4] = {reinterpret_cast<const uint8_t*>(picture.pixels.data()), nullptr,
                             nullptr, nullptr};
    const int srcStride[4] = {picture.width * 4, 0, 0, 0};
    uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(out.pixels.data()), nullptr, nullptr, nullptr};
    const int dstStride[4] = {width * 4, 0, 0, 0};
    sws_scale(sws, src, srcStride, 0, picture.height, dst, dstStride);
    sws_freeContext(sws);
    for (uint32_t& p : out.pixels) p &= 0x00FFFFFF;
    return out;
}

}  // namespace brightline::media
