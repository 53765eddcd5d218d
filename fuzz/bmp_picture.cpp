// Bitmap files from arbitrary bytes: the region loader's 24-bit rule and the general decoder
// never read past the data, and what they return has the size they say.
#include <cstdlib>

#include "media/bmp_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline::media;
    const std::vector<uint8_t> file(data, data + size);
    Picture page;
    if (placeBmp24(file, 64, 32, page) &&
        (page.width != 64 || page.height != 32 || page.pixels.size() != 64 * 32))
        std::abort();
    Picture pic;
    if (decodeBmp(data, size, pic)) {
        if (pic.pixels.size() != size_t(pic.width) * size_t(pic.height)) std::abort();
        // A decoded picture writes back as a 24-bit file the region loader reads the same.
        Picture back;
        if (!placeBmp24(encodeBmp24(pic), pic.width, pic.height, back) || back.pixels != pic.pixels)
            std::abort();
    }
    return 0;
}
