#include <gtest/gtest.h>

#include <numeric>

#include "comm/line_collector.h"
#include "comm/packet.h"
#include "comm/receive_ring.h"

using namespace brightline;

namespace {

std::vector<uint8_t> packetTo(uint8_t destination, uint16_t type, size_t dataSize,
                              uint8_t fill = 0x33) {
    PacketHeader h;
    h.destination = destination;
    h.source = 3;
    h.chunkSize = 1024;
    h.type = type;
    h.sequence = 7;
    std::vector<uint8_t> data(dataSize, fill);
    return buildPacket(h, data.data(), data.size());
}

// Feeds every byte; returns how many packets completed.
int feedAll(PacketParser& parser, const std::vector<uint8_t>& bytes) {
    int done = 0;
    for (uint8_t b : bytes) done += parser.feed(b) ? 1 : 0;
    return done;
}

}  // namespace

TEST(Packet, RequestToAddress3IsTheTwentyKnownBytes) {
    PacketHeader h;
    h.destination = 3;
    h.source = kPcAddress;
    h.chunkSize = 1024;
    h.type = kReqGetTime;
    h.sequence = 0;
    const uint8_t data[] = {0x41, 0x42};
    const std::vector<uint8_t> expected = {0x5A, 0x5A, 0x5A, 0x5A, 0x03, 0xFF, 0x0A,
                                           0x00, 0x0C, 0x00, 0x04, 0x0B, 0x00, 0x00,
                                           0x00, 0x00, 0x00, 0x41, 0x42, 0x92};
    EXPECT_EQ(buildPacket(h, data, 2), expected);
}

TEST(Packet, ParserReadsBackWhatWasBuilt) {
    PacketParser parser;
    auto bytes = packetTo(0xFF, kReplyDone, 5, 0x7E);
    ASSERT_EQ(feedAll(parser, bytes), 1);
    EXPECT_EQ(parser.header().source, 3);
    EXPECT_EQ(parser.header().type, kReplyDone);
    EXPECT_EQ(parser.header().sequence, 7u);
    EXPECT_EQ(parser.header().chunkSize, 1024);
    ASSERT_EQ(parser.dataSize(), 5u);
    EXPECT_EQ(parser.data()[4], 0x7E);
}

TEST(Packet, BrokenSyncRunResynchronisesOnTheNextRun) {
    PacketParser parser;
    std::vector<uint8_t> bytes = {0x5A, 0x5A, 0x5A, 0x11};
    auto good = packetTo(0xFF, kReplyDone, 3);
    bytes.insert(bytes.end(), good.begin(), good.end());
    EXPECT_EQ(feedAll(parser, bytes), 1);
}

TEST(Packet, DroppedPacketsLeaveTheParserReadyForTheNextOne) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto badHeaderSum = packetTo(0xFF, kReplyDone, 3);
    badHeaderSum[8] ^= 1;
    auto badBodySum = packetTo(0xFF, kReplyDone, 3);
    badBodySum.back() ^= 1;
    auto shortBody = packetTo(0xFF, kReplyDone, 0);
    shortBody[6] = 7;  // body length 7 cannot hold the fixed fields
    shortBody[8] = static_cast<uint8_t>(shortBody[4] + shortBody[5] + shortBody[6] + shortBody[7]);
    auto negative = packetTo(0xFF, kReplyDone, 0);
    negative[7] = 0x80;
    negative[8] = static_cast<uint8_t>(negative[4] + negative[5] + negative[6] + negative[7]);
    const Case cases[] = {
        {"destination other than 0xFF, checksum right", packetTo(3, kReplyDone, 3)},
        {"bad header checksum", badHeaderSum},
        {"bad body checksum", badBodySum},
        {"body length below 8", shortBody},
        {"negative body length", negative},
    };
    for (const Case& c : cases) {
        PacketParser parser;
        EXPECT_EQ(feedAll(parser, c.bytes), 0) << c.what;
        EXPECT_EQ(feedAll(parser, packetTo(0xFF, kReplyDone, 2)), 1) << c.what;
    }
}

TEST(Packet, BodyOf1032BytesIsAcceptedAnd1033Dropped) {
    PacketParser parser;
    EXPECT_EQ(feedAll(parser, packetTo(0xFF, kReplyDone, 1024)), 1);
    EXPECT_EQ(parser.dataSize(), 1024u);
    // 1025 data bytes, built by hand since buildPacket refuses more than 1024.
    std::vector<uint8_t> big = {0x5A, 0x5A, 0x5A, 0x5A, 0xFF, 3, 0x09, 0x04};
    big.push_back(static_cast<uint8_t>(0xFF + 3 + 0x09 + 0x04));
    std::vector<uint8_t> body(1033, 0);
    body[2] = kReplyDone;
    big.insert(big.end(), body.begin(), body.end());
    big.push_back(static_cast<uint8_t>(std::accumulate(body.begin(), body.end(), 0)));
    EXPECT_EQ(feedAll(parser, big), 0);
}

TEST(Packet, TablesFallBackToTheirDefaults) {
    EXPECT_EQ(baudRateForIndex(0), 1200);
    EXPECT_EQ(baudRateForIndex(7), 115200);
    EXPECT_EQ(baudRateForIndex(8), 115200);
    EXPECT_EQ(chunkSizeForIndex(0), 32);
    EXPECT_EQ(chunkSizeForIndex(5), 1024);
    EXPECT_EQ(chunkSizeForIndex(6), 1024);
    EXPECT_EQ(chunkSizeForIndex(-1), 1024);
}

TEST(ReceiveRing, HoldsAtMost65535BytesAndDropsTheNext) {
    ReceiveRing ring;
    for (size_t i = 0; i < 65535; ++i) ASSERT_TRUE(ring.put(static_cast<uint8_t>(i)));
    EXPECT_EQ(ring.size(), 65535u);
    EXPECT_FALSE(ring.put(0xAB));
    uint8_t b = 0;
    ASSERT_TRUE(ring.take(b));
    EXPECT_EQ(b, 0);
    EXPECT_TRUE(ring.put(0xCD));  // room again after one was taken
    size_t count = 1;
    while (ring.take(b)) ++count;
    EXPECT_EQ(count, 65536u);
    EXPECT_EQ(b, 0xCD);  // the wrapped byte comes out last, in order
}

TEST(LineCollector, ModemLinesAsTheModemSendsThem) {
    struct Case {
        std::vector<uint8_t> in;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // The first LF arrives with one byte buffered and is stored as data.
        {{0x0D, 0x0A, 0x4F, 0x4B, 0x0D, 0x0A}, {std::string("\r\nOK\r", 5)}},
        {{'O', 'K', 0x0A, 'N', 'O', 0x0A}, {"OK", "NO"}},
        {{0x0A, 0x0A, 0x0A}, {std::string("\n\n")}},
    };
    for (const Case& c : cases) {
        LineCollector collector;
        std::vector<std::string> lines;
        for (uint8_t b : c.in)
            if (collector.feed(b)) lines.push_back(collector.line());
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(LineCollector, LongLineIsCutAt256Bytes) {
    LineCollector collector;
    for (int i = 0; i < 1000; ++i) collector.feed('x');
    ASSERT_TRUE(collector.feed('\n'));
    EXPECT_EQ(collector.line(), std::string(256, 'x'));
    collector.feed('o');
    collector.feed('k');
    ASSERT_TRUE(collector.feed('\n'));
    EXPECT_EQ(collector.line(), "ok");
}
