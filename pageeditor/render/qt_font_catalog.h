#pragma once
// Real fonts for logical fonts, through Qt Gui and fontconfig: the measurer the document uses
// and the fonts the page painter draws with.
//
// A logical font becomes a QFont: the families from familiesForFace(); a positive height is the
// cell height (ascent + descent), a negative one the pixel size; the width, when given,
// stretches the face to that average character width; weight, italic, underline and strike-out
// as stored. Escapement and orientation are not drawn. Rendering is fixed in code so that the
// same document gives the same pixels on a machine: full hinting, no kerning, no sub-pixel
// antialiasing, greyscale antialiasing unless the quality byte asks for none.
//
// Needs a QGuiApplication (GuiSession); use from the thread that created it.
#include <array>
#include <map>
#include <string>

#include <QFont>

#include "pageeditor/font_measurer.h"

namespace brightline::pageeditor {

class QtFontCatalog : public FontMeasurer {
  public:
    FontMetrics metrics(const LogFont& font) override;
    int advance(const LogFont& font, const std::string& character) override;
    // The QFont that draws `font` (cached).
    const QFont& qfont(const LogFont& font);

  private:
    std::map<std::array<uint8_t, kLogFontSize>, QFont> fonts_;
};

// The text of one code page character as Qt text.
QString characterText(const std::string& oemCharacter);

}  // namespace brightline::pageeditor
