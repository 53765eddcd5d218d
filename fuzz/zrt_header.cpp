// Text page files from arbitrary bytes: the header check and the page loop never read past the
// data, and each page picture they hand out lies inside it.
#include <cstdlib>

#include "media/bmp_picture.h"
#include "media/zrt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline::media;
    ZrtPageReader reader;
    if (reader.open(std::make_unique<MemoryByteSource>(data, size)) != ZrtHeaderStatus::Ok)
        return 0;
    std::vector<uint8_t> page;
    size_t total = 0;
    while (reader.nextPage(page)) {
        total += page.size() + 4;
        if (total > size) std::abort();
        Picture pic;
        decodeBmp(page, pic);
    }
    return 0;
}
