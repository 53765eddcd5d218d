// ZFON font files from arbitrary bytes: reading never fails hard, what was read writes back to
// the same bytes, and every glyph of every font can be looked up within the font's data.
#include <cstdlib>
#include <cstring>

#include "engine/fonts/font_table.h"
#include "engine/fonts/zfon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    ZfonContents c = readZfon(data, size, kMaxFonts);
    if (c.fonts.size() > static_cast<size_t>(kMaxFonts)) std::abort();
    std::vector<uint8_t> again = writeZfon(c.fonts);
    // The fonts read are a prefix of the input (apart from the count word).
    if (!c.fonts.empty() &&
        (again.size() > size || std::memcmp(again.data() + 8, data + 8, again.size() - 8) != 0))
        std::abort();
    FontTable table;
    for (BitmapFont& f : c.fonts) table.add(std::move(f));
    unsigned sum = 0;
    for (int f = 0; f < table.count(); ++f)
        for (int ch = 0; ch < 256; ++ch) {
            GlyphView g = table.glyph(f, static_cast<uint8_t>(ch));
            // The glyph's first and last pixel lie inside the font's data (the sanitizer checks
            // the reads); every pixel of 256 glyphs of up to 255 x 255 would cost a second.
            if (g.width > 0 && g.height > 0) sum += g.ink(0, 0) + g.ink(g.width - 1, g.height - 1);
        }
    for (int a = 0xA0; a < 0x100; a += 7)
        for (int b = 0xA0; b < 0x100; b += 5)
            sum += table.doubleByteGlyph(uint8_t(a), uint8_t(b)).advance;
    return static_cast<int>(sum & 0);
}
