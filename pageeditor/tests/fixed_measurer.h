#pragma once
// Fonts with round numbers, so layouts can be worked out by hand: a single-byte character is
// 10 pixels wide, a double-byte one 20 (one more each in a bold font); ascent is three quarters
// of the font height, descent the rest.
#include <cstdlib>

#include "pageeditor/font_measurer.h"

namespace brightline::pageeditor {

class FixedMeasurer : public FontMeasurer {
  public:
    FontMetrics metrics(const LogFont& font) override {
        const int h = std::abs(font.height);
        return FontMetrics{h * 3 / 4, h - h * 3 / 4, h / 2};
    }
    int advance(const LogFont& font, const std::string& character) override {
        return (character.size() == 2 ? 20 : 10) + (font.weight >= 700 ? 1 : 0);
    }
};

inline LogFont boldFont() {
    LogFont f = defaultLogFont();
    f.weight = 700;
    return f;
}

}  // namespace brightline::pageeditor
