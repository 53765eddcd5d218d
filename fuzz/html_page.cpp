// HTML text pages from arbitrary bytes: the renderer never draws outside the region's pages,
// never makes more than 1,000 pages, and always ends. The first byte picks the region size.
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/content/cjk_face.h"
#include "engine/content/html_page_renderer.h"
#include "engine/content/page_canvas.h"
#include "engine/diagnostic_output.h"

namespace {

using namespace brightline;

BitmapFont makeFont(int width, int height, bool proportional, int count) {
    FontHeader h;
    h.proportional = proportional ? 1 : 0;
    h.width = static_cast<uint8_t>(width);
    h.height = static_cast<uint8_t>(height);
    h.firstCode = proportional ? 32 : 0;
    h.count = static_cast<uint16_t>(count);
    std::vector<uint8_t> glyphs(h.blockSize());
    for (size_t i = 0; i < glyphs.size(); ++i) glyphs[i] = static_cast<uint8_t>(i * 37 + 11);
    return BitmapFont(h, std::move(glyphs));
}

// A GB2312 font 0 and single-byte fonts of several cells, one of them proportional.
const FontTable& fonts() {
    static const FontTable table = [] {
        FontTable t;
        t.add(makeFont(16, 16, false, 8178));
        const int cells[][2] = {{4, 7}, {5, 7}, {6, 10}, {8, 16}, {12, 24}, {16, 32}, {24, 48}};
        for (const auto& c : cells) t.add(makeFont(c[0], c[1], false, 256));
        t.add(makeFont(9, 15, true, 96));
        return t;
    }();
    return table;
}

class NullDiagnostics : public engine::DiagnosticOutput {
  public:
    void write(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    static content::CjkFace face;
    const int width = 1 + (data[0] & 0x3F);
    const int height = 1 + (data[0] >> 6) * 16;
    std::vector<uint32_t> page0(size_t(width) * height);
    engine::PageList pages;
    pages.reset(page0.data(), page0.size());
    content::PageCanvas canvas(pages, width, height);
    NullDiagnostics diag;
    content::HtmlPageRenderer(canvas, fonts(), &face, diag)
        .render(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    if (canvas.pageCount() < 1 || canvas.pageCount() > engine::PageList::kMaxPages) std::abort();
    if (pages.lastPageNumber() + 1 != canvas.pageCount()) std::abort();
    return 0;
}
