// The sign's framing against the PC's, on byte vectors written out from the packet layout: each
// side builds exactly these bytes and reads back the other side's.
#include <gtest/gtest.h>

#include "comm/packet.h"
#include "signsim/sign_frame.h"

using namespace brightline;
using namespace brightline::signsim;

namespace {

struct Pinned {
    const char* what;
    SignFrame frame;
    std::vector<uint8_t> bytes;
};

// Checksums worked out by hand: header sum = bytes 4..7, body sum = bytes 9..end-1, mod 256.
std::vector<Pinned> pinned() {
    return {
        // GetTime-style request with two data bytes to address 3, chunk size 1024.
        {"request to 3",
         {3, 0xFF, 1024, 11, 0, {0x41, 0x42}},
         {0x5A, 0x5A, 0x5A, 0x5A, 0x03, 0xFF, 0x0A, 0x00, 0x0C, 0x00,
          0x04, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x41, 0x42, 0x92}},
        // A reply to the PC: type 513 and sequence 74565 need their high bytes, chunk size 512.
        {"reply with wide type and sequence",
         {0xFF, 0x07, 512, 0x0201, 0x00012345, {'O', 'K'}},
         {0x5A, 0x5A, 0x5A, 0x5A, 0xFF, 0x07, 0x0A, 0x00, 0x10, 0x00,
          0x02, 0x01, 0x02, 0x45, 0x23, 0x01, 0x00, 0x4F, 0x4B, 0x08}},
        // No data, to address 0x5A (a fifth 'Z' right after the sync), type 0x1234, sequence
        // 0x02000100, chunk size 32.
        {"address that looks like sync",
         {0x5A, 0xFF, 32, 0x1234, 0x02000100, {}},
         {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0xFF, 0x08, 0x00, 0x61, 0x20, 0x00, 0x34, 0x12, 0x00, 0x01,
          0x00, 0x02, 0x69}},
    };
}

std::vector<uint8_t> pcBytes(const SignFrame& f) {
    PacketHeader h;
    h.destination = f.destination;
    h.source = f.source;
    h.chunkSize = f.chunkSize;
    h.type = f.type;
    h.sequence = f.sequence;
    return buildPacket(h, f.data.data(), f.data.size());
}

void expectSame(const SignFrame& a, const SignFrame& b) {
    EXPECT_EQ(a.destination, b.destination);
    EXPECT_EQ(a.source, b.source);
    EXPECT_EQ(a.chunkSize, b.chunkSize);
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.sequence, b.sequence);
    EXPECT_EQ(a.data, b.data);
}

}  // namespace

TEST(SignFrame, BothSidesBuildThePinnedBytes) {
    for (const Pinned& p : pinned()) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(frameBytes(p.frame), p.bytes);
        EXPECT_EQ(pcBytes(p.frame), p.bytes);
    }
}

TEST(SignFrame, EachSideReadsThePinnedBytes) {
    for (const Pinned& p : pinned()) {
        SCOPED_TRACE(p.what);
        SignFrameReader reader(p.frame.destination);
        auto frames = reader.push(p.bytes.data(), p.bytes.size());
        ASSERT_EQ(frames.size(), 1u);
        expectSame(frames[0], p.frame);

        PacketParser parser(p.frame.destination);
        int done = 0;
        for (uint8_t b : p.bytes) done += parser.feed(b) ? 1 : 0;
        ASSERT_EQ(done, 1);
        EXPECT_EQ(parser.header().source, p.frame.source);
        EXPECT_EQ(parser.header().chunkSize, p.frame.chunkSize);
        EXPECT_EQ(parser.header().type, p.frame.type);
        EXPECT_EQ(parser.header().sequence, p.frame.sequence);
        EXPECT_EQ(std::vector<uint8_t>(parser.data(), parser.data() + parser.dataSize()),
                  p.frame.data);
    }
}

TEST(SignFrame, ReadsWhatThePcBuildsWhateverTheSplitAndTheNoise) {
    // A largest frame and a small one behind noise and a broken sync run, fed in every bite size.
    SignFrame big{9, 0xFF, 1024, 3, 300, std::vector<uint8_t>(1024)};
    for (size_t i = 0; i < big.data.size(); ++i) big.data[i] = static_cast<uint8_t>(i * 7);
    SignFrame small{9, 0xFF, 64, 2, 0, {'a', 'b', 0}};
    std::vector<uint8_t> line = {0x00, 0x5A, 0x5A, 0x5A, 0x11};
    for (const SignFrame& f : {big, small}) {
        const auto bytes = pcBytes(f);
        line.insert(line.end(), bytes.begin(), bytes.end());
    }
    for (size_t bite : {size_t(1), size_t(7), size_t(64), line.size()}) {
        SCOPED_TRACE(bite);
        SignFrameReader reader(9);
        std::vector<SignFrame> frames;
        for (size_t at = 0; at < line.size(); at += bite) {
            auto got = reader.push(line.data() + at, std::min(bite, line.size() - at));
            frames.insert(frames.end(), got.begin(), got.end());
        }
        ASSERT_EQ(frames.size(), 2u);
        expectSame(frames[0], big);
        expectSame(frames[1], small);
    }
}

TEST(SignFrame, FramesTheSignMustNotTakeAreSkipped) {
    SignFrame good{4, 0xFF, 1024, 16, 0, {}};
    auto wrongAddress = pcBytes(SignFrame{5, 0xFF, 1024, 16, 0, {}});
    auto badHeader = pcBytes(good);
    badHeader[8] ^= 1;
    auto badBody = pcBytes(good);
    badBody.back() ^= 1;
    // A body length of 1033 with a right header sum.
    std::vector<uint8_t> tooLong = {0x5A, 0x5A, 0x5A, 0x5A, 0x04, 0xFF, 0x09, 0x04, 0x10};
    std::vector<uint8_t> line;
    for (const auto& part : {wrongAddress, badHeader, badBody, tooLong, pcBytes(good)})
        line.insert(line.end(), part.begin(), part.end());
    SignFrameReader reader(4);
    auto frames = reader.push(line.data(), line.size());
    ASSERT_EQ(frames.size(), 1u);
    expectSame(frames[0], good);
}
