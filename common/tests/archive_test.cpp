#include <gtest/gtest.h>

#include "common/archive_reader.h"
#include "common/archive_writer.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes written(void (*fill)(ArchiveWriter&)) {
    ByteWriter out;
    ArchiveWriter ar(out);
    fill(ar);
    return out.take();
}

TEST(Archive, CountUsesShortFormBelowFFFFAndLongFormFromThere) {
    EXPECT_EQ(written([](ArchiveWriter& a) { a.writeCount(3); }), (Bytes{3, 0}));
    EXPECT_EQ(written([](ArchiveWriter& a) { a.writeCount(0xFFFE); }), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(written([](ArchiveWriter& a) { a.writeCount(0xFFFF); }),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
}

TEST(Archive, StringLengthFormsByLength) {
    EXPECT_EQ(written([](ArchiveWriter& a) { a.writeString(""); }),
              (Bytes{0xFF, 0xFE, 0xFF, 0x00}));
    Bytes ab = written([](ArchiveWriter& a) { a.writeString("Ab"); });
    EXPECT_EQ(ab, (Bytes{0xFF, 0xFE, 0xFF, 2, 'A', 0, 'b', 0}));

    Bytes len254 = written([](ArchiveWriter& a) { a.writeString(std::string(254, 'x')); });
    EXPECT_EQ(Bytes(len254.begin(), len254.begin() + 4), (Bytes{0xFF, 0xFE, 0xFF, 254}));
    Bytes len255 = written([](ArchiveWriter& a) { a.writeString(std::string(255, 'x')); });
    EXPECT_EQ(Bytes(len255.begin(), len255.begin() + 6),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}));
    Bytes len300 = written([](ArchiveWriter& a) { a.writeString(std::string(300, 'x')); });
    ASSERT_EQ(len300.size(), 6u + 600u);
    EXPECT_EQ(Bytes(len300.begin(), len300.begin() + 6),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    Bytes big = written([](ArchiveWriter& a) { a.writeString(std::string(0xFFFE, 'x')); });
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 10),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}));

    for (size_t n : {0, 1, 254, 255, 300, 0xFFFD, 0xFFFE, 0x10000}) {
        ByteWriter out;
        ArchiveWriter w(out);
        std::string text(n, 'q');
        w.writeString(text);
        ByteReader in(out.data());
        ArchiveReader r(in);
        EXPECT_EQ(r.readString(), text) << n;
        EXPECT_TRUE(in.ok() && in.atEnd()) << n;
    }
}

TEST(Archive, StringsKeepTextOutsideAsciiAndReadOemStrings) {
    ByteWriter out;
    ArchiveWriter w(out);
    w.writeString("C:\\图片\\a.jpg 😀");
    ByteReader in(out.data());
    ArchiveReader r(in);
    EXPECT_EQ(r.readString(), "C:\\图片\\a.jpg 😀");

    // An 8-bit string (length byte, no marker) is text in the OEM code page.
    Bytes oem = {4, 0xCD, 0xBC, 0xC6, 0xAC};  // "图片" in GBK
    ByteReader in2(oem);
    ArchiveReader r2(in2);
    EXPECT_EQ(r2.readString(), "图片");
}

TEST(Archive, ClassNameOnceThenClassTag) {
    Bytes b = written([](ArchiveWriter& a) {
        a.beginObject("CElement");
        a.beginObject("CElement");
        a.beginObject("CUserInfo");
        a.beginObject("CElement");
        a.beginObject("CUserInfo");
    });
    Bytes expected = {0xFF, 0xFF, 1, 0, 8, 0, 'C', 'E', 'l', 'e', 'm', 'e', 'n', 't', 0x01,
                      0x80,  // class 1
                      0xFF, 0xFF, 1, 0, 9, 0, 'C', 'U', 's', 'e', 'r', 'I', 'n', 'f', 'o',
                      // CElement objects took 2 and 3, so CUserInfo is class 4
                      0x01, 0x80, 0x04, 0x80};
    EXPECT_EQ(b, expected);

    ByteReader in(b);
    ArchiveReader r(in);
    EXPECT_TRUE(r.readNewObject("CElement"));
    EXPECT_TRUE(r.readNewObject("CElement"));
    EXPECT_TRUE(r.readNewObject("CUserInfo"));
    EXPECT_TRUE(r.readNewObject("CElement"));
    EXPECT_TRUE(r.readNewObject("CUserInfo"));
    EXPECT_TRUE(in.atEnd());
}

TEST(Archive, ReaderAcceptsTheBigClassTag) {
    Bytes b = {0xFF, 0xFF, 1,   0,   8,    0,    'C',  'E', 'l', 'e',
               'm',  'e',  'n', 't', 0xFF, 0x7F, 0x01, 0,   0,   0x80};
    ByteReader in(b);
    ArchiveReader r(in);
    EXPECT_TRUE(r.readNewObject("CElement"));
    EXPECT_TRUE(r.readNewObject("CElement"));
}

TEST(Archive, CorruptReferencesAndLengthsFailWithoutReadingPastTheEnd) {
    struct Case {
        const char* what;
        Bytes bytes;
        const char* error;
    };
    const Case cases[] = {
        {"other class", {0xFF, 0xFF, 1, 0, 3, 0, 'C', 'A', 'B'}, "class \"CAB\""},
        {"other schema",
         {0xFF, 0xFF, 2, 0, 8, 0, 'C', 'E', 'l', 'e', 'm', 'e', 'n', 't'},
         "schema 2"},
        {"class tag before any class", {0x01, 0x80}, "unknown class number 1"},
        {"null object", {0x00, 0x00}, "null object"},
        {"back reference",
         {0xFF, 0xFF, 1, 0, 8, 0, 'C', 'E', 'l', 'e', 'm', 'e', 'n', 't', 0x02, 0x00},
         "repeated object"},
        {"tag referring to an object",
         {0xFF, 0xFF, 1, 0, 8, 0, 'C', 'E', 'l', 'e', 'm', 'e', 'n', 't', 0x02, 0x80},
         "unknown class number 2"},
        {"name cut short", {0xFF, 0xFF, 1, 0, 8, 0, 'C', 'E'}, "needs 8 bytes"},
        {"huge name", {0xFF, 0xFF, 1, 0, 0xFF, 0x7F}, "class name of"},
    };
    for (const Case& c : cases) {
        ByteReader in(c.bytes);
        ArchiveReader r(in);
        bool ok = r.readNewObject("CElement");
        if (ok) ok = r.readNewObject("CElement");
        EXPECT_FALSE(ok) << c.what;
        EXPECT_NE(r.error().find(c.error), std::string::npos) << c.what << ": " << r.error();
    }

    Bytes hugeCount = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
    ByteReader in(hugeCount);
    ArchiveReader r(in);
    EXPECT_EQ(r.readCount(), 0u);
    EXPECT_FALSE(r.ok());

    Bytes hugeString = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0};
    ByteReader in2(hugeString);
    ArchiveReader r2(in2);
    EXPECT_EQ(r2.readString(), "");
    EXPECT_NE(r2.error().find("string claims"), std::string::npos);
}

TEST(Archive, ReadObjectListLeavesNothingHalfBuilt) {
    ByteWriter out;
    ArchiveWriter w(out);
    w.writeCount(3);
    for (int i = 0; i < 3; ++i) {
        w.beginObject("CUserInfo");
        w.writeString("user" + std::to_string(i));
    }
    Bytes good = out.take();
    auto read = [](const Bytes& b, std::vector<std::string>& list) {
        ByteReader in(b);
        ArchiveReader ar(in);
        return readObjectList(ar, "CUserInfo", list,
                              [](ArchiveReader& r, std::string& s) { s = r.readString(); });
    };
    std::vector<std::string> list = {"old"};
    ASSERT_TRUE(read(good, list));
    EXPECT_EQ(list, (std::vector<std::string>{"user0", "user1", "user2"}));
    for (size_t cut = 0; cut < good.size(); ++cut) {
        std::vector<std::string> partial = {"old"};
        EXPECT_FALSE(read(Bytes(good.begin(), good.begin() + cut), partial)) << cut;
        EXPECT_TRUE(partial.empty()) << cut;
    }
}

}  // namespace
}  // namespace brightline
