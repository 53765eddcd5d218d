// ZVI clips from arbitrary bytes: every record is read or skipped without reading past the data,
// the reader always moves forward, and frames that decode have the size they say.
#include <cstdlib>

#include "media/zvi_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline::media;
    ZviReader reader;
    if (!reader.open(std::make_unique<MemoryByteSource>(data, size))) return 0;
    uint64_t last = reader.position();
    for (int i = 0; i < 10000; ++i) {
        Picture frame;
        const ClipFrameStatus s = reader.readFrame(frame);
        if (s == ClipFrameStatus::End) break;
        if (reader.position() <= last || reader.position() > size) std::abort();
        last = reader.position();
        if (s == ClipFrameStatus::Decoded &&
            frame.pixels.size() != size_t(frame.width) * size_t(frame.height))
            std::abort();
    }
    return 0;
}
