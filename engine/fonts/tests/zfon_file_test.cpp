#include "engine/fonts/zfon_file.h"

#include <gtest/gtest.h>

#include "common/byte_writer.h"

namespace brightline {
namespace {

std::vector<uint8_t> header(int32_t count) {
    ByteWriter w;
    w.text("ZFON");
    w.i32(count);
    return w.take();
}

void appendFont(std::vector<uint8_t>& file, uint8_t prop, uint8_t width, uint8_t height,
                uint8_t first, uint16_t count, uint8_t fill, size_t cut = 0) {
    FontHeader h{prop, width, height, first, count};
    ByteWriter w;
    w.u8(prop);
    w.u8(width);
    w.u8(height);
    w.u8(first);
    w.u16(count);
    std::vector<uint8_t> block(h.blockSize() - cut, fill);
    w.bytes(block.data(), block.size());
    file.insert(file.end(), w.data().begin(), w.data().end());
}

TEST(ZfonFile, ReadsWhatItWritesByteForByte) {
    std::vector<uint8_t> file = header(2);
    // A fixed 10 x 3 font (two bytes a row) and a proportional 5 x 2 font.
    appendFont(file, 0, 10, 3, 0x20, 4, 0xA5);
    appendFont(file, 1, 5, 2, 0x41, 3, 0x03);
    ZfonContents c = readZfon(file, 50);
    ASSERT_TRUE(c.error.empty()) << c.error;
    ASSERT_EQ(c.fonts.size(), 2u);
    EXPECT_EQ(c.fonts[0].header().bytesPerRow(), 2);
    EXPECT_EQ(c.fonts[0].header().glyphSize(), 6u);
    EXPECT_EQ(c.fonts[1].header().glyphSize(), 3u);  // advance byte + 2 rows
    EXPECT_EQ(writeZfon(c.fonts), file);
}

TEST(ZfonFile, BadFilesLoadNothingAndSayWhy) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> wrongMagic = header(1);
    wrongMagic[0] = 'X';
    std::vector<uint8_t> negative = header(-3);
    appendFont(negative, 0, 8, 8, 0, 1, 0xFF);
    const Case cases[] = {
        {"empty", {}},
        {"short header", {'Z', 'F', 'O', 'N', 1, 0}},
        {"wrong magic", wrongMagic},
        {"count below one", negative},
        {"count zero", header(0)},
    };
    for (const Case& c : cases) {
        ZfonContents r = readZfon(c.bytes, 50);
        EXPECT_TRUE(r.fonts.empty()) << c.what;
        EXPECT_FALSE(r.shortGlyphBlock) << c.what;
    }
    EXPECT_FALSE(readZfon(wrongMagic, 50).error.empty());
}

TEST(ZfonFile, ShortGlyphBlockDropsThatFontAndStops) {
    std::vector<uint8_t> file = header(3);
    appendFont(file, 0, 8, 8, 0x20, 2, 0x11);
    appendFont(file, 0, 8, 8, 0x20, 2, 0x22, 1);  // one byte short, and nothing after it
    ZfonContents c = readZfon(file, 50);
    ASSERT_EQ(c.fonts.size(), 1u);
    EXPECT_TRUE(c.shortGlyphBlock);
    EXPECT_NE(c.error.find("glyph block of 16 bytes, 15 left"), std::string::npos) << c.error;

    // A count larger than the file holds stops at the end the same way.
    std::vector<uint8_t> overclaim = header(1000000);
    appendFont(overclaim, 0, 4, 4, 0, 1, 0x80);
    c = readZfon(overclaim, 50);
    EXPECT_EQ(c.fonts.size(), 1u);
    EXPECT_TRUE(c.shortGlyphBlock);
}

TEST(ZfonFile, ReadsNoMoreThanAskedFor) {
    std::vector<uint8_t> file = header(5);
    for (int i = 0; i < 5; ++i) appendFont(file, 0, 8, 1, 0, 1, static_cast<uint8_t>(i));
    ZfonContents c = readZfon(file, 3);
    EXPECT_EQ(c.fonts.size(), 3u);
    EXPECT_TRUE(c.error.empty());
}

}  // namespace
}  // namespace brightline
