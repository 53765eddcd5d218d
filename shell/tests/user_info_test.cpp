#include <gtest/gtest.h>

#include <random>

#include "shell/user_info.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(PasswordHash, UppercaseHexWithTheZeroRuleForSmallBytes) {
    // md5("admin") = 21232f297a57a5a743894a0e4a801fc3: no byte at or below 0x10.
    EXPECT_EQ(hashPassword("admin"), "21232F297A57A5A743894A0E4A801FC3");
    // md5("pw38") = ea896238f9de16f7d237d043ef101741: the byte 0x10 gives "010", 0x01 gives "01".
    std::string h = hashPassword("pw38");
    EXPECT_EQ(h, "EA896238F9DE16F7D237D043EF0101741");
    EXPECT_EQ(h.size(), 33u);
    // md5("") = d41d8cd98f00b204e9800998ecf8427e: 0x00, 0x04, 0x09 each as two digits.
    EXPECT_EQ(hashPassword(""), "D41D8CD98F00B204E9800998ECF8427E");
}

TEST(PasswordHash, TextIsHashedInTheOemCodePage) {
    // "口令" in GBK is C3 DC C1 EE; its MD5 is 93c598094747aade63ff53c2544216a9.
    EXPECT_EQ(hashPassword("口令"), "93C598094747AADE63FF53C2544216A9");
}

TEST(UserFile, LayoutAndRoundTrip) {
    std::vector<CUserInfo> users = {{"admin", hashPassword("admin")}, {"op", hashPassword("pw38")}};
    Bytes b = encodeUsers(users);
    Bytes head = {'U', 'P', 'W', 0,   2,   0,   0xFF, 0xFF, 1,    0,    9,    0,    'C',
                  'U', 's', 'e', 'r', 'I', 'n', 'f',  'o',  0xFF, 0xFE, 0xFF, 5,    'a',
                  0,   'd', 0,   'm', 0,   'i', 0,    'n',  0,    0xFF, 0xFE, 0xFF, 32};
    ASSERT_GT(b.size(), head.size());
    EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<long>(head.size())), head);
    size_t second = head.size() + 64;
    EXPECT_EQ(b[second], 0x01);
    EXPECT_EQ(b[second + 1], 0x80);

    std::vector<CUserInfo> back;
    ASSERT_TRUE(decodeUsers(b.data(), b.size(), back));
    EXPECT_EQ(back, users);
    EXPECT_EQ(back[1].passwordHash.size(), 33u);
}

TEST(UserFile, WrongMarkAndDamageLeaveTheListAsItWas) {
    std::vector<CUserInfo> users = {{"a", "1"}, {"b", "2"}};
    Bytes b = encodeUsers(users);
    const std::vector<CUserInfo> kept = {{"kept", "X"}};
    Bytes other = b;
    other[0] = 'X';
    auto l = kept;
    EXPECT_FALSE(decodeUsers(other.data(), other.size(), l));
    EXPECT_EQ(l, kept);
    for (size_t cut = 0; cut < b.size(); ++cut) {
        l = kept;
        EXPECT_FALSE(decodeUsers(b.data(), cut, l)) << cut;
        EXPECT_EQ(l, kept);
    }
    std::mt19937 rng(3);
    for (int round = 0; round < 3000; ++round) {
        Bytes f = b;
        f[rng() % f.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        l = kept;
        if (!decodeUsers(f.data(), f.size(), l)) {
            ASSERT_EQ(l, kept);
        }
    }
}

}  // namespace
}  // namespace brightline
