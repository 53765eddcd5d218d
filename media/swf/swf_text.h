#pragma once
// Static text: the glyph outlines of DefineFont, DefineFont2 and DefineFont3 and the glyph runs
// of DefineText and DefineText2. Device fonts (a font without outlines) draw nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "media/swf/swf_shape.h"

namespace brightline::swf {

struct Font {
    std::vector<Shape> glyphs;
    double emSize = 1024;  // glyph units per em: 1024, or 20480 for DefineFont3
};

struct TextGlyph {
    int index = 0;  // into the font's glyphs
    double x = 0;   // twips from the text's origin
};

struct TextRun {
    uint16_t fontId = 0;
    Rgba color;
    double height = 0;  // em size in twips
    double y = 0;       // baseline, twips
    std::vector<TextGlyph> glyphs;
};

struct Text {
    Rect bounds;
    Matrix matrix;
    std::vector<TextRun> runs;
};

// The body of DefineFont (10), DefineFont2 (48) or DefineFont3 (75) after its font id. A glyph
// whose outline is damaged is left empty.
bool readFont(int code, SwfReader& r, Font& out, std::string& error);

// The body of DefineText (11) or DefineText2 (33) after its character id.
bool readText(int code, SwfReader& r, Text& out, std::string& error);

}  // namespace brightline::swf
