// Clips converted by the real converter from videos the ffmpeg program made, played in a region
// in stepped mode: timing from the rate, damaged and cut clips, the PNG strip's 999 frames.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "engine/content/clip_player.h"
#include "engine/content/tests/content_fixture.h"
#include "media/video_converter.h"
#include "media/zvi_reader.h"

namespace brightline::content {
namespace {

using testing::scriptLines;
using testing::Workspace;

// Four frames at 10 a second: red, green, blue, white.
const char* const kFourColours =
    "color=black:s=16x8:r=10:d=0.4,format=rgb24,"
    "geq=r='255*(eq(N\\,0)+eq(N\\,3))':g='255*(eq(N\\,1)+eq(N\\,3))':b='255*(eq(N\\,2)+eq(N\\,3))'";

media::VideoConversionResult convert(const Workspace& ws, const std::string& video,
                                     const std::string& clip, media::FrameFormat format, int w,
                                     int h) {
    media::VideoConversionParams params;
    params.source = ws.file(video);
    params.destination = ws.file(clip);
    params.width = w;
    params.height = h;
    params.sizeMode = 3;
    params.format = format;
    return media::convertVideoToZvi(params, nullptr, nullptr);
}

// The colour letter of a pixel: R, G, B, W or K (black), by the nearest of the five.
char colourLetter(uint32_t p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    const struct {
        char letter;
        int r, g, b;
    } colours[] = {
        {'R', 255, 0, 0}, {'G', 0, 255, 0}, {'B', 0, 0, 255}, {'W', 255, 255, 255}, {'K', 0, 0, 0}};
    char best = '?';
    int bestDistance = 1 << 30;
    for (const auto& c : colours) {
        const int d = (r - c.r) * (r - c.r) + (g - c.g) * (g - c.g) + (b - c.b) * (b - c.b);
        if (d < bestDistance) {
            bestDistance = d;
            best = c.letter;
        }
    }
    return best;
}

// The letters of the frames' centre pixels, one a tick (a tick without a frame gives '-').
std::string letters(const Workspace::Result& result) {
    std::string out;
    uint64_t tick = 0;
    for (const auto& f : result.frames) {
        if (tick && f.tick > tick + 1) out.append(f.tick - tick - 1, '-');
        out += colourLetter(f.at(f.width / 2, f.height / 2));
        tick = f.tick;
    }
    return out;
}

// True when `shown` is the frame sequence of the records `records`, one a tick, or the same one
// tick late (the show step marks a frame changed after its wait, when the next record is in).
bool shownAs(const std::string& shown, const std::string& records) {
    if (shown == records) return true;
    return !records.empty() && shown == records.substr(1) + records.back();
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// File offsets of the length fields of the clip's records.
std::vector<size_t> recordOffsets(const std::vector<uint8_t>& clip) {
    std::vector<size_t> out;
    for (size_t at = 24; at + 4 <= clip.size(); at += 4 + le32(clip, at)) out.push_back(at);
    return out;
}

class TenFpsClip : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testing::runFfmpeg("-f lavfi -i \"" + std::string(kFourColours) +
                                       "\" -c:v mjpeg -q:v 2 " + ws.file("ten.avi")));
        const media::VideoConversionResult r =
            convert(ws, "ten.avi", "good.zvi", media::FrameFormat::Jpeg, 16, 8);
        ASSERT_TRUE(r.ok) << r.error;
        header = r.header;
        std::string error;
        ASSERT_TRUE(readWholeFile(ws.file("good.zvi"), bytes, &error)) << error;
        ws.write("run.at", testing::oneRegionShow(16, 8));
    }

    Workspace::Result playBytes(const std::vector<uint8_t>& clip, uint64_t maxTicks = 0) {
        ws.write("clip.zvi", std::string(clip.begin(), clip.end()));
        ws.write("10000.shw", scriptLines({"ZAVI Clip 0 0 SHOW NULL 0"}));
        return ws.play(ContentSettings(), maxTicks);
    }

    Workspace ws;
    media::ZviHeader header;
    std::vector<uint8_t> bytes;
};

TEST_F(TenFpsClip, HasRateThirtyWithDoubledFramesAndShowsOneRecordATick) {
    EXPECT_EQ(header.rate, 30);
    EXPECT_EQ(header.frameCount, 10);
    const auto result = playBytes(bytes);
    // Each video frame twice, then the closing black frame twice: 25 records a second.
    EXPECT_PRED2(shownAs, letters(result), "RRGGBBWWKK");
    EXPECT_NE(result.diagnostics.find("load " + ws.file("clip.zvi") + "\r\n"), std::string::npos);
    EXPECT_NE(result.diagnostics.find("samples_per_second=0\r\n"), std::string::npos);
    EXPECT_NE(result.diagnostics.find("ap samples_per_second=0 stop=0\r\n"), std::string::npos);
}

TEST_F(TenFpsClip, FramesWithoutEffectOrHoldStillTakeATickEach) {
    ws.write("clip.zvi", std::string(bytes.begin(), bytes.end()));
    ws.write("10000.shw", scriptLines({"ZAVI Clip 0 0 NULL NULL 0"}));
    const auto result = ws.play(ContentSettings(), 0);
    EXPECT_GE(result.ticks, 10u);  // one a record: the clip cannot hold the show's tick
}

TEST_F(TenFpsClip, DamagedFramesAreSkippedAndACutClipStopsAtItsLastGoodFrame) {
    const std::vector<size_t> records = recordOffsets(bytes);
    ASSERT_EQ(records.size(), 10u);
    struct Case {
        const char* what;
        std::vector<uint8_t> clip;
        const char* shown;
    };
    std::vector<Case> cases;
    {
        std::vector<uint8_t> clip = bytes;  // record 2 claims a negative length
        clip[records[2] + 3] = 0xFF;
        cases.push_back({"negative length", clip, "RRRGBBWWKK"});
    }
    {
        std::vector<uint8_t> clip = bytes;  // record 4 claims more than the file holds
        clip[records[4] + 2] = 0x7F;
        cases.push_back({"length past the end", clip, "RRGGGBWWKK"});
    }
    {
        std::vector<uint8_t> clip(bytes.begin(), bytes.begin() + long(records[5]) + 40);
        cases.push_back({"cut inside record 5", clip, "RRGGBB"});
    }
    {
        std::vector<uint8_t> clip(bytes.begin(), bytes.begin() + 24);
        cases.push_back({"header only", clip, ""});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = playBytes(c.clip);
        EXPECT_PRED2(shownAs, letters(result), c.shown);
    }
}

TEST_F(TenFpsClip, AStopBetweenFramesEndsTheClip) {
    std::vector<uint8_t> longClip = bytes;
    // The show is stopped after three ticks, in the middle of the clip.
    const auto result = playBytes(longClip, 3);
    EXPECT_EQ(result.ticks, 3u);
    EXPECT_PRED2(shownAs, letters(result), "RRG");
}

TEST(ClipStrip, APngStripOfTwelveHundredFramesScrollsOnlyTheFirst999) {
    Workspace ws;
    // Frame n has red 6 x (n mod 40) and green 8 x (n / 40): the colour names the frame.
    ASSERT_TRUE(testing::runFfmpeg(
        "-f lavfi -i \"color=black:s=8x4:r=25:d=48,format=rgb24,"
        "geq=r='6*mod(N\\,40)':g='8*floor(N/40)':b=0\" -c:v rawvideo -pix_fmt bgr24 " +
        ws.file("long.avi")));
    const media::VideoConversionResult converted =
        convert(ws, "long.avi", "strip.zvi", media::FrameFormat::Png, 8, 4);
    ASSERT_TRUE(converted.ok) << converted.error;
    ASSERT_EQ(converted.header.codecTag, "PNG ");
    ASSERT_EQ(converted.header.frameCount, 1201);
    auto frameOf = [](uint32_t p) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF;
        return (r + 3) / 6 + 40 * ((g + 4) / 8);
    };

    media::ZviReader reader;
    ASSERT_TRUE(reader.openFile(ws.file("strip.zvi")));
    std::vector<uint32_t> page0(8 * 4);
    engine::PageList pages;
    pages.reset(page0.data(), page0.size());
    EXPECT_EQ(buildClipStrip(reader, pages, 8, 4), 999);
    EXPECT_EQ(pages.lastPageNumber(), 999);
    for (int n : {0, 1, 500, 998}) EXPECT_EQ(frameOf(pages.page(n)[0]), n) << "page " << n;
    for (int i = 0; i < 32; ++i) EXPECT_EQ(pages.page(999)[i], 0u) << "the closing blank page";

    ws.write("run.at", testing::oneRegionShow(8, 4));
    ws.write("10000.shw", scriptLines({"ZAVI strip 0 7 DFR_LF NULL 0"}));
    const auto result = ws.play();
    ASSERT_FALSE(result.frames.empty());
    int highest = -1;
    for (const auto& f : result.frames)
        for (uint32_t p : f.pixels)
            if (p != 0) highest = std::max(highest, frameOf(p));
    EXPECT_EQ(highest, 998);
    EXPECT_NE(result.diagnostics.find("samples_per_second=0\r\n"), std::string::npos);
    EXPECT_EQ(result.diagnostics.find("ap samples_per_second"), std::string::npos)
        << "a strip runs one entry effect, not one a frame";
}

}  // namespace
}  // namespace brightline::content
