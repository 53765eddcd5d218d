// The frame writers: files that other tools read back as written.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/frame_queue.h"
#include "engine/frame_sink.h"
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
    pixels[0] = 0;  // the writer took its own copy
    writer.finish();
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
    nowhere.finish();
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

TEST(FrameQueue, EncodesEveryFrameInOrderAndWaitsWhenFull) {
    std::mutex mutex;
    std::condition_variable cv;
    bool open = false;
    std::vector<std::pair<uint64_t, uint32_t>> encoded;
    FrameQueue queue(
        [&](int, int, const uint32_t* pixels, uint64_t tick) {
            std::unique_lock<std::mutex> lock(mutex);
            cv.wait_for(lock, std::chrono::seconds(10), [&] { return open; });
            encoded.emplace_back(tick, pixels[1]);
        },
        2);
    uint32_t pixels[2] = {0, 0};
    // The worker holds frame 1; frames 2 and 3 fill the queue; frame 4 must wait.
    for (uint64_t tick = 1; tick <= 3; ++tick) {
        pixels[1] = uint32_t(tick * 10);
        queue.push(2, 1, pixels, tick);
    }
    std::atomic<bool> fourthIn{false};
    std::thread pusher([&] {
        uint32_t last[2] = {0, 40};
        queue.push(2, 1, last, 4);
        fourthIn = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fourthIn.load()) << "a full queue took another frame";
    {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
    }
    cv.notify_all();
    pusher.join();
    for (uint64_t tick = 5; tick <= 40; ++tick) {
        pixels[1] = uint32_t(tick * 10);
        queue.push(2, 1, pixels, tick);
    }
    queue.drain();
    ASSERT_EQ(encoded.size(), 40u);
    for (uint64_t i = 0; i < 40; ++i) {
        EXPECT_EQ(encoded[i].first, i + 1);
        EXPECT_EQ(encoded[i].second, uint32_t((i + 1) * 10));  // copied when pushed
    }
}

TEST(EveryNthTick, PassesTheScreenAsItStandsAtEveryNthTick) {
    struct Case {
        const char* what;
        std::vector<uint64_t> drawn;  // ticks that drew; the pixel is the tick
        uint64_t played;
        std::vector<std::pair<uint64_t, uint32_t>> passed;  // tick, pixel
    } cases[] = {
        {"every tick drawn", {1, 2, 3, 4, 5, 6, 7}, 7, {{3, 3}, {6, 6}}},
        {"a frame that stands over several multiples is passed once", {1, 8}, 9, {{3, 1}, {9, 8}}},
        {"only the last frame before a multiple counts", {4, 5}, 6, {{6, 5}}},
        {"a frame the show ends before the next multiple is not passed", {1, 2, 3, 4}, 5, {{3, 3}}},
        {"nothing drawn", {}, 30, {}},
    };
    for (const Case& c : cases) {
        CollectingSink out;
        EveryNthTick every(out, 3, [&] { return c.played; });
        for (uint64_t tick : c.drawn) {
            uint32_t pixel = uint32_t(tick);
            every.frame(1, 1, &pixel, tick);
        }
        every.finish();
        std::vector<std::pair<uint64_t, uint32_t>> passed;
        for (const auto& f : out.frames) passed.emplace_back(f.tick, f.at(0, 0));
        EXPECT_EQ(passed, c.passed) << c.what;
    }
}

}  // namespace
}  // namespace brightline::engine
