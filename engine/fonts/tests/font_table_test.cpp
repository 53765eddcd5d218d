#include "engine/fonts/font_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "common/file_io.h"
#include "engine/fonts/colour_token.h"
#include "engine/fonts/zfon_file.h"

namespace brightline {
namespace {

// A font whose glyph n carries n in its first two row bytes (16 pixels wide), so a test can
// tell which glyph a lookup found.
BitmapFont numberedFont(uint16_t count, uint8_t firstCode, bool proportional = false) {
    FontHeader h{static_cast<uint8_t>(proportional), 16, 2, firstCode, count};
    std::vector<uint8_t> block;
    for (uint16_t n = 0; n < count; ++n) {
        if (proportional) block.push_back(static_cast<uint8_t>(3 + n % 5));
        block.push_back(static_cast<uint8_t>(n >> 8));
        block.push_back(static_cast<uint8_t>(n));
        block.push_back(0);
        block.push_back(0);
    }
    return BitmapFont(h, std::move(block));
}

long numberOf(const GlyphView& g) {
    if (g.blank()) return -1;
    return g.rows[0] << 8 | g.rows[1];
}

FontTable standardTable() {
    FontTable t;
    t.add(numberedFont(8178, 0));         // font 0: GB2312 rows 0xA1..0xF7
    t.add(numberedFont(95, 0x20));        // font 1
    t.add(numberedFont(95, 0x20, true));  // font 2, proportional
    return t;
}

TEST(FontTable, GlyphLookup) {
    FontTable t = standardTable();
    struct Case {
        const char* what;
        GlyphView glyph;
        long number;
    };
    const Case cases[] = {
        {"single byte: c - first code", t.glyph(1, 'A'), 'A' - 0x20},
        {"below the first code: blank", t.glyph(1, 0x10), -1},
        {"past the last glyph: blank", t.glyph(1, 0x7F), -1},
        {"font 0 single byte: full-width row", t.glyph(0, '!'), '!' + 155},
        {"full-width '!' is GB2312 A3A1", t.doubleByteGlyph(0xA3, 0xA1), '!' + 155},
        {"first GB2312 glyph", t.doubleByteGlyph(0xA1, 0xA1), 0},
        {"row 0xB0 cell 0xA1", t.doubleByteGlyph(0xB0, 0xA1), (0xB0 - 0xA1) * 94},
        {"last glyph F7FE", t.doubleByteGlyph(0xF7, 0xFE), 8177},
        {"a byte below 0xA0: blank", t.doubleByteGlyph(0xB0, 0x41), -1},
        {"row past the font: blank", t.doubleByteGlyph(0xF8, 0xA1), -1},
        {"font not loaded: blank", t.glyph(7, 'A'), -1},
    };
    for (const Case& c : cases) EXPECT_EQ(numberOf(c.glyph), c.number) << c.what;
}

TEST(FontTable, AdvanceIsFontWidthOrTheGlyphsOwnByte) {
    FontTable t = standardTable();
    EXPECT_EQ(t.glyph(1, 'A').advance, 16);
    EXPECT_EQ(t.glyph(2, 'A').advance, 3 + ('A' - 0x20) % 5);
    EXPECT_EQ(t.glyph(2, 0x01).advance, 16);  // blank glyph of a proportional font: its width
    EXPECT_EQ(t.glyph(9, 'A').advance, 0);    // no font: nothing to advance by
    // A proportional glyph's rows start after its advance byte.
    EXPECT_EQ(numberOf(t.glyph(2, 'C')), 'C' - 0x20);
}

TEST(FontTable, StoredFontIndexFallsBackToFontThree) {
    FontTable t;
    for (int i = 0; i < 20; ++i) t.add(numberedFont(1, 0));
    EXPECT_EQ(t.fontForIndex(18), 19);
    EXPECT_EQ(t.fontForIndex(19), 3);  // font 20 is not loaded
    EXPECT_EQ(t.fontForIndex(-1), 0);
    EXPECT_EQ(t.fontForIndex(-2), 3);
    EXPECT_EQ(t.fontForIndex(LONG_MAX), 3);
    EXPECT_EQ(t.fontForIndex(LONG_MIN), 3);
}

TEST(FontTable, HoldsAtMostFiftyFonts) {
    std::vector<BitmapFont> fonts;
    for (int i = 0; i < 30; ++i) fonts.push_back(numberedFont(1, 0));
    auto bytes = writeZfon(fonts);
    FontTable t;
    std::vector<std::string> lines;
    auto record = [&](const std::string& l) { lines.push_back(l); };
    EXPECT_EQ(t.loadBytes(bytes, record), 30);
    EXPECT_EQ(t.loadBytes(bytes, record), 20);
    EXPECT_EQ(t.count(), kMaxFonts);
    EXPECT_EQ(t.loadBytes(bytes, record), 0);
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(t.add(numberedFont(1, 0)));
}

class FontFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("bl_fonts_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root_ / "start" / "fonts");
        std::filesystem::create_directories(root_ / "program" / "fonts");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    void write(const std::string& rel, size_t fonts) {
        std::vector<BitmapFont> v;
        for (size_t i = 0; i < fonts; ++i) v.push_back(numberedFont(1, 0));
        ASSERT_TRUE(writeFileAtomically((root_ / rel).string(), writeZfon(v)));
    }
    std::string dir(const char* d) { return (root_ / d).string(); }
    std::filesystem::path root_;
};

TEST_F(FontFolders, StartFolderFirstThenProgramFolder) {
    write("start/fonts/zhzk16.bin", 1);
    write("program/fonts/zhzk16.bin", 4);
    write("program/fonts/ezfon.bin", 2);
    FontTable t;
    std::vector<std::string> lines;
    EXPECT_EQ(t.loadBuiltIn(dir("start"), dir("program"),
                            [&](const std::string& l) { lines.push_back(l); }),
              3);
    EXPECT_TRUE(lines.empty());
}

TEST_F(FontFolders, AnInstalledProgramFindsTheFontsUnderShare) {
    std::filesystem::create_directories(root_ / "usr" / "bin");
    std::filesystem::create_directories(root_ / "usr" / "share" / "brightline" / "fonts");
    write("usr/share/brightline/fonts/zhzk16.bin", 4);
    write("usr/share/brightline/fonts/ezfon.bin", 2);
    write("start/fonts/ezfon.bin", 1);  // the start folder still comes first
    FontTable t;
    std::vector<std::string> lines;
    EXPECT_EQ(t.loadBuiltIn(dir("start"), dir("usr/bin"),
                            [&](const std::string& l) { lines.push_back(l); }),
              5);
    EXPECT_TRUE(lines.empty());
}

TEST_F(FontFolders, MissingFileIsReportedAndLoadsNothing) {
    write("program/fonts/ezfon.bin", 2);
    FontTable t;
    std::vector<std::string> lines;
    EXPECT_EQ(t.loadBuiltIn(dir("start"), dir("program"),
                            [&](const std::string& l) { lines.push_back(l); }),
              2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "could not open font " + dir("program") + "/fonts/zhzk16.bin \r\n");
}

TEST_F(FontFolders, CutShortFileSaysReadFailedAndKeepsTheFontsBefore) {
    write("start/fonts/ezfon.bin", 3);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(dir("start") + "/fonts/ezfon.bin", bytes));
    bytes.pop_back();
    ASSERT_TRUE(writeFileAtomically(dir("start") + "/fonts/ezfon.bin", bytes));
    FontTable t;
    std::vector<std::string> lines;
    EXPECT_EQ(t.loadFile(dir("start") + "/fonts/ezfon.bin",
                         [&](const std::string& l) { lines.push_back(l); }),
              2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "read failed\n");
}

TEST(ColourToken, ReadsSixHexCharactersAfterTheFirst) {
    struct Case {
        const char* token;
        uint32_t rgb;
    };
    const Case cases[] = {
        {"#FF0000", 0xFF0000},
        {"#00ff7f", 0x00FF7F},
        {"#12aB3c", 0x12AB3C},
        // Quoted: the characters after the first are read as they stand.
        {"\"#FF0000\"", 0x0FF000},
        {"#FF", 0xFF0000},
        {"", 0},
        {"#GG0011", 0x000011},
    };
    for (const Case& c : cases) EXPECT_EQ(parseColourToken(c.token), c.rgb) << c.token;
}

}  // namespace
}  // namespace brightline
