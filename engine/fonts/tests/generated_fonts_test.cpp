// The two font files the build generates: their layout and a few glyphs checked against the
// sources they come from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "common/file_io.h"
#include "engine/fonts/font_names.h"
#include "engine/fonts/font_table.h"
#include "engine/fonts/zfon_file.h"

namespace brightline {
namespace {

ZfonContents readGenerated(const char* name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(std::string(BRIGHTLINE_FONTS_DIR) + "/" + name, bytes)) << name;
    return readZfon(bytes, kMaxFonts);
}

// The unifont.hex rows of one code point, as 16 rows of 16 bits (8-wide glyphs centred).
std::vector<uint16_t> unifontRows(uint32_t code) {
    std::ifstream in(BRIGHTLINE_UNIFONT_HEX);
    char key[16];
    std::snprintf(key, sizeof key, "%04X:", code);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 5, key) != 0) continue;
        std::string bits = line.substr(5);
        std::vector<uint16_t> rows;
        int digits = bits.size() >= 64 ? 4 : 2;
        for (int r = 0; r < 16; ++r) {
            unsigned v = std::stoul(bits.substr(r * digits, digits), nullptr, 16);
            rows.push_back(static_cast<uint16_t>(digits == 4 ? v : v << 4));
        }
        return rows;
    }
    return {};
}

std::vector<uint16_t> glyphRows(const GlyphView& g) {
    std::vector<uint16_t> rows;
    for (int y = 0; y < g.height; ++y)
        rows.push_back(static_cast<uint16_t>(g.rows[y * 2] << 8 | g.rows[y * 2 + 1]));
    return rows;
}

TEST(GeneratedFonts, Gb2312FontHoldsRowsA1ToF7FromUnifont) {
    ZfonContents c = readGenerated("zhzk16.bin");
    ASSERT_TRUE(c.error.empty()) << c.error;
    ASSERT_EQ(c.fonts.size(), 1u);
    const BitmapFont& f = c.fonts[0];
    EXPECT_EQ(f.width(), 16);
    EXPECT_EQ(f.height(), 16);
    EXPECT_FALSE(f.proportional());
    EXPECT_EQ(f.glyphCount(), 8178);

    FontTable t;
    t.add(f);
    struct Case {
        uint8_t row, cell;
        uint32_t unicode;
    };
    const Case cases[] = {
        {0xB0, 0xA1, 0x554A},  // the first level-1 hanzi
        {0xA3, 0xC1, 0xFF21},  // full-width A
        {0xD6, 0xD0, 0x4E2D},  // zhong
        {0xF7, 0xFE, 0x9F44},  // the last GB2312 hanzi
        {0xA6, 0xA1, 0x0391},  // Greek capital alpha (8 pixels wide in Unifont)
    };
    for (const Case& k : cases) {
        auto expected = unifontRows(k.unicode);
        ASSERT_EQ(expected.size(), 16u) << std::hex << k.unicode;
        EXPECT_EQ(glyphRows(t.doubleByteGlyph(k.row, k.cell)), expected) << std::hex << k.unicode;
    }
    EXPECT_EQ(glyphRows(t.glyph(0, 'A')), unifontRows(0xFF21));
    // An unassigned code (row 0xAA) is blank.
    EXPECT_EQ(glyphRows(t.doubleByteGlyph(0xAA, 0xA1)), std::vector<uint16_t>(16, 0));
}

TEST(GeneratedFonts, NamedFontsHaveTheCellTheirNameSays) {
    ZfonContents c = readGenerated("ezfon.bin");
    ASSERT_TRUE(c.error.empty()) << c.error;
    ASSERT_EQ(c.fonts.size(), kNamedFontCount);
    for (size_t i = 0; i < kNamedFontCount; ++i) {
        std::string name = kNamedFonts[i];
        const BitmapFont& f = c.fonts[i];
        // "E5X7n" → 5 x 7; "QVX16X14" → 16 x 14.
        size_t x = name.rfind('X');
        size_t from = name.find_first_of("0123456789");
        int w = std::atoi(name.substr(from, x - from).c_str());
        int h = std::atoi(name.substr(x + 1).c_str());
        EXPECT_EQ(f.width(), w) << name;
        EXPECT_EQ(f.height(), h) << name;
        bool proportional =
            name.back() == 'n' || name.back() == 'N' || name.compare(0, 2, "QV") == 0;
        EXPECT_EQ(f.proportional(), proportional) << name;
        EXPECT_LE(f.header().firstCode, 0x20) << name;
        EXPECT_GE(f.header().firstCode + f.glyphCount() - 1, 0x7E) << name;
        for (int ch = 0x21; ch <= 0x7E; ++ch) {
            GlyphView g = f.glyphForCode(static_cast<uint8_t>(ch));
            bool ink = false;
            for (int y = 0; y < g.height; ++y)
                for (int xx = 0; xx < g.width; ++xx) ink = ink || g.ink(xx, y);
            EXPECT_TRUE(ink) << name << " '" << static_cast<char>(ch) << "' has no ink";
            EXPECT_GE(g.advance, 1) << name;
            EXPECT_LE(g.advance, w) << name;
        }
    }
}

TEST(GeneratedFonts, ProportionalGlyphsAreNarrowerThanWide) {
    ZfonContents c = readGenerated("ezfon.bin");
    ASSERT_EQ(c.fonts.size(), kNamedFontCount);
    const BitmapFont& e5x7n = c.fonts[3];
    ASSERT_TRUE(e5x7n.proportional());
    EXPECT_LT(e5x7n.glyphForCode('i').advance, e5x7n.glyphForCode('M').advance);
    // Ink starts at column 0.
    GlyphView i = e5x7n.glyphForCode('i');
    bool column0 = false;
    for (int y = 0; y < i.height; ++y) column0 = column0 || i.ink(0, y);
    EXPECT_TRUE(column0);
}

}  // namespace
}  // namespace brightline
