#pragma once
// Renders a ZTX text page (".ztx") into a region's pages.
//
// The pen starts at (0, 0) with colour black, font 2 and double-byte pairing on. Tags:
//   "<<" draws a "<"; <C#RRGGBB> sets the colour; <F#n> selects font n + 1 (a result above 49,
//   or below 0, gives font 2); <CHARSET#n> with n not 0 turns double-byte pairing off.
// A space draws an empty glyph of the current font (its width); LF returns the pen to x = 0 one
// font height lower; CR is ignored. With pairing on, two bytes of 0x80 or above are a GB2312
// character from font 0; any other byte is a single-byte glyph of the current font, advancing by
// its width (a proportional glyph by its own advance byte). Glyphs are drawn top row first at the
// pen; one that does not fit above the region's bottom edge is not drawn.
//
// One renderer per page; the region's thread.
#include <string>

#include "engine/content/page_canvas.h"
#include "engine/fonts/font_table.h"

namespace brightline::content {

class ZtxPageRenderer {
  public:
    static constexpr int kDefaultFont = 2;
    static constexpr int kLastFont = 49;

    ZtxPageRenderer(PageCanvas& canvas, const FontTable& fonts);

    void render(const std::string& text);

    uint32_t colour() const { return colour_; }
    int font() const { return font_; }
    long penX() const { return penX_; }

  private:
    void handleTag(const std::string& text, size_t& i);
    void draw(const GlyphView& glyph, int advance);

    PageCanvas& canvas_;
    const FontTable& fonts_;
    uint32_t colour_ = 0;
    int font_ = kDefaultFont;
    bool pairing_ = true;
    long penX_ = 0;
    long penY_ = 0;
};

}  // namespace brightline::content
