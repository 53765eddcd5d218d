#include "tools/fontgen/named_fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "engine/fonts/font_names.h"
#include "tools/fontgen/glyph_canvas.h"

namespace brightline::fontgen {
namespace {

enum class Source { X11, DejaVu };

struct Recipe {
    const char* name;
    int width;
    int height;
    Source source;
    const char* x11File;  // for Source::X11
    bool bold;            // DejaVu: the Bold face; X11: overstrike unless the file is bold
    bool proportional;
};

// In the order of kNamedFonts.
const Recipe kRecipes[] = {
    {"E4X7", 4, 7, Source::X11, "4x6.pcf.gz", false, false},
    {"E5X5", 5, 5, Source::X11, "clR5x6.pcf.gz", false, false},
    {"E5X7", 5, 7, Source::X11, "5x7.pcf.gz", false, false},
    {"E5X7n", 5, 7, Source::X11, "5x7.pcf.gz", false, true},
    {"E5X7S", 5, 7, Source::X11, "5x7.pcf.gz", true, false},
    {"E5X8", 5, 8, Source::X11, "5x8.pcf.gz", false, false},
    {"E5X8N", 5, 8, Source::X11, "5x8.pcf.gz", false, true},
    {"E6X10", 6, 10, Source::X11, "6x10.pcf.gz", false, false},
    {"E6X11", 6, 11, Source::X11, "6x10.pcf.gz", false, false},
    {"E7X13", 7, 13, Source::X11, "7x13.pcf.gz", false, false},
    {"E7X15", 7, 15, Source::X11, "7x14.pcf.gz", false, false},
    {"E7X15A", 7, 15, Source::X11, "7x14B.pcf.gz", false, false},
    {"E7X16", 7, 16, Source::DejaVu, nullptr, false, false},
    {"E9X15", 9, 15, Source::X11, "9x15.pcf.gz", false, false},
    {"E11X23", 11, 23, Source::DejaVu, nullptr, false, false},
    {"E12X24", 12, 24, Source::X11, "12x24.pcf.gz", false, false},
    {"E13X32", 13, 32, Source::DejaVu, nullptr, false, false},
    {"E16X32", 16, 32, Source::DejaVu, nullptr, false, false},
    {"E17X40", 17, 40, Source::DejaVu, nullptr, false, false},
    {"E21X48", 21, 48, Source::DejaVu, nullptr, false, false},
    {"E7X12", 7, 12, Source::DejaVu, nullptr, false, false},
    {"E9X19", 9, 19, Source::X11, "9x18.pcf.gz", false, false},
    {"E15X31", 15, 31, Source::DejaVu, nullptr, false, false},
    {"QVX8X8", 8, 8, Source::X11, "clB8x8.pcf.gz", false, true},
    {"QVX16X14", 16, 14, Source::DejaVu, nullptr, true, true},
    {"QVX16X16", 16, 16, Source::DejaVu, nullptr, true, true},
    {"QVX24X22", 24, 22, Source::DejaVu, nullptr, true, true},
    {"QVX24X24", 24, 24, Source::DejaVu, nullptr, true, true},
    {"QVX32X32", 32, 32, Source::DejaVu, nullptr, true, true},
    {"QVX32X36", 32, 36, Source::DejaVu, nullptr, true, true},
    {"QVX40X42", 40, 42, Source::DejaVu, nullptr, true, true},
};
static_assert(sizeof kRecipes / sizeof kRecipes[0] == kNamedFontCount, "one recipe per named font");

struct LibraryDeleter {
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
struct FaceDeleter {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

Face openFace(FT_Library lib, const std::string& path) {
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0)
        throw std::runtime_error("cannot open font " + path);
    return Face(face);
}

// Renders character c in monochrome and draws it with its baseline at `baseline` rows from
// the top and its origin at column `originX`.
void drawChar(FT_Face face, int c, int originX, int baseline, GlyphCanvas& canvas) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
        return;
    const FT_Bitmap& bm = face->glyph->bitmap;
    int left = originX + face->glyph->bitmap_left;
    int top = baseline - face->glyph->bitmap_top;
    for (unsigned y = 0; y < bm.rows; ++y) {
        const unsigned char* row = bm.buffer + static_cast<long>(y) * bm.pitch;
        for (unsigned x = 0; x < bm.width; ++x) {
            bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x / 8] >> (7 - x % 8)) & 1
                                                           : row[x] >= 128;
            if (ink) canvas.set(left + static_cast<int>(x), top + static_cast<int>(y));
        }
    }
}

constexpr int kSpareRows = 4;

GlyphCanvas fitRows(const GlyphCanvas& tall, int height) {
    int top = tall.height(), bottom = -1;
    for (int y = 0; y < tall.height(); ++y)
        for (int x = 0; x < tall.width(); ++x)
            if (tall.at(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    int lift = bottom >= height ? std::min(bottom - height + 1, top) : 0;
    GlyphCanvas out(tall.width(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < tall.width(); ++x)
            if (tall.at(x, y + lift)) out.set(x, y);
    return out;
}

int ceil26(FT_Pos v) {
    return static_cast<int>((v + 63) >> 6);
}

// Chooses x and y pixel sizes of an outline face so that ascender + descender fits the cell
// height and the advance of "M" fits its width; returns the baseline row.
int fitOutline(FT_Face face, int width, int height, bool keepAspect) {
    int sy = height;
    for (; sy > 1; --sy) {
        FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(sy), static_cast<FT_UInt>(sy));
        if (ceil26(face->size->metrics.ascender) + ceil26(-face->size->metrics.descender) <= height)
            break;
    }
    // A proportional font keeps the face's own shapes; a fixed one is widened to fill its cell.
    int sx = keepAspect ? sy : width * 2;
    for (; sx > 1; --sx) {
        FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(sx), static_cast<FT_UInt>(sy));
        if (FT_Load_Char(face, 'M', FT_LOAD_TARGET_MONO) == 0 &&
            static_cast<int>(face->glyph->advance.x >> 6) <= width)
            break;
    }
    int ascent = ceil26(face->size->metrics.ascender);
    int descent = ceil26(-face->size->metrics.descender);
    // Spare rows go half above, half below.
    return (height - ascent - descent) / 2 + ascent;
}

BitmapFont makeFont(FT_Library lib, const Recipe& r, const FontSources& src) {
    Face face;
    int baseline = 0;
    bool overstrike = false;
    if (r.source == Source::X11) {
        face = openFace(lib, src.x11MiscFolder + "/" + r.x11File);
        if (face->num_fixed_sizes < 1 || FT_Select_Size(face.get(), 0) != 0)
            throw std::runtime_error(std::string("no bitmap strike in ") + r.x11File);
        int ascent = ceil26(face->size->metrics.ascender);
        int descent = ceil26(-face->size->metrics.descender);
        int spare = r.height - ascent - descent;  // negative: the lowest rows are dropped
        baseline = ascent + (spare > 0 ? (spare + 1) / 2 : 0);
        overstrike = r.bold;
    } else {
        face = openFace(
            lib, src.dejavuFolder + (r.bold ? "/DejaVuSansMono-Bold.ttf" : "/DejaVuSansMono.ttf"));
        baseline = fitOutline(face.get(), r.width, r.height, r.proportional);
    }

    FontHeader h;
    h.proportional = r.proportional ? 1 : 0;
    h.width = static_cast<uint8_t>(r.width);
    h.height = static_cast<uint8_t>(r.height);
    h.firstCode = kFirstCode;
    h.count = kLastCode - kFirstCode + 1;
    std::vector<uint8_t> block;
    for (int c = kFirstCode; c <= kLastCode; ++c) {
        // Drawn a few rows taller than the cell: a descender that would fall off the bottom is
        // lifted into blank rows above the glyph, so that "g", "y" and "," keep their tails.
        GlyphCanvas tall(r.width, r.height + kSpareRows);
        drawChar(face.get(), c, 0, baseline, tall);
        GlyphCanvas canvas = fitRows(tall, r.height);
        if (overstrike) canvas.embolden();
        if (r.proportional) {
            int first = 0, last = -1;
            canvas.inkColumns(first, last);
            int advance = 0;
            if (last < first) {
                advance = std::max(2, r.width / 2);  // space and other inkless glyphs
            } else {
                canvas.shift(-first);
                advance = std::min(r.width, last - first + 2);
            }
            block.push_back(static_cast<uint8_t>(advance));
        }
        auto rows = canvas.pack();
        block.insert(block.end(), rows.begin(), rows.end());
    }
    return BitmapFont(h, std::move(block));
}

}  // namespace

std::vector<BitmapFont> makeNamedFonts(const FontSources& sources) {
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0) throw std::runtime_error("FreeType did not start");
    Library lib(raw);
    std::vector<BitmapFont> fonts;
    for (size_t i = 0; i < kNamedFontCount; ++i) {
        if (std::string(kRecipes[i].name) != kNamedFonts[i])
            throw std::logic_error(std::string("recipe ") + kRecipes[i].name + " out of order");
        fonts.push_back(makeFont(lib.get(), kRecipes[i], sources));
    }
    return fonts;
}

}  // namespace brightline::fontgen
