#pragma once
// Renders a text page in the small HTML subset (".htm") into a region's pages.
//
// Text is drawn only between <BODY> and </BODY>. Tags (names in either case):
//   <H1> font 2, white, size 24 (</H1> restores the colour); <H2> font 1; <H3> font 2;
//   </H2>, </H3> font 0; <B>, <TT>, <DL>, <DT>, <DD> and their closing tags change nothing;
//   <P align=left|center|right> starts a paragraph (values taken as they stand: a quoted value is
//   not recognised); </P> finishes the line: its rows are turned upright and, when the line fits
//   the region, moved to its alignment; the next line starts one row below it at x = 0;
//   <FONT color=#RRGGBB size=N face=...> pushes a level (at most 19) and </FONT> restores it.
// For any other tag only its name is consumed; the rest up to ">" is text. "&nbsp;" advances the
// pen by the font size, a space by a third of it. Single bytes are drawn with the current bitmap
// font; a byte of 0x80 or above is paired with the next and drawn from the scalable face at the
// current size (as is single-byte text whose font number equals the number of fonts loaded).
//
// Glyphs are drawn bottom row first at (pen x, line top + 2) and stand upright once their line
// is finished; text never finished by </P> stays upside down, as on the sign.
//
// One renderer per page; the region's thread.
#include <string>
#include <vector>

#include "engine/content/page_canvas.h"
#include "engine/fonts/font_table.h"

namespace brightline::engine {
class DiagnosticOutput;
}

namespace brightline::content {

class CjkFace;

// Attribute "size" to pixels: 1 → 8, 2 → 10, 3 → 12, 4 → 14, 5 → 18, 6 → 24, 7 → 36, 8 → 42,
// 9 → 48, 10 → 56, 11 → 64, anything else 32.
int htmlSizePixels(long size);

class HtmlPageRenderer {
  public:
    static constexpr int kMaxFontLevels = 19;
    static constexpr int kDefaultSize = 14;

    enum class Align { Left = 0, Centre = 1, Right = 2 };

    // `face` may be null: double-byte characters then leave a gap of the current size.
    HtmlPageRenderer(PageCanvas& canvas, const FontTable& fonts, CjkFace* face,
                     engine::DiagnosticOutput& diag);

    // Renders the whole page text (at most the bytes given).
    void render(const std::string& text);

  private:
    struct Level {
        bool size = false;
        bool colour = false;
        bool face = false;
        int oldSize = 0;
        int oldFont = 0;
        uint32_t oldColour = 0;
    };

    void handleTag(const std::string& text, size_t& i);
    void fontTag(const std::string& text, size_t& i);
    void closeFont();
    void finishLine();
    void drawByte(uint8_t c);
    void drawScalable(uint32_t codePoint);
    void advance(long pixels);

    PageCanvas& canvas_;
    const FontTable& fonts_;
    CjkFace* face_;
    engine::DiagnosticOutput& diag_;

    bool inBody_ = false;
    int size_ = kDefaultSize;
    int font_ = 1;
    uint32_t colour_ = 0xFFFFFF;
    uint32_t previousColour_ = 0xFFFFFF;
    long penX_ = 0;
    long lineTop_ = 0;
    long lineHeight_ = 4;
    long lineStart_ = -1;  // -1: unset
    Align align_ = Align::Left;
    std::vector<Level> levels_;
};

}  // namespace brightline::content
