// ZTX text pages from arbitrary bytes: the renderer never draws outside the region's pages,
// never makes more than 1,000 pages, and always ends. The first byte picks the region size.
#include "engine/content/ztx_page_renderer.h"
#include "fuzz/text_page_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    return fuzzing::fuzzTextPage(
        data, size, [](content::PageCanvas& canvas, const std::string& text) {
            content::ZtxPageRenderer(canvas, fuzzing::fonts()).render(text);
        });
}
