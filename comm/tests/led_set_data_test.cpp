#include <gtest/gtest.h>

#include <random>

#include "comm/led_set_data.h"
#include "common/folders.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SignList, OneRecordFileLayout) {
    SignList list;
    list.reserved = 0x01020304;
    CLED_Set_Data s;
    s.port = 2;
    s.baudIndex = 7;
    s.address = 9;
    s.height = 32;
    s.width = 128;
    s.name = "Door";
    s.mtuIndex = 5;
    s.ip = {10, 0, 0, 7};
    s.host = "10.0.0.7";
    list.signs.push_back(s);
    Bytes expected = {'L', 'E', 'D', 0, 4, 3, 2, 1, 1, 0, 0xFF, 0xFF, 1, 0, 13, 0};
    for (char c : std::string("CLED_Set_Data")) expected.push_back(static_cast<uint8_t>(c));
    for (int32_t v : {2, 7, 9, 32, 128})
        for (int i = 0; i < 4; ++i) expected.push_back(static_cast<uint8_t>(v >> (8 * i)));
    for (int b : {0xFF, 0xFE, 0xFF, 4, int('D'), 0, int('o'), 0, int('o'), 0, int('r'), 0})
        expected.push_back(static_cast<uint8_t>(b));
    for (int b : {5, 0, 0, 0, 10, 0, 0, 7}) expected.push_back(static_cast<uint8_t>(b));
    for (int b : {0xFF, 0xFE, 0xFF, 8}) expected.push_back(static_cast<uint8_t>(b));
    for (char c : std::string("10.0.0.7")) {
        expected.push_back(static_cast<uint8_t>(c));
        expected.push_back(0);
    }
    EXPECT_EQ(encodeSignList(list), expected);

    SignList back;
    ASSERT_TRUE(decodeSignList(expected.data(), expected.size(), back));
    EXPECT_EQ(back.reserved, 0x01020304);
    ASSERT_EQ(back.signs.size(), 1u);
    EXPECT_EQ(back.signs[0], s);
}

TEST(SignList, LookupsTakeTheFirstOfTwoEqualNames) {
    SignList list;
    list.signs.push_back(defaultSignRecord({192, 168, 0, 6}, "192.168.0.6"));
    list.signs.push_back(defaultSignRecord({1, 1, 1, 1}, "1.1.1.1"));
    list.signs[1].width = 64;
    ASSERT_NE(list.find("Sample LED"), nullptr);
    EXPECT_EQ(list.find("Sample LED")->width, 128);
    EXPECT_EQ(list.find("sample led"), nullptr);
}

TEST(SignList, DefaultRecord) {
    CLED_Set_Data d = defaultSignRecord({192, 168, 0, 6}, "192.168.0.6");
    EXPECT_EQ(d.name, "Sample LED");
    EXPECT_EQ(d.width, 128);
    EXPECT_EQ(d.height, 96);
    EXPECT_EQ(d.port, 0);
    EXPECT_EQ(d.address, 1);
    EXPECT_EQ(d.baudIndex, 7);
    EXPECT_EQ(d.mtuIndex, 6);
    EXPECT_EQ(d.host, "192.168.0.6");
}

TEST(SignList, DamagedFilesLeaveTheListAsItWas) {
    SignList list;
    list.signs.push_back(defaultSignRecord({1, 2, 3, 4}, "a"));
    list.signs.push_back(defaultSignRecord({5, 6, 7, 8}, "b"));
    Bytes file = encodeSignList(list);
    SignList kept;
    kept.signs.push_back(defaultSignRecord({9, 9, 9, 9}, "kept"));
    for (size_t cut = 0; cut < file.size(); ++cut) {
        SignList l = kept;
        EXPECT_FALSE(decodeSignList(file.data(), cut, l)) << cut;
        EXPECT_EQ(l.signs, kept.signs) << cut;
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        Bytes b = file;
        b[rng() % b.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        SignList l = kept;
        if (!decodeSignList(b.data(), b.size(), l)) {
            ASSERT_EQ(l.signs, kept.signs);
        }
    }
    SignList l = kept;
    EXPECT_FALSE(loadSignList("/nonexistent/LED_SET.ZRC", l));
    EXPECT_EQ(l.signs, kept.signs);
}

}  // namespace
}  // namespace brightline

namespace brightline {
namespace {

TEST(SignList, TypedSizesKeepTheFaceWithin65536Pixels) {
    EXPECT_EQ(limitTypedSignSide(999, 128), 512);
    EXPECT_EQ(limitTypedSignSide(130, 96), 130);   // below the limit: kept as typed
    EXPECT_EQ(limitTypedSignSide(700, 100), 648);  // 655 rounded down to a multiple of 8
    EXPECT_EQ(limitTypedSignSide(70000, 0), 65536);
}

}  // namespace
}  // namespace brightline
