// The ZVI clip: bytes of header and frame records, reading past damage, and the clip rules.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "media/clip_rules.h"
#include "media/jpeg_picture.h"
#include "media/png_picture.h"
#include "media/tests/clip_fixture.h"
#include "media/zvi_reader.h"
#include "media/zvi_writer.h"

namespace brightline::media {
namespace {

void put32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
}

// Small real frames: a solid colour each, so a decoded frame tells which one it was.
std::vector<std::vector<uint8_t>> colourFrames(ZviCodec codec, int n, int w = 16, int h = 8) {
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < n; ++i) {
        Picture p(w, h);
        for (uint32_t& px : p.pixels) px = uint32_t(i * 40) << 16;
        std::vector<uint8_t> bytes;
        if (codec == ZviCodec::Png)
            EXPECT_TRUE(encodePng(p, bytes));
        else
            EXPECT_TRUE(encodeJpeg(p, 100, bytes));
        frames.push_back(bytes);
    }
    return frames;
}

ZviHeader headerFor(ZviCodec codec, int frames) {
    ZviHeader h;
    h.codecTag = codec == ZviCodec::Png ? kZviCodecPng : kZviCodecJpeg;
    h.rate = 26;
    h.frameCount = frames;
    h.width = 16;
    h.height = 8;
    return h;
}

// Reads a whole clip: -1 for a skipped frame, -2 at the end, else the red value of the frame.
std::vector<int> playOrder(const std::vector<uint8_t>& clip) {
    ZviReader reader;
    std::vector<int> order;
    if (!reader.open(std::make_unique<MemoryByteSource>(clip))) return order;
    for (int guard = 0; guard < 1000; ++guard) {
        Picture frame;
        const ClipFrameStatus s = reader.readFrame(frame);
        if (s == ClipFrameStatus::End) break;
        order.push_back(s == ClipFrameStatus::Skipped ? -1 : int(frame.at(0, 0) >> 16 & 0xFF));
    }
    return order;
}

TEST(ZviFormat, HeaderAndRecordBytesWithPaddingAndChecksum) {
    ZviHeader h;
    h.codecTag = kZviCodecPng;
    h.rate = 30;
    h.frameCount = 2;
    h.width = 64;
    h.height = 32;
    const std::vector<uint8_t> head = {'Z', 'A', 'V', 'I', 'P', 'N', 'G', ' ', 30, 0, 0, 0,
                                       2,   0,   0,   0,   64,  0,   0,   0,   32, 0, 0, 0};
    EXPECT_EQ(encodeZviHeader(h), head);
    ZviHeader back;
    ASSERT_TRUE(decodeZviHeader(head.data(), head.size(), back));
    EXPECT_EQ(back, h);

    struct Case {
        std::vector<uint8_t> stream;
        std::vector<uint8_t> record;
    };
    const Case cases[] = {
        // Odd length: one zero byte of padding, L = 3 + 1 + 2; sum 0x0201 + 0x0003.
        {{1, 2, 3}, {6, 0, 0, 0, 1, 2, 3, 0, 0x04, 0x02}},
        // Even length, the sum wraps at 16 bits: 0xFFFF + 0x0002 = 0x0001.
        {{0xFF, 0xFF, 2, 0}, {6, 0, 0, 0, 0xFF, 0xFF, 2, 0, 0x01, 0x00}},
        {{}, {2, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(encodeZviFrameRecord(c.stream.data(), c.stream.size()), c.record);

    EXPECT_EQ(clipPath("/W/", "70001002"), "/W/70001002.zvi");
    EXPECT_EQ(clipPath("/W", "Intro_A"), "/W/intro_a.zvi");

    std::string error;
    EXPECT_FALSE(decodeZviHeader(head.data(), 23, back, &error));
    std::vector<uint8_t> wrong = head;
    wrong[0] = 'X';
    EXPECT_FALSE(decodeZviHeader(wrong.data(), wrong.size(), back, &error));
    EXPECT_NE(error.find("ZAVI"), std::string::npos);
}

TEST(ZviReader, ReadsBackWhatTheWriterWroteWithChecksums) {
    test::MediaFolder dir;
    const auto frames = colourFrames(ZviCodec::Jpeg, 3);
    ZviWriter writer;
    ASSERT_TRUE(writer.open(dir.file("a.zvi"), headerFor(ZviCodec::Jpeg, 99)));
    for (const auto& f : frames) ASSERT_TRUE(writer.appendFrame(f));
    ASSERT_TRUE(writer.finish(3));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(dir.file("a.zvi"), bytes));
    EXPECT_EQ(bytes, buildZviClip(headerFor(ZviCodec::Jpeg, 3), frames))
        << "finish() stores the real count";

    ZviReader reader;
    ASSERT_TRUE(reader.openFile(dir.file("a.zvi")));
    EXPECT_EQ(reader.header().frameCount, 3);
    ZviFrameRecord rec;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(reader.nextRecord(rec), RecordStatus::Ok);
        EXPECT_EQ(rec.index, i);
        EXPECT_TRUE(rec.checksumMatches());
        EXPECT_EQ(rec.stream.size(), frames[size_t(i)].size() + (frames[size_t(i)].size() & 1));
    }
    EXPECT_EQ(reader.nextRecord(rec), RecordStatus::End);
    EXPECT_EQ(playOrder(bytes), (std::vector<int>{0, 40, 80}));
}

TEST(ZviReader, UnusableLengthsSkipTheFrameAndTheRestStillPlays) {
    for (ZviCodec codec : {ZviCodec::Jpeg, ZviCodec::Png}) {
        const auto frames = colourFrames(codec, 4);
        const std::vector<uint8_t> good = buildZviClip(headerFor(codec, 4), frames);
        const size_t second = kZviHeaderSize + 4 + frames[0].size() + (frames[0].size() & 1) + 2;
        struct Case {
            const char* what;
            int32_t length;
        };
        for (const Case c : {Case{"negative", -5}, Case{"too long", 70000000},
                             Case{"past the end", 1000000}, Case{"shorter than its checksum", 1}}) {
            SCOPED_TRACE(c.what);
            std::vector<uint8_t> clip = good;
            put32(clip, second, c.length);
            EXPECT_EQ(playOrder(clip), (std::vector<int>{0, -1, 80, 120}));
        }
        // A stream whose bytes are damaged decodes no picture or a picture; either way the next
        // frame follows.
        std::vector<uint8_t> clip = good;
        for (size_t i = 0; i < 40; ++i) clip[second + 4 + i] = 0;
        const std::vector<int> order = playOrder(clip);
        ASSERT_EQ(order.size(), 4u);
        EXPECT_EQ(order[0], 0);
        EXPECT_EQ(order[2], 80);
    }
}

TEST(ZviReader, DamagedLengthIsReportedWithWhatIsLeft) {
    const auto frames = colourFrames(ZviCodec::Jpeg, 1);
    std::vector<uint8_t> clip = buildZviClip(headerFor(ZviCodec::Jpeg, 1), frames);
    put32(clip, kZviHeaderSize, 70000);
    ZviReader reader;
    ASSERT_TRUE(reader.open(std::make_unique<MemoryByteSource>(clip)));
    ZviFrameRecord rec;
    std::string why;
    EXPECT_EQ(reader.nextRecord(rec, &why), RecordStatus::Damaged);
    EXPECT_EQ(why, "clip frame 0 claims 70000 bytes, " +
                       std::to_string(clip.size() - kZviHeaderSize - 4) + " left");
    EXPECT_EQ(reader.nextRecord(rec, &why), RecordStatus::End);
}

TEST(ZviReader, EveryPrefixOfAClipPlaysItsWholeFramesAndStops) {
    const auto frames = colourFrames(ZviCodec::Png, 3, 8, 4);
    const std::vector<uint8_t> clip = buildZviClip(headerFor(ZviCodec::Png, 3), frames);
    size_t recordEnd[3];
    size_t at = kZviHeaderSize;
    for (int i = 0; i < 3; ++i)
        recordEnd[i] = at += 4 + frames[size_t(i)].size() + (frames[size_t(i)].size() & 1) + 2;
    for (size_t cut = 0; cut <= clip.size(); ++cut) {
        const std::vector<uint8_t> part(clip.begin(), clip.begin() + long(cut));
        const std::vector<int> order = playOrder(part);
        if (cut < kZviHeaderSize) {
            EXPECT_TRUE(order.empty());
            continue;
        }
        int whole = 0;
        while (whole < 3 && recordEnd[whole] <= cut) ++whole;
        // Whole records play in order; a cut-off record is at most one skipped frame, then the end.
        ASSERT_GE(order.size(), size_t(whole)) << cut;
        ASSERT_LE(order.size(), size_t(whole) + 1) << cut;
        for (int i = 0; i < whole; ++i) EXPECT_EQ(order[size_t(i)], i * 40) << cut;
        if (order.size() > size_t(whole)) {
            EXPECT_EQ(order.back(), -1) << cut;
        }
    }
}

TEST(ZviReader, FramesIntoARegionPageReportPngSizeMismatch) {
    struct Case {
        ZviCodec codec;
        int regionW, regionH;
        ClipPageResult want;
    };
    for (const Case c : {Case{ZviCodec::Png, 16, 8, ClipPageResult::Shown},
                         Case{ZviCodec::Png, 20, 8, ClipPageResult::ShownSizeDiffers},
                         Case{ZviCodec::Jpeg, 20, 4, ClipPageResult::Shown}}) {
        const auto frames = colourFrames(c.codec, 2);
        std::vector<uint8_t> clip = buildZviClip(headerFor(c.codec, 3), frames);
        put32(clip, kZviHeaderSize + 4 + frames[0].size() + (frames[0].size() & 1) + 2, -1);
        ZviReader reader;
        ASSERT_TRUE(reader.open(std::make_unique<MemoryByteSource>(clip)));
        Picture page;
        ASSERT_EQ(readClipFrameIntoPage(reader, c.regionW, c.regionH, page), c.want);
        ASSERT_EQ(page.width, c.regionW);
        ASSERT_EQ(page.height, c.regionH);
        EXPECT_EQ(page.at(15, std::min(c.regionH, 8) - 1), 0u) << "frame 0 is black";
        if (c.regionW > 16) {
            EXPECT_EQ(page.at(16, 0), 0u);
        }
        // Frame 1's length is damaged: the page keeps frame 0; then the clip ends.
        const Picture before = page;
        std::string why;
        EXPECT_EQ(readClipFrameIntoPage(reader, c.regionW, c.regionH, page, &why),
                  ClipPageResult::Failed);
        EXPECT_EQ(why, "clip frame 1 has length -1");
        EXPECT_EQ(page.pixels, before.pixels);
        EXPECT_EQ(readClipFrameIntoPage(reader, c.regionW, c.regionH, page), ClipPageResult::End);
    }
}

TEST(ZviWriter, AbandonedClipLeavesNoFileAndTheOldDestinationStaysUntilTheClipIsDone) {
    test::MediaFolder dir;
    const auto frames = colourFrames(ZviCodec::Png, 2);
    {
        ZviWriter writer;
        ASSERT_TRUE(writer.open(dir.file("gone.zvi"), headerFor(ZviCodec::Png, 2)));
        ASSERT_TRUE(writer.appendFrame(frames[0]));
    }
    EXPECT_FALSE(fileExists(dir.file("gone.zvi")));

    ASSERT_TRUE(writeFileAtomically(dir.file("old.zvi"), {1, 2, 3}));
    {
        ZviWriter writer;
        ASSERT_TRUE(writer.open(dir.file("old.zvi"), headerFor(ZviCodec::Png, 2)));
        ASSERT_TRUE(writer.appendFrame(frames[0]));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(readWholeFile(dir.file("old.zvi"), bytes));
        EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}))
            << "nothing is written over the clip until it is done";
        ASSERT_TRUE(writer.appendFrame(frames[1]));
        ASSERT_TRUE(writer.finish(2));
    }
    EXPECT_EQ(playOrder([&] {
                  std::vector<uint8_t> b;
                  readWholeFile(dir.file("old.zvi"), b);
                  return b;
              }()),
              (std::vector<int>{0, 40}));
}

TEST(ClipRules, RateGivesSpeedAndSpeedGivesFramesPerSecond) {
    struct Case {
        int rate, speed;
    };
    for (const Case c : {Case{30, 0}, Case{26, 0}, Case{21, 0}, Case{20, 1}, Case{13, 1},
                         Case{12, 2}, Case{0, 2}}) {
        EXPECT_EQ(clipSpeedForRate(c.rate), c.speed) << c.rate;
    }
    // Speed 0 shows a frame every 40 ms tick: 25 frames a second.
    EXPECT_EQ(1000 / (40 * ticksPerClipFrame(clipSpeedForRate(30))), 25);
    EXPECT_EQ(ticksPerClipFrame(1), 2);
    EXPECT_EQ(ticksPerClipFrame(2), 3);
    EXPECT_EQ(effectiveClipSpeed(3, 0), 3);
    EXPECT_EQ(effectiveClipSpeed(0, 2), 2);
    EXPECT_EQ(effectiveClipSpeed(-1, 1), 1);
}

TEST(ClipRules, PngStripOfDfrEffectsUsesAtMost999Frames) {
    EXPECT_TRUE(playsAsStrip(ZviCodec::Png, "DFR_LF"));
    EXPECT_TRUE(playsAsStrip(ZviCodec::Png, "DFR_RT"));
    EXPECT_FALSE(playsAsStrip(ZviCodec::Jpeg, "DFR_LF"));
    EXPECT_FALSE(playsAsStrip(ZviCodec::Png, "DFR_LF_TOP"));
    EXPECT_FALSE(playsAsStrip(ZviCodec::Png, "SHOW"));
    ZviHeader h;
    h.codecTag = kZviCodecPng;
    h.rate = 30;
    h.frameCount = 1200;
    struct Case {
        const char* codec;
        const char* entry;
        int speed;
        bool strip;
        int frames;
        int planSpeed;
    };
    for (const Case c :
         {Case{"PNG ", "DFR_LF", 0, true, 999, 0}, Case{"PNG ", "DFR_RT", 3, true, 999, 3},
          Case{"PNG ", "SHOW", 0, false, 1200, 0}, Case{"JPG ", "DFR_LF", -1, false, 1200, 0}}) {
        h.codecTag = c.codec;
        const ClipPlan plan = planClip(h, c.speed, c.entry);
        EXPECT_EQ(plan.strip, c.strip) << c.codec << c.entry;
        EXPECT_EQ(plan.framesToRead, c.frames) << c.codec << c.entry;
        EXPECT_EQ(plan.speed, c.planSpeed) << c.codec << c.entry;
    }
    EXPECT_EQ(stripFrameCount(1200), 999);
    EXPECT_EQ(stripFrameCount(999), 999);
    EXPECT_EQ(stripFrameCount(12), 12);
    EXPECT_EQ(stripFrameCount(-4), 0);
}

TEST(ClipRules, ConverterTimingAndSizeModes) {
    struct Timing {
        int fps, length, rate, count, copies;
    };
    for (const Timing t :
         {Timing{10, 10, 30, 22, 2}, Timing{25, 25, 26, 26, 1}, Timing{19, 5, 20, 6, 1},
          Timing{18, 5, 30, 12, 2}, Timing{0, 0, 30, 2, 2}}) {
        const ClipTiming c = clipTimingForVideo(t.fps, t.length);
        EXPECT_EQ(c.rate, t.rate) << t.fps;
        EXPECT_EQ(c.frameCount, t.count) << t.fps;
        EXPECT_EQ(c.copies, t.copies) << t.fps;
    }
    struct Size {
        int mode, w, h;
    };
    for (const Size s : {Size{0, 320, 180}, Size{1, 640, 360}, Size{2, 1280, 720},
                         Size{3, 256, 128}, Size{7, 256, 128}}) {
        int w = 0, h = 0;
        ASSERT_TRUE(clipOutputSize(s.mode, 640, 360, 256, 128, w, h));
        EXPECT_EQ(w, s.w) << s.mode;
        EXPECT_EQ(h, s.h) << s.mode;
    }
    int w = 0, h = 0;
    ASSERT_TRUE(clipOutputSize(0, 1, 1, 0, 0, w, h));
    EXPECT_EQ(w, 1);
    EXPECT_FALSE(clipOutputSize(3, 1, 1, 100000, 10, w, h));
}

}  // namespace
}  // namespace brightline::media
