#include "engine/content/ztx_page_renderer.h"

#include <cctype>
#include <cstdlib>

#include "engine/fonts/colour_token.h"

namespace brightline::content {

ZtxPageRenderer::ZtxPageRenderer(PageCanvas& canvas, const FontTable& fonts)
    : canvas_(canvas), fonts_(fonts) {}

void ZtxPageRenderer::render(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        if (c == '<') {
            if (i + 1 < text.size() && text[i + 1] == '<') {
                const GlyphView glyph = fonts_.glyph(font_, '<');
                draw(glyph, glyph.advance);
                i += 2;
            } else {
                handleTag(text, i);
            }
        } else if (c == ' ') {
            draw(GlyphView(), fonts_.width(font_));
            ++i;
        } else if (c == '\n') {
            penX_ = 0;
            penY_ += fonts_.height(font_);
            ++i;
        } else if (c == '\r') {
            ++i;
        } else if (pairing_ && c >= 0x80 && i + 1 < text.size() &&
                   static_cast<uint8_t>(text[i + 1]) >= 0x80) {
            draw(fonts_.doubleByteGlyph(c, static_cast<uint8_t>(text[i + 1])), fonts_.width(0));
            i += 2;
        } else {
            const GlyphView glyph = fonts_.glyph(font_, c);
            draw(glyph, glyph.advance);
            ++i;
        }
    }
}

void ZtxPageRenderer::handleTag(const std::string& text, size_t& i) {
    ++i;  // the "<"
    std::string word;
    while (i < text.size() && text[i] != '#' && text[i] != '>') {
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        ++i;
    }
    std::string argument;
    if (i < text.size() && text[i] == '#') {
        while (i < text.size() && text[i] != '>') argument += text[i++];
    }
    if (i < text.size()) ++i;  // the closing ">"

    if (word == "C") {
        colour_ = parseColourToken(argument);
    } else if (word == "F") {
        long n = argument.empty() ? 0 : std::strtol(argument.c_str() + 1, nullptr, 10);
        font_ = (n < -1 || n >= kLastFont) ? kDefaultFont : static_cast<int>(n + 1);
    } else if (word == "CHARSET") {
        long n = argument.empty() ? 0 : std::strtol(argument.c_str() + 1, nullptr, 10);
        pairing_ = n == 0;
    }
}

void ZtxPageRenderer::draw(const GlyphView& glyph, int advance) {
    if (!glyph.blank() && penY_ + glyph.height <= canvas_.height())
        canvas_.drawGlyph(glyph, penX_, penY_, colour_, false);
    penX_ += advance;
    if (advance > 0) canvas_.reach(penX_ - 1);
}

}  // namespace brightline::content
