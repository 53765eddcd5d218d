// DSN pictures from arbitrary bytes: decoding stops at the data, and a decoded picture encodes
// back to one that decodes the same.
#include <cstdlib>

#include "media/dsn_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline::media;
    Picture pic;
    if (!decodeDsn(data, size, pic)) return 0;
    if (pic.pixels.size() != size_t(pic.width) * size_t(pic.height)) std::abort();
    if (pic.pixels.size() > (size_t(1) << 16)) return 0;  // large pictures only cost time
    const std::vector<uint8_t> again = encodeDsn(pic);
    Picture back;
    // The writer's 16-bit data length holds pictures up to 65,535 bytes of runs.
    if (again.size() - 6 <= 0xFFFF && (!decodeDsn(again, back) || back.pixels != pic.pixels))
        std::abort();
    return 0;
}
