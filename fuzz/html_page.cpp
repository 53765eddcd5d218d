// HTML text pages from arbitrary bytes: the renderer never draws outside the region's pages,
// never makes more than 1,000 pages, and always ends. The first byte picks the region size.
#include "engine/content/cjk_face.h"
#include "engine/content/html_page_renderer.h"
#include "engine/diagnostic_output.h"
#include "fuzz/text_page_fuzz.h"

namespace {

class NullDiagnostics : public brightline::engine::DiagnosticOutput {
  public:
    void write(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    static content::CjkFace face;
    return fuzzing::fuzzTextPage(
        data, size, [](content::PageCanvas& canvas, const std::string& text) {
            NullDiagnostics diag;
            content::HtmlPageRenderer(canvas, fuzzing::fonts(), &face, diag).render(text);
        });
}
