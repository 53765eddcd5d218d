// Converting real videos (made by ffmpeg in three codecs) and text page files into clips.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include <gtest/gtest.h>

#include "common/byte_writer.h"
#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/tests/clip_fixture.h"
#include "media/video_converter.h"
#include "media/video_source.h"
#include "media/zrt_converter.h"
#include "media/zrt_file.h"
#include "media/zvi_reader.h"

namespace brightline::media {
namespace {

using test::MediaFolder;

struct ReadClip {
    ZviHeader header;
    std::vector<ZviFrameRecord> records;
    std::vector<Picture> frames;
};

ReadClip readClip(const std::string& path) {
    ReadClip clip;
    ZviReader records, frames;
    EXPECT_TRUE(records.openFile(path));
    EXPECT_TRUE(frames.openFile(path));
    clip.header = records.header();
    ZviFrameRecord rec;
    while (records.nextRecord(rec) == RecordStatus::Ok) clip.records.push_back(rec);
    Picture pic;
    while (frames.readFrame(pic) == ClipFrameStatus::Decoded) clip.frames.push_back(pic);
    return clip;
}

bool allBlack(const Picture& p) {
    for (uint32_t px : p.pixels)
        if (px != 0) return false;
    return true;
}

VideoConversionParams paramsFor(const MediaFolder& dir, const std::string& source,
                                int sizeMode = 1) {
    VideoConversionParams p;
    p.source = source;
    p.destination = dir.file("out.zvi");
    p.sizeMode = sizeMode;
    return p;
}

class VideoCodecs : public ::testing::TestWithParam<const char*> {};

TEST_P(VideoCodecs, TwentyFiveFpsVideoGivesRate26AndEndsWithOneBlackFrame) {
    MediaFolder dir;
    const std::string src = test::makeVideo(dir.file("a.avi"), GetParam(), "25", 64, 32, 1);
    std::vector<std::pair<int, int>> progress;
    const VideoConversionResult r = convertVideoToZvi(
        paramsFor(dir, src), [&](int done, int total) { progress.emplace_back(done, total); },
        nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.framesConverted, 25);
    EXPECT_FALSE(r.cancelled);
    ASSERT_EQ(progress.size(), 25u);
    EXPECT_EQ(progress.back(), std::make_pair(25, 25));

    const ReadClip clip = readClip(dir.file("out.zvi"));
    EXPECT_EQ(clip.header.codecTag, "JPG ");
    EXPECT_EQ(clip.header.rate, 26);
    EXPECT_EQ(clip.header.frameCount, 26);
    EXPECT_EQ(clip.header.width, 64);
    EXPECT_EQ(clip.header.height, 32);
    ASSERT_EQ(clip.frames.size(), 26u);
    for (const auto& rec : clip.records) EXPECT_TRUE(rec.checksumMatches());
    for (size_t i = 0; i + 1 < clip.frames.size(); ++i) {
        EXPECT_EQ(clip.frames[i].width, 64);
        EXPECT_FALSE(allBlack(clip.frames[i])) << i;
    }
    EXPECT_TRUE(allBlack(clip.frames.back()));
}

TEST_P(VideoCodecs, TenFpsVideoGivesRate30WithEveryFrameTwice) {
    MediaFolder dir;
    const std::string src = test::makeVideo(dir.file("b.avi"), GetParam(), "10", 64, 32, 1);
    const VideoConversionResult r = convertVideoToZvi(paramsFor(dir, src), nullptr, nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.framesConverted, 10);
    const ReadClip clip = readClip(dir.file("out.zvi"));
    EXPECT_EQ(clip.header.rate, 30);
    EXPECT_EQ(clip.header.frameCount, 22);
    ASSERT_EQ(clip.records.size(), 22u);
    for (size_t i = 0; i < 22; i += 2)
        EXPECT_EQ(clip.records[i].stream, clip.records[i + 1].stream) << i;
    EXPECT_NE(clip.records[0].stream, clip.records[2].stream);
    EXPECT_TRUE(allBlack(clip.frames[20]));
    EXPECT_TRUE(allBlack(clip.frames[21]));
}

INSTANTIATE_TEST_SUITE_P(Ffmpeg, VideoCodecs, ::testing::Values("mjpeg", "mpeg4", "rawvideo"));

TEST(VideoConversion, SizeModesGreyModeAndFirstFrame) {
    MediaFolder dir;
    const std::string src = test::makeVideo(dir.file("c.mp4"), "mpeg4", "25", 64, 32, 0.4);
    struct Case {
        int mode, w, h;
    };
    for (const Case c : {Case{0, 32, 16}, Case{2, 128, 64}, Case{3, 40, 24}}) {
        VideoConversionParams p = paramsFor(dir, src, c.mode);
        p.width = 40;
        p.height = 24;
        const VideoConversionResult r = convertVideoToZvi(p, nullptr, nullptr);
        ASSERT_TRUE(r.ok) << r.error;
        const ReadClip clip = readClip(p.destination);
        EXPECT_EQ(clip.header.width, c.w);
        EXPECT_EQ(clip.header.height, c.h);
        ASSERT_FALSE(clip.frames.empty());
        EXPECT_EQ(clip.frames[0].width, c.w);
        EXPECT_EQ(clip.frames[0].height, c.h);
    }
    VideoConversionParams p = paramsFor(dir, src);
    p.greyMode = true;
    p.firstFrame = 4;
    p.jpegQuality = 100;
    const VideoConversionResult r = convertVideoToZvi(p, nullptr, nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.framesConverted, 6);
    const ReadClip clip = readClip(p.destination);
    EXPECT_EQ(clip.header.frameCount, 7);
    for (const Picture& f : clip.frames) {
        for (uint32_t px : f.pixels) {
            const int r8 = px >> 16 & 0xFF, g8 = px >> 8 & 0xFF, b8 = px & 0xFF;
            ASSERT_LE(std::abs(r8 - g8) + std::abs(g8 - b8), 12) << std::hex << px;
        }
    }
}

TEST(VideoConversion, CancelStopsTheLoopAndTheClipStillEndsBlack) {
    MediaFolder dir;
    const std::string src = test::makeVideo(dir.file("d.avi"), "mjpeg", "25", 64, 32, 2);
    std::atomic<bool> cancel{false};
    const VideoConversionResult r = convertVideoToZvi(
        paramsFor(dir, src),
        [&](int done, int) {
            if (done == 3) cancel.store(true);
        },
        &cancel);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.framesConverted, 3);
    const ReadClip clip = readClip(dir.file("out.zvi"));
    EXPECT_EQ(clip.header.frameCount, 4) << "the header names the frames really written";
    ASSERT_EQ(clip.frames.size(), 4u);
    EXPECT_TRUE(allBlack(clip.frames[3]));
}

TEST(VideoConversion, WorkerThreadReportsProgressAndCanBeCancelled) {
    MediaFolder dir;
    const std::string src = test::makeVideo(dir.file("e.avi"), "mpeg4", "25", 64, 32, 1);
    std::atomic<int> last{0};
    VideoConversion worker;
    ASSERT_TRUE(worker.start(paramsFor(dir, src), [&](int done, int) { last.store(done); }));
    EXPECT_FALSE(worker.start(paramsFor(dir, src))) << "one conversion at a time per worker";
    const VideoConversionResult r = worker.wait();
    EXPECT_TRUE(worker.finished());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(last.load(), 25);

    VideoConversion cancelled;
    std::atomic<bool> started{false};
    ASSERT_TRUE(cancelled.start(paramsFor(dir, src), [&](int, int) { started.store(true); }));
    cancelled.cancel();
    const VideoConversionResult c = cancelled.wait();
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_LT(c.framesConverted, 25);
}

TEST(VideoConversion, UnreadableVideoConvertsNothingAndLeavesTheDestination) {
    MediaFolder dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("bad.avi"), {'R', 'I', 'F', 'F', 0, 0}));
    ASSERT_TRUE(writeFileAtomically(dir.file("out.zvi"), {9}));
    for (const std::string& src : {dir.file("bad.avi"), dir.file("missing.avi")}) {
        const VideoConversionResult r = convertVideoToZvi(paramsFor(dir, src), nullptr, nullptr);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.framesConverted, 0);
        EXPECT_FALSE(r.error.empty());
    }
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(dir.file("out.zvi"), bytes));
    EXPECT_EQ(bytes, std::vector<uint8_t>{9});
}

std::vector<uint8_t> bytesOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    readWholeFile(path, bytes);
    return bytes;
}

TEST(VideoConversion, AVideoWithoutFramesKeepsTheOldClip) {
    MediaFolder dir;
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i color=c=red:size=16x8:r=10 -frames:v 0 -c:v mjpeg " +
                                dir.file("empty.avi")));
    ASSERT_TRUE(writeFileAtomically(dir.file("out.zvi"), {'o', 'l', 'd'}));
    const VideoConversionResult r =
        convertVideoToZvi(paramsFor(dir, dir.file("empty.avi")), nullptr, nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("no video frame could be converted"), std::string::npos) << r.error;
    EXPECT_EQ(bytesOf(dir.file("out.zvi")), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST(VideoInformation, SizeLengthRoundedRateAndFirstFrameBitmap) {
    MediaFolder dir;
    const std::string src =
        test::makeVideo(dir.file("Clip One.avi"), "mjpeg", "30000/1001", 64, 32, 1);
    VideoInfo info;
    std::string bmp, error;
    ASSERT_TRUE(videoInformation(src, info, dir.file("thumbs"), &bmp, &error)) << error;
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 32);
    EXPECT_EQ(info.roundedFramesPerSecond(), 30);
    EXPECT_EQ(info.wholeFramesPerSecond(), 29);
    EXPECT_EQ(info.length, 30);
    EXPECT_EQ(bmp, dir.file("thumbs") + "/Clip One.bmp");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(bmp, bytes));
    Picture first;
    ASSERT_TRUE(placeBmp24(bytes, 64, 32, first)) << "a 24-bit bitmap the loader shows";
    EXPECT_FALSE(allBlack(first));
    EXPECT_FALSE(videoInformation(dir.file("none.avi"), info, "", nullptr, &error));
}

// A text page file as the editor writes it: the header, a small document section, then the
// page pictures as length and bitmap file.
std::vector<uint8_t> zrtFile(int w, int h, const std::vector<std::vector<uint8_t>>& pages,
                             const char* mark = "ZRT", int version = 1) {
    ByteWriter body;
    body.u16(0);  // the lines section of an empty document: a big-endian count of 0
    const uint32_t pageOffset = uint32_t(kZrtHeaderSize + body.data().size());
    ByteWriter f;
    std::string m(mark);
    m.resize(4, '\0');
    f.text(m);
    f.i32(version);
    f.u32(60);
    for (int i = 0; i < 7; ++i) f.u32(0);
    f.i32(0);  // vertical layout
    f.i32(w);
    f.i32(h);
    f.u32(pageOffset);
    f.i32(int32_t(pages.size()));
    f.bytes(body.data().data(), body.data().size());
    for (const auto& p : pages) {
        f.u32(uint32_t(p.size()));
        f.bytes(p.data(), p.size());
    }
    return f.take();
}

Picture stripes(int w, int h, uint32_t colour) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.at(x, y) = (x / 4 + y) % 2 ? colour : 0x102030;
    return p;
}

TEST(ZrtConversion, PagesBecomePngFramesAtRate30) {
    MediaFolder dir;
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i color=c=red:size=32x16 -frames:v 1 -pix_fmt pal8 " +
                                dir.file("p.bmp")));
    std::vector<uint8_t> palettePage;
    ASSERT_TRUE(readWholeFile(dir.file("p.bmp"), palettePage));
    const Picture a = stripes(32, 16, 0xFFFFFF), b = stripes(32, 16, 0x00FF00);
    ASSERT_TRUE(writeFileAtomically(
        dir.file("t.ZRT"), zrtFile(32, 16, {encodeBmp24(a), palettePage, encodeBmp24(b)})));
    const ZrtConversionResult r = convertZrtToZvi(dir.file("t.ZRT"), dir.file("t.zvi"));
    ASSERT_EQ(r.frames, 3) << r.error;
    const ReadClip clip = readClip(dir.file("t.zvi"));
    EXPECT_EQ(clip.header, r.header);
    EXPECT_EQ(clip.header.codecTag, "PNG ");
    EXPECT_EQ(clip.header.rate, 30);
    EXPECT_EQ(clip.header.frameCount, 3);
    EXPECT_EQ(clip.header.width, 32);
    EXPECT_EQ(clip.header.height, 16);
    ASSERT_EQ(clip.frames.size(), 3u);
    EXPECT_EQ(clip.frames[0].pixels, a.pixels) << "pages are kept pixel for pixel";
    EXPECT_EQ(clip.frames[2].pixels, b.pixels);
    EXPECT_NEAR(int(clip.frames[1].at(5, 5) >> 16), 0xFF, 8);

    std::string error;
    const std::string first = firstFrameOfZrt(dir.file("t.ZRT"), dir.path(), &error);
    ASSERT_EQ(first, dir.file("1.tmp")) << error;
    std::vector<uint8_t> copied;
    ASSERT_TRUE(readWholeFile(first, copied));
    EXPECT_EQ(copied, encodeBmp24(a));
}

TEST(ZrtConversion, WrongMarkShortHeaderAndCutPages) {
    MediaFolder dir;
    const Picture a = stripes(16, 8, 0xFF0000);
    const auto page = encodeBmp24(a);
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        int frames;
    };
    std::vector<uint8_t> cut = zrtFile(16, 8, {page, page});
    cut.resize(cut.size() - 10);
    std::vector<uint8_t> huge = zrtFile(16, 8, {page, page});
    huge[62 + 4 + page.size()] = 0xFF;  // second page's size far beyond the file
    huge[62 + 4 + page.size() + 3] = 0x7F;
    std::vector<uint8_t> notBitmap = zrtFile(16, 8, {page, {1, 2, 3, 4}, page});
    const Case cases[] = {
        {"lower-case mark", zrtFile(16, 8, {page}, "zrt"), 1},
        {"wrong mark", zrtFile(16, 8, {page}, "ZRX"), 0},
        {"mark without its zero", zrtFile(16, 8, {page}, "ZRTX"), 0},
        {"version 2", zrtFile(16, 8, {page}, "ZRT", 2), 0},
        {"short header", std::vector<uint8_t>(59, 0), -1},
        {"last page cut", cut, 1},
        {"page size past the end", huge, 1},
        {"page that is no bitmap", notBitmap, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeFileAtomically(dir.file("x.ZRT"), c.file));
        const ZrtConversionResult r = convertZrtToZvi(dir.file("x.ZRT"), dir.file("x.zvi"));
        EXPECT_EQ(r.frames, c.frames) << r.error;
        if (c.frames > 0) {
            EXPECT_EQ(readClip(dir.file("x.zvi")).frames.size(), size_t(c.frames));
        }
        EXPECT_EQ(firstFrameOfZrt(dir.file("x.ZRT"), dir.path()).empty(), c.frames <= 0);
    }
    EXPECT_EQ(convertZrtToZvi(dir.file("missing.ZRT"), dir.file("x.zvi")).frames, -1);
}

TEST(ZrtConversion, TextPagesThatGiveNoPageOrLieAboutTheirSizeKeepTheOldClip) {
    MediaFolder dir;
    const auto page = encodeBmp24(stripes(16, 8, 0xFF0000));
    std::vector<uint8_t> cut = zrtFile(16, 8, {page});
    cut.resize(cut.size() - 10);
    std::vector<uint8_t> absurd = zrtFile(16, 8, {page});
    absurd[62] = 0xFF;  // the page picture claims 2 GiB
    absurd[65] = 0x7F;
    std::vector<uint8_t> vast = zrtFile(8192, 8192, {page});
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        const char* why;
    } cases[] = {
        {"truncated", cut, "no page could be read"},
        {"absurd page length", absurd, "no page could be read"},
        {"no pages", zrtFile(16, 8, {}), "needs more than"},
        {"8192 x 8192 in a few bytes", vast, "needs more than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeFileAtomically(dir.file("x.ZRT"), c.file));
        ASSERT_TRUE(writeFileAtomically(dir.file("x.zvi"), {'o', 'l', 'd'}));
        const ZrtConversionResult r = convertZrtToZvi(dir.file("x.ZRT"), dir.file("x.zvi"));
        EXPECT_EQ(r.frames, -1);
        EXPECT_NE(r.error.find(c.why), std::string::npos) << r.error;
        EXPECT_EQ(bytesOf(dir.file("x.zvi")), (std::vector<uint8_t>{'o', 'l', 'd'}));
    }
}

TEST(Conversion, AnOutputThatIsItsOwnInputIsRefused) {
    MediaFolder dir;
    const std::string video = test::makeVideo(dir.file("s.avi"), "mjpeg", "10", 16, 8, 0.3);
    const std::vector<uint8_t> before = bytesOf(video);
    ASSERT_EQ(::symlink(video.c_str(), dir.file("link.zvi").c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(dir.file("t.ZRT"),
                                    zrtFile(8, 8, {encodeBmp24(stripes(8, 8, 0xFF0000))})));
    const std::vector<uint8_t> page = bytesOf(dir.file("t.ZRT"));
    for (const std::string& to : {video, dir.file("link.zvi")}) {
        VideoConversionParams p = paramsFor(dir, video);
        p.destination = to;
        const VideoConversionResult r = convertVideoToZvi(p, nullptr, nullptr);
        EXPECT_FALSE(r.ok) << to;
        EXPECT_NE(r.error.find("is the video itself"), std::string::npos) << r.error;
    }
    const ZrtConversionResult z = convertZrtToZvi(dir.file("t.ZRT"), dir.file("t.ZRT"));
    EXPECT_EQ(z.frames, -1);
    EXPECT_NE(z.error.find("is the text page itself"), std::string::npos) << z.error;
    EXPECT_EQ(bytesOf(video), before);
    EXPECT_EQ(bytesOf(dir.file("t.ZRT")), page);
}

TEST(Conversion, AClipIsWrittenThroughALinkAndNotOntoOtherKindsOfFile) {
    MediaFolder dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("t.ZRT"),
                                    zrtFile(8, 8, {encodeBmp24(stripes(8, 8, 0xFF0000))})));
    ASSERT_EQ(::mkdir(dir.file("clips").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("clips/real.zvi", dir.file("link.zvi").c_str()), 0);
    ASSERT_EQ(convertZrtToZvi(dir.file("t.ZRT"), dir.file("link.zvi")).frames, 1);
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("link.zvi").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    EXPECT_EQ(readClip(dir.file("clips/real.zvi")).frames.size(), 1u);

    ASSERT_EQ(::mkfifo(dir.file("fifo.zvi").c_str(), 0644), 0);
    const ZrtConversionResult r = convertZrtToZvi(dir.file("t.ZRT"), dir.file("fifo.zvi"));
    EXPECT_EQ(r.frames, -1);
    EXPECT_NE(r.error.find("not a regular file"), std::string::npos) << r.error;
    ASSERT_EQ(::lstat(dir.file("fifo.zvi").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // And a FIFO is no text page or video to read either (it would block for ever).
    EXPECT_NE(
        convertZrtToZvi(dir.file("fifo.zvi"), dir.file("x.zvi")).error.find("not a regular file"),
        std::string::npos);
    VideoConversionParams p = paramsFor(dir, dir.file("fifo.zvi"));
    EXPECT_NE(convertVideoToZvi(p, nullptr, nullptr).error.find("not a regular file"),
              std::string::npos);
}

}  // namespace
}  // namespace brightline::media
