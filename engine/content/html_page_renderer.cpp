#include "engine/content/html_page_renderer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "engine/content/cjk_face.h"
#include "engine/diagnostic_output.h"
#include "engine/fonts/colour_token.h"

namespace brightline::content {
namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Skips to just past the next ">" (or to the end).
void skipPastTagEnd(const std::string& text, size_t& i) {
    while (i < text.size() && text[i] != '>') ++i;
    if (i < text.size()) ++i;
}

// Reads up to one of `stops` (CR and LF are dropped); the stop is left at text[i].
std::string readUntil(const std::string& text, size_t& i, const char* stops) {
    std::string out;
    while (i < text.size() && !std::strchr(stops, text[i])) {
        if (!isLineBreak(text[i])) out += text[i];
        ++i;
    }
    return out;
}

}  // namespace

int htmlSizePixels(long size) {
    static const int kTable[] = {8, 10, 12, 14, 18, 24, 36, 42, 48, 56, 64};
    return size >= 1 && size <= 11 ? kTable[size - 1] : 32;
}

HtmlPageRenderer::HtmlPageRenderer(PageCanvas& canvas, const FontTable& fonts, CjkFace* face,
                                   engine::DiagnosticOutput& diag)
    : canvas_(canvas), fonts_(fonts), face_(face), diag_(diag) {}

void HtmlPageRenderer::render(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '<') {
            handleTag(text, i);
            continue;
        }
        if (!inBody_) {
            ++i;
            continue;
        }
        if (text.compare(i, 6, "&nbsp;") == 0) {
            advance(size_);
            i += 6;
        } else if (isLineBreak(c)) {
            ++i;
        } else if (c == ' ') {
            advance(size_ / 3);
            ++i;
        } else if (static_cast<uint8_t>(c) >= 0x80) {
            if (lineStart_ < 0) lineStart_ = penX_;
            if (i + 1 < text.size())
                drawScalable(
                    gb2312ToUnicode(static_cast<uint8_t>(c), static_cast<uint8_t>(text[i + 1])));
            i += 2;
        } else {
            drawByte(static_cast<uint8_t>(c));
            ++i;
        }
    }
}

void HtmlPageRenderer::handleTag(const std::string& text, size_t& i) {
    ++i;  // the "<"
    const std::string word = upper(readUntil(text, i, " >"));
    const bool endedByClose = i < text.size() && text[i] == '>';
    if (i < text.size()) ++i;  // the character that ended the word
    auto restOfTag = [&] {
        if (!endedByClose) skipPastTagEnd(text, i);
    };

    if (word == "BODY") {
        inBody_ = true;
    } else if (word == "/BODY") {
        inBody_ = false;
    } else if (word == "H1") {
        font_ = 2;
        previousColour_ = colour_;
        colour_ = 0xFFFFFF;
        size_ = 24;
    } else if (word == "/H1") {
        colour_ = previousColour_;
    } else if (word == "H2") {
        font_ = 1;
    } else if (word == "H3") {
        font_ = 2;
    } else if (word == "/H2" || word == "/H3") {
        font_ = 0;
    } else if (word == "B" || word == "/B" || word == "TT" || word == "/TT" || word == "DL" ||
               word == "/DL" || word == "DT" || word == "/DT" || word == "DD" || word == "/DD") {
        // accepted, nothing changes
    } else if (word == "P") {
        align_ = Align::Left;
        lineStart_ = -1;
        if (!endedByClose) {
            std::string rest;
            while (i < text.size() && text[i] != '>') {
                if (text[i] != ' ' && !isLineBreak(text[i])) rest += text[i];
                ++i;
            }
            if (i < text.size()) ++i;
            rest = lower(rest);
            if (rest == "align=center")
                align_ = Align::Centre;
            else if (rest == "align=right")
                align_ = Align::Right;
        }
        return;
    } else if (word == "/P") {
        finishLine();
        lineTop_ += lineHeight_ + 1;
        penX_ = 0;
        lineHeight_ = 4;
    } else if (word == "FONT") {
        if (!endedByClose) {
            fontTag(text, i);
        } else {
            levels_.push_back(Level());
            if (int(levels_.size()) > kMaxFontLevels) levels_.pop_back();
        }
        return;
    } else if (word == "/FONT") {
        closeFont();
    } else {
        return;  // the rest of an unknown tag is text
    }
    restOfTag();
}

void HtmlPageRenderer::fontTag(const std::string& text, size_t& i) {
    const bool pushed = int(levels_.size()) < kMaxFontLevels;
    Level level;
    for (int n = 0; n < 3 && i < text.size() && text[i] != '>'; ++n) {
        while (i < text.size() && (text[i] == ' ' || isLineBreak(text[i]))) ++i;
        const std::string name = lower(readUntil(text, i, "=> "));
        std::string value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            value = readUntil(text, i, " >");
        }
        if (name == "color") {
            if (!level.colour) level.oldColour = colour_;
            level.colour = true;
            colour_ = parseColourToken(value);
            engine::diagf(diag_, "font_color=%x \n", colour_);
        } else if (name == "size") {
            if (!level.size) {
                level.oldSize = size_;
                level.oldFont = font_;
            }
            level.size = true;
            const int old = size_;
            size_ = htmlSizePixels(std::strtol(value.c_str(), nullptr, 10));
            font_ = size_ + 1 < fonts_.count() ? size_ + 1 : 3;
            engine::diagf(diag_, "font_size_old=%d,font_size=%d font_index=%d\n", old, size_,
                          font_);
        } else if (name == "face") {
            level.face = true;
        }
    }
    skipPastTagEnd(text, i);
    if (pushed) levels_.push_back(level);
}

void HtmlPageRenderer::closeFont() {
    if (levels_.empty()) return;
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.colour) colour_ = level.oldColour;
    if (level.size) {
        size_ = level.oldSize;
        font_ = level.oldFont;
    }
}

void HtmlPageRenderer::advance(long pixels) {
    penX_ += pixels;
    if (pixels > 0) canvas_.reach(penX_ - 1);
}

void HtmlPageRenderer::drawByte(uint8_t c) {
    if (lineStart_ < 0) lineStart_ = penX_;
    if (font_ == fonts_.count()) {
        drawScalable(c);
        return;
    }
    const GlyphView glyph = fonts_.glyph(font_, c);
    const long top = lineTop_ + 2;
    // A glyph that does not fit above the region's bottom edge is not drawn.
    if (top + glyph.height <= canvas_.height()) canvas_.drawGlyph(glyph, penX_, top, colour_, true);
    lineHeight_ = std::max<long>(lineHeight_, fonts_.height(font_) + 2);
    advance(glyph.advance);
}

void HtmlPageRenderer::drawScalable(uint32_t codePoint) {
    CjkGlyph glyph;
    const int size = std::clamp(size_, 1, CjkGlyph::kMaskSize);
    lineHeight_ = std::max<long>(lineHeight_, size + 2);
    if (codePoint == 0 || !face_ || !face_->render(codePoint, size, glyph)) {
        advance(size);  // nothing to draw: leave the room a character takes
        return;
    }
    const long top = lineTop_ + 2;
    if (top + glyph.height <= canvas_.height()) {
        for (int row = 0; row < glyph.height; ++row)
            for (int col = 0; col < glyph.width; ++col)
                if (glyph.inkAt(col, row))
                    canvas_.plot(penX_ + col, top + (glyph.height - 1 - row), colour_);
    }
    advance(glyph.advance);
}

void HtmlPageRenderer::finishLine() {
    canvas_.flipRows(lineTop_, lineHeight_);
    const long width = lineStart_ < 0 ? 0 : penX_ - lineStart_;
    if (lineStart_ >= 0 && width > 0 && width <= canvas_.width()) {
        long to = 0;
        if (align_ == Align::Centre) to = (canvas_.width() - width) / 2;
        if (align_ == Align::Right) to = canvas_.width() - width;
        canvas_.moveSpan(lineStart_, width, to, lineTop_, lineHeight_);
    }
    engine::diagf(diag_, "z_line flag=%d,x=%ld y=%ld,w=%ld,h=%ld\n ", static_cast<int>(align_),
                  lineStart_, lineTop_, width, lineHeight_);
}

}  // namespace brightline::content
