// Text page files from arbitrary bytes, read whole: the header and the five document sections.
// A file that loads is repaired, laid out and edited without reading outside its data, and what
// it writes back reads back to the same bytes.
#include <cstdlib>

#include "media/byte_source.h"
#include "pageeditor/text_document.h"
#include "pageeditor/text_page_file.h"

namespace {

using namespace brightline::pageeditor;

class FixedFonts : public FontMeasurer {
  public:
    FontMetrics metrics(const LogFont& f) override {
        const int h = f.height < 0 ? -(f.height % 200) : f.height % 200;
        return FontMetrics{h * 3 / 4, h - h * 3 / 4, h / 2};
    }
    int advance(const LogFont&, const std::string& c) override { return c.size() == 2 ? 16 : 8; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brightline::media::MemoryByteSource source(data, size);
    TextPage page;
    if (decodeTextPageFile(source, page) != TextPageLoadResult::Loaded) return 0;

    const std::vector<uint8_t> written = encodeTextPageFile(page, {});
    brightline::media::MemoryByteSource again(written.data(), written.size());
    TextPage back;
    if (decodeTextPageFile(again, back) != TextPageLoadResult::Loaded) std::abort();
    if (encodeTextPageFile(back, {}) != written) std::abort();

    FixedFonts fonts;
    TextDocument doc(fonts);
    doc.setPage(page);
    if (!runsAreConsistent(doc.page())) std::abort();
    const TextLayout& layout = doc.layout();
    for (const LineBox& line : layout.lines)
        if (line.start < 0 || line.end > int32_t(doc.page().text.size()) || line.end < line.start)
            std::abort();
    const int32_t end = int32_t(doc.page().text.size());
    layout.positionAt(doc.page(), 0, 0);
    layout.caretAt(doc.page(), end / 2);
    doc.applyTextColor({end / 3, end / 2}, 0x123456);
    doc.deleteRange(end / 4, end / 3);
    doc.typeText("a\xD6\xD0\n");
    if (!runsAreConsistent(doc.page())) std::abort();
    return 0;
}
