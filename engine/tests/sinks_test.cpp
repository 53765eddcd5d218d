// The frame writers: files that other tools read back as written.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include "engine/gif_writer.h"
#include "engine/png_codec.h"
#include "engine/png_frame_writer.h"
#include "engine/tests/show_fixture.h"

namespace brightline::engine {
namespace {

TEST(PngFrameWriter, WritesEachFrameNamedByItsTick) {
    testing::ShowFixture ws;
    PngFrameWriter writer(ws.workspace());
    uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xAB123456, 0, 0xFFFFFF};
    writer.frame(3, 2, pixels, 7);
    ASSERT_TRUE(writer.error().empty()) << writer.error();
    RgbaImage back;
    ASSERT_TRUE(readPngFile(ws.workspace() + "/000007.png", back));
    ASSERT_EQ(back.width, 3);
    ASSERT_EQ(back.height, 2);
    const uint8_t expected[] = {255,  0,    0,    255, 0, 255, 0, 255, 0,   0,   255, 255,
                                0x12, 0x34, 0x56, 255, 0, 0,   0, 255, 255, 255, 255, 255};
    EXPECT_EQ(back.rgba, std::vector<uint8_t>(std::begin(expected), std::end(expected)));

    PngFrameWriter nowhere(ws.workspace() + "/missing");
    nowhere.frame(3, 2, pixels, 1);
    EXPECT_FALSE(nowhere.error().empty());
}

TEST(GifWriter, FramesLastUntilTheNextDrawnTickOnAFixedCube) {
    testing::ShowFixture ws;
    std::string path = ws.workspace() + "/show.gif";
    {
        GifWriter gif(path);
        uint32_t black[4] = {0, 0, 0, 0}, mixed[4] = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF};
        gif.frame(2, 2, black, 1);
        gif.frame(2, 2, mixed, 3);
        gif.frame(2, 2, black, 4);
        gif.finish();
        EXPECT_TRUE(gif.error().empty()) << gif.error();
        EXPECT_EQ(gif.written(), 3);
    }
    int err = 0;
    GifFileType* file = DGifOpenFileName(path.c_str(), &err);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(DGifSlurp(file), GIF_OK);
    ASSERT_EQ(file->ImageCount, 3);
    int delays[3];
    for (int i = 0; i < 3; ++i) {
        GraphicsControlBlock gcb;
        ASSERT_EQ(DGifSavedExtensionToGCB(file, i, &gcb), GIF_OK);
        delays[i] = gcb.DelayTime;
    }
    EXPECT_EQ(delays[0], 8);  // ticks 1 to 3
    EXPECT_EQ(delays[1], 4);
    EXPECT_EQ(delays[2], 4);
    const GifColorType& white = file->SColorMap->Colors[file->SavedImages[1].RasterBits[0]];
    const GifColorType& red = file->SColorMap->Colors[file->SavedImages[1].RasterBits[1]];
    EXPECT_EQ((white.Red << 16) | (white.Green << 8) | white.Blue, 0xFFFFFF);
    EXPECT_EQ((red.Red << 16) | (red.Green << 8) | red.Blue, 0xFF0000);
    DGifCloseFile(file, &err);

    EXPECT_EQ(GifWriter::paletteIndex(0), 0);
    EXPECT_EQ(GifWriter::paletteIndex(0xFFFFFF), 251);
    EXPECT_EQ(GifWriter::paletteIndex(0x808080), GifWriter::paletteIndex(0x828282));
}

}  // namespace
}  // namespace brightline::engine
