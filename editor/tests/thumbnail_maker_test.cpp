// Thumbnails of every medium kind, made from real files (pictures and clips written by ffmpeg, a
// text page and a clock page as their editors lay them out, a Flash movie of the fuzzing seeds).
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/testing/scratch_folder.h"
#include "editor/tests/test_media.h"
#include "editor/thumbnail_maker.h"

namespace brightline {
namespace {

using testkit::ffmpeg;

uint32_t centre(const media::Picture& p) {
    return p.at(p.width / 2, p.height / 2);
}

bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
    return true;
}

class ThumbnailMakerTest : public testing::Test {
  protected:
    ThumbnailMakerTest() {
        fonts.loadBuiltIn(BRIGHTLINE_BUILD_DIR, BRIGHTLINE_BUILD_DIR, [](const std::string&) {});
    }
    std::string file(const std::string& name) const { return scratch.file(name); }
    void write(const std::string& name, const std::string& text) {
        ASSERT_TRUE(
            writeFileAtomically(file(name), std::vector<uint8_t>(text.begin(), text.end())));
    }
    ThumbnailResult make(const std::string& name, int w = 96, int h = 72) {
        ThumbnailRequest request;
        request.path = file(name);
        request.width = w;
        request.height = h;
        return makeThumbnail(request, &fonts);
    }
    testkit::ScratchFolder scratch{"bl_thumbs"};
    FontTable fonts;
};

TEST_F(ThumbnailMakerTest, EachKindGivesItsFirstPictureAtTheAskedSize) {
    ASSERT_TRUE(ffmpeg("-f lavfi -i color=c=0xE02020:size=800x600 -frames:v 1 " + file("r.JPG")));
    ASSERT_TRUE(ffmpeg("-f lavfi -i color=c=0x2040E0:size=200x100 -frames:v 1 " + file("b.png")));
    ASSERT_TRUE(ffmpeg("-f lavfi -i color=c=0x20C040:size=64x48 -frames:v 1 " + file("g.bmp")));
    ASSERT_TRUE(ffmpeg("-f lavfi -i color=c=0xE0E020:size=160x120:rate=10:duration=1 -c:v mpeg4 " +
                       file("y.mp4")));
    ASSERT_TRUE(ffmpeg("-f lavfi -i color=c=0x20E0E0:size=320x240:rate=10:duration=1 -c:v mjpeg " +
                       file("c.AVI")));
    const std::vector<uint8_t> page = testkit::textPageBytes(128, 32, 0xC020C0);
    ASSERT_TRUE(writeFileAtomically(file("m.zrt"), page));
    struct Case {
        const char* name;
        uint32_t colour;
        int sourceWidth, sourceHeight;
    } cases[] = {
        {"r.JPG", 0xE02020, 800, 600}, {"b.png", 0x2040E0, 200, 100}, {"g.bmp", 0x20C040, 64, 48},
        {"y.mp4", 0xE0E020, 160, 120}, {"c.AVI", 0x20E0E0, 320, 240}, {"m.zrt", 0xC020C0, 128, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ThumbnailResult r = make(c.name);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.picture.width, 96);
        EXPECT_EQ(r.picture.height, 72);
        EXPECT_TRUE(near(centre(r.picture), c.colour, 24)) << std::hex << centre(r.picture);
        EXPECT_EQ(r.sourceWidth, c.sourceWidth);
        EXPECT_EQ(r.sourceHeight, c.sourceHeight);
    }
    // Other sizes for the layout view's areas.
    const ThumbnailResult wide = make("r.JPG", 250, 40);
    ASSERT_TRUE(wide.ok);
    EXPECT_EQ(wide.picture.width, 250);
    EXPECT_EQ(wide.picture.height, 40);
}

TEST_F(ThumbnailMakerTest, FlashMoviesShowTheirFirstFrame) {
    ThumbnailRequest request;
    request.path = std::string(BRIGHTLINE_SOURCE_DIR) +
                   "/fuzz/seeds/swf_movie/GradientRectangleMovesAcrossTheStage_0.swf";
    const ThumbnailResult r = makeThumbnail(request, &fonts);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.width, 96);
    uint32_t lit = 0;
    for (uint32_t p : r.picture.pixels) lit |= p & 0xFFFFFF;
    EXPECT_NE(lit, 0u) << "the first frame draws something";
}

TEST_F(ThumbnailMakerTest, AClockPageIsDrawnWithItsFontsAndCutToWhatItShows) {
    write("shown.TIM", testkit::clockPageText(true));
    write("empty.TIM", testkit::clockPageText(false));
    const ThumbnailResult shown = make("shown.TIM");
    ASSERT_TRUE(shown.ok) << shown.error;
    int white = 0;
    for (uint32_t p : shown.picture.pixels) white += (p & 0xFF) > 128 ? 1 : 0;
    // The time, cut out of the face and enlarged, covers a good part of the thumbnail.
    EXPECT_GT(white, 96 * 72 / 40);
    const ThumbnailResult empty = make("empty.TIM");
    ASSERT_TRUE(empty.ok) << empty.error;
    for (uint32_t p : empty.picture.pixels) ASSERT_EQ(p & 0xFFFFFF, 0u);
}

TEST_F(ThumbnailMakerTest, WhatCannotBeReadGivesNoPictureAndSaysWhy) {
    write("broken.jpg", "not a picture");
    write("notes.txt", "text");
    write("empty.avi", "");
    ASSERT_TRUE(
        writeFileAtomically(file("wrong.zrt"), testkit::textPageBytes(16, 16, 0xFFFFFF, "ZRX")));
    for (const char* name :
         {"broken.jpg", "notes.txt", "empty.avi", "wrong.zrt", "missing.png", "missing.TIM"}) {
        SCOPED_TRACE(name);
        const ThumbnailResult r = make(name);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.empty());
        EXPECT_TRUE(r.picture.empty());
    }
    std::vector<uint8_t> page;
    EXPECT_FALSE(firstTextPage(file("wrong.zrt"), page));
    ASSERT_TRUE(writeFileAtomically(file("ok.zrt"), testkit::textPageBytes(16, 16, 0xFFFFFF)));
    EXPECT_TRUE(firstTextPage(file("ok.zrt"), page));
    EXPECT_EQ(page[0], 'B');
}

}  // namespace
}  // namespace brightline
