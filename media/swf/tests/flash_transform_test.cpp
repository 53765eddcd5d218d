// The Flash transform end to end: movies on disk converted into clips, read back with the clip
// reader; movies written by FFmpeg's SWF muxer compared with FFmpeg's own decoding.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>

#include "common/file_io.h"
#include "media/swf/flash_transform.h"
#include "media/swf/tests/swf_fixture.h"
#include "media/tests/clip_fixture.h"
#include "media/zvi_reader.h"

namespace brightline::swf::test {
namespace {

using media::test::MediaFolder;

std::vector<media::Picture> readFrames(const std::string& path,
                                       media::ZviHeader* header = nullptr) {
    media::ZviReader reader;
    EXPECT_TRUE(reader.openFile(path)) << path;
    if (header) *header = reader.header();
    std::vector<media::Picture> frames;
    media::Picture p;
    while (reader.readFrame(p) == media::ClipFrameStatus::Decoded) frames.push_back(p);
    return frames;
}

// Five frames on an 80 x 40 stage with a white background: a red box moving right 8 pixels a
// frame. `extra` tags come first.
Bytes movingBox(const std::vector<std::pair<int, Bytes>>& extra = {}) {
    SwfFile f(80, 40);
    for (const auto& [code, body] : extra) f.tag(code, body);
    f.tag(9, {255, 255, 255});
    f.tag(2, boxShape(1, 1, 0, 0, 160, 800, solidFill(255, 0, 0)));
    for (int k = 0; k < 5; ++k) {
        Mat m;
        m.tx = k * 160;
        f.tag(26, placeObject2(1, k == 0 ? 1 : 0, &m));
        f.showFrame();
    }
    return f.bytes();
}

FlashConversionParams paramsFor(const MediaFolder& dir, const Bytes& movie, int w, int h,
                                int mode = 3) {
    EXPECT_TRUE(writeFileAtomically(dir.file("movie.swf"), movie));
    FlashConversionParams p;
    p.source = dir.file("movie.swf");
    p.destination = dir.file("out.zvi");
    p.width = w;
    p.height = h;
    p.sizeMode = mode;
    return p;
}

TEST(FlashTransform, WritesAPngClipOfRate24FrameByFrameOnBlack) {
    MediaFolder dir;
    std::vector<std::pair<int, int>> progress;
    const FlashConversionResult r = convertFlashToZvi(
        paramsFor(dir, movingBox(), 40, 20),
        [&](int done, int total) { progress.emplace_back(done, total); }, nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.framesCaptured, 5);
    EXPECT_TRUE(r.diagnostics.empty()) << r.diagnostics.front();
    media::ZviHeader header;
    const auto frames = readFrames(dir.file("out.zvi"), &header);
    EXPECT_EQ(header, (media::ZviHeader{"PNG ", 24, 5, 40, 20}));
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    for (int k = 0; k < 5; ++k) {
        // The box is 4 pixels wide in the clip and moves 4 pixels a frame.
        EXPECT_TRUE(pixelNear(frames[size_t(k)], 4 * k + 2, 10, 0xFF0000, 0)) << "frame " << k;
        EXPECT_TRUE(pixelNear(frames[size_t(k)], 4 * k + 6, 10, 0x000000, 0)) << "frame " << k;
    }
}

TEST(FlashTransform, SizeModesHalveDoubleOrKeepTheSize) {
    struct Case {
        int w, h, mode, expectW, expectH;
    };
    for (const Case c : {Case{40, 20, 0, 20, 10}, Case{40, 20, 2, 80, 40}, Case{40, 20, 3, 40, 20},
                         Case{0, 0, 3, 80, 40}}) {
        MediaFolder dir;
        const FlashConversionResult r =
            convertFlashToZvi(paramsFor(dir, movingBox(), c.w, c.h, c.mode), nullptr, nullptr);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.header.width, c.expectW) << "mode " << c.mode;
        EXPECT_EQ(r.header.height, c.expectH) << "mode " << c.mode;
    }
}

TEST(FlashTransform, CancelKeepsTheFramesCapturedSoFar) {
    MediaFolder dir;
    std::atomic<bool> cancel{false};
    const FlashConversionResult r = convertFlashToZvi(
        paramsFor(dir, movingBox(), 40, 20), [&](int done, int) { cancel = done == 2; }, &cancel);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.framesCaptured, 2);
    media::ZviHeader header;
    EXPECT_EQ(readFrames(dir.file("out.zvi"), &header).size(), 2u);
    EXPECT_EQ(header.frameCount, 2);
}

TEST(FlashTransform, WhatCannotBeDrawnIsNamedAndActionsAreSkippedQuietly) {
    MediaFolder dir;
    const Bytes movie = movingBox({{12, {0x07, 0x00}}, {34, {1, 0, 2, 3}}, {200, {}}});
    const FlashConversionResult r =
        convertFlashToZvi(paramsFor(dir, movie, 40, 20), nullptr, nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.framesCaptured, 5);
    EXPECT_EQ(r.diagnostics, (std::vector<std::string>{"DefineButton2 is not drawn (1 tag)",
                                                       "Tag200 is not drawn (1 tag)"}));
}

TEST(FlashTransform, UnreadableMoviesFailWithoutAClip) {
    MediaFolder dir;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* error;
    };
    Bytes lzma = movingBox();
    lzma[0] = 'Z';
    Bytes empty = SwfFile(10, 10).bytes();
    const Bytes whole = movingBox();
    const Bytes header(whole.begin(), whole.begin() + 10);
    for (const Case& c :
         {Case{"text", {'h', 'e', 'l', 'l', 'o', '!', '!', '!'}, "not a Flash movie"},
          Case{"lzma", lzma, "LZMA"}, Case{"no frame", empty, "no frame"},
          Case{"header", header, "header"}}) {
        const FlashConversionResult r =
            convertFlashToZvi(paramsFor(dir, c.bytes, 40, 20), nullptr, nullptr);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.name << ": " << r.error;
        EXPECT_FALSE(fileExists(dir.file("out.zvi"))) << c.name;
        media::Picture p;
        std::string error;
        EXPECT_FALSE(renderFlashFirstFrame(dir.file("movie.swf"), 96, 72, p, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
    media::Picture p;
    EXPECT_FALSE(renderFlashFirstFrame(dir.file("missing.swf"), 96, 72, p));
}

std::vector<uint8_t> bytesOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    readWholeFile(path, bytes);
    return bytes;
}

TEST(FlashTransform, AFailedConversionKeepsTheOldClipAndTheMovieIsNeverItsOwnClip) {
    MediaFolder dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("out.zvi"), {'o', 'l', 'd'}));
    const FlashConversionResult bad =
        convertFlashToZvi(paramsFor(dir, SwfFile(10, 10).bytes(), 40, 20), nullptr, nullptr);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bytesOf(dir.file("out.zvi")), (std::vector<uint8_t>{'o', 'l', 'd'}));

    // The movie itself, or a link to it, as the destination: refused, the movie unchanged.
    FlashConversionParams p = paramsFor(dir, movingBox(), 40, 20);
    const std::vector<uint8_t> movie = bytesOf(p.source);
    ASSERT_EQ(::symlink(p.source.c_str(), dir.file("link.zvi").c_str()), 0);
    for (const std::string& to : {p.source, dir.file("link.zvi")}) {
        p.destination = to;
        const FlashConversionResult r = convertFlashToZvi(p, nullptr, nullptr);
        EXPECT_FALSE(r.ok) << to;
        EXPECT_NE(r.error.find("is the movie itself"), std::string::npos) << r.error;
    }
    EXPECT_EQ(bytesOf(p.source), movie);
}

TEST(FlashTransform, DamagedMoviesKeepTheFramesBeforeTheDamage) {
    MediaFolder dir;
    const Bytes whole = movingBox();
    // Cut inside the fourth frame's PlaceObject2; the header still says five frames.
    const Bytes cut(whole.begin(), whole.end() - 8);
    const FlashConversionResult r =
        convertFlashToZvi(paramsFor(dir, cut, 40, 20), nullptr, nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.framesCaptured, 4);
    ASSERT_EQ(r.diagnostics.size(), 2u);
    EXPECT_NE(r.diagnostics[0].find("claims"), std::string::npos) << r.diagnostics[0];
    EXPECT_EQ(r.diagnostics[1], "the movie says 5 frames, 4 are in the file");
}

TEST(FlashTransform, FirstFrameForThumbnails) {
    MediaFolder dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("movie.swf"), movingBox()));
    media::Picture p;
    std::string error;
    ASSERT_TRUE(renderFlashFirstFrame(dir.file("movie.swf"), 96, 72, p, &error)) << error;
    EXPECT_EQ(p.width, 96);
    EXPECT_EQ(p.height, 72);
    EXPECT_TRUE(pixelNear(p, 4, 36, 0xFF0000, 0));
    EXPECT_TRUE(pixelNear(p, 20, 36, 0x000000, 0));
}

// Movies made by FFmpeg's SWF muxer: JPEG frames (a bitmap redefined every frame) and Sorenson
// H.263 video. Our clip's frames must match FFmpeg's own decoding of the same movie.
class FfmpegMovies : public testing::TestWithParam<const char*> {};

TEST_P(FfmpegMovies, FramesMatchFfmpegsDecoding) {
    MediaFolder dir;
    const std::string movie = dir.file("movie.swf");
    ASSERT_TRUE(media::test::runFfmpeg("-f lavfi -i testsrc=size=64x48:rate=10 -frames:v 8 -c:v " +
                                       std::string(GetParam()) + " -q:v 3 " + movie));
    ASSERT_TRUE(media::test::runFfmpeg("-i " + movie + " -f rawvideo -pix_fmt rgb24 " +
                                       dir.file("ref.rgb")));
    std::vector<uint8_t> ref;
    ASSERT_TRUE(readWholeFile(dir.file("ref.rgb"), ref));
    const size_t frameBytes = 64 * 48 * 3;
    ASSERT_EQ(ref.size(), 8 * frameBytes);

    FlashConversionParams p;
    p.source = movie;
    p.destination = dir.file("out.zvi");
    const FlashConversionResult r = convertFlashToZvi(p, nullptr, nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.diagnostics.empty()) << r.diagnostics.front();
    const auto frames = readFrames(p.destination);
    ASSERT_EQ(frames.size(), 8u);
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(frames[i].width, 64);
        ASSERT_EQ(frames[i].height, 48);
        double sum = 0;
        int worst = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint32_t px = frames[i].at(x, y);
                const uint8_t* q = &ref[i * frameBytes + size_t(y * 64 + x) * 3];
                for (int c = 0; c < 3; ++c) {
                    const int d = std::abs(int((px >> (16 - 8 * c)) & 0xFF) - int(q[c]));
                    sum += d;
                    worst = std::max(worst, d);
                }
            }
        const double mean = sum / (64 * 48 * 3);
        EXPECT_LT(mean, 4.0) << "frame " << i << " (worst channel difference " << worst << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Muxer, FfmpegMovies, testing::Values("mjpeg", "flv1"));

}  // namespace
}  // namespace brightline::swf::test
