// The ".ZRT" file byte for byte, and reading damaged files.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "media/zrt_file.h"
#include "pageeditor/tests/fixed_measurer.h"
#include "pageeditor/text_document.h"
#include "pageeditor/text_page_file.h"

namespace brightline::pageeditor {
namespace {

struct Bytes {
    std::vector<uint8_t> b;
    Bytes& le(int64_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint64_t(v) >> (8 * i)));
        return *this;
    }
    Bytes& raw(std::initializer_list<int> v) {
        for (int x : v) b.push_back(uint8_t(x));
        return *this;
    }
    Bytes& text(const std::string& s, size_t pad = 0) {
        b.insert(b.end(), s.begin(), s.end());
        b.insert(b.end(), pad > s.size() ? pad - s.size() : 0, 0);
        return *this;
    }
};

TextPage twoLetterPage() {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.setPageFormat(PageLayout::Vertical, 64, 16, headlessLimits());
    doc.insertUtf8(0, "Ab");
    doc.setLineAlignment(0, Alignment::Centre);
    return doc.page();
}

TEST(TextPageFile, WritesTheHeaderAndSectionsAsLaidOut) {
    Bytes want;
    want.text("ZRT", 4).le(1).le(60).le(1).le(124).le(0).le(0).le(1).le(44).le(2);
    want.le(0).le(64).le(16).le(177).le(1);
    // Font 1: Tahoma, height 14, weight 400, default character set.
    want.le(1).le(14).le(0).le(0).le(0).le(400).raw({0, 0, 0, 1, 0, 0, 0, 0}).text("Tahoma", 32);
    // One text run over both bytes: font 1, average width 7, height 14, white, red outline 1.
    want.le(0).le(1).le(0).le(2).le(7).le(14).le(0).le(0).le(0xFF).le(1).le(0xFFFFFF);
    want.text("Ab").raw({10, 10});
    // One line, big-endian: centred at (64 - 20) / 2 = 22.
    want.raw({0, 1, 1, 0, 22});
    // The page picture as length and bytes.
    want.le(3).raw({'B', 'M', 0});

    EXPECT_EQ(encodeTextPageFile(twoLetterPage(), {{'B', 'M', 0}}), want.b);
}

TEST(TextPageFile, ReadsBackWhatItWrote) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "x\xE4\xB8\xAD\ny");
    doc.select(0, 1);
    doc.setFont(boldFont());
    doc.setContourStyle(1, 0x00FF00, 3);
    media::Picture pic(3, 2);
    pic.at(2, 1) = 0x00ABCDEF;
    doc.insertPicture(4, pic);
    doc.setLineAlignment(1, Alignment::Right);
    const std::vector<uint8_t> file = encodeTextPageFile(doc.page(), {});

    media::MemoryByteSource source(file.data(), file.size());
    TextPage back;
    std::string why;
    ASSERT_EQ(decodeTextPageFile(source, back, &why), TextPageLoadResult::Loaded) << why;
    EXPECT_EQ(back.text, doc.page().text);
    EXPECT_EQ(back.widths, doc.page().widths);
    EXPECT_EQ(back.runs, doc.page().runs);
    ASSERT_EQ(back.fonts.size(), 2u);
    EXPECT_EQ(back.fonts[1].font, boldFont());
    ASSERT_EQ(back.pictures.size(), 1u);
    EXPECT_EQ(back.pictures[0].data(), doc.page().pictures[0].data());
    ASSERT_EQ(back.lines.size(), 2u);
    EXPECT_EQ(back.lines[1].alignment, Alignment::Right);
    EXPECT_EQ(back.lines[1].offset, doc.page().lines[1].offset);
    EXPECT_EQ(encodeTextPageFile(back, {}), file);
}

TEST(TextPageFile, RefusesDamagedFilesWithoutReadingPastThem) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "page \xE4\xB8\xAD");
    doc.insertPicture(2, media::Picture(4, 4));
    const std::vector<uint8_t> file = encodeTextPageFile(doc.page(), {{1, 2, 3}});
    media::ZrtHeader h;
    ASSERT_EQ(media::decodeZrtHeader(file.data(), file.size(), h), media::ZrtHeaderStatus::Ok);

    // Every cut before the page pictures fails; the page pictures are not needed.
    for (size_t n = 0; n < file.size(); ++n) {
        media::MemoryByteSource cut(file.data(), n);
        TextPage page;
        const TextPageLoadResult r = decodeTextPageFile(cut, page);
        if (n < media::kZrtHeaderSize)
            EXPECT_EQ(r, TextPageLoadResult::NotATextPage) << n;
        else if (n < h.pageOffset)
            EXPECT_EQ(r, TextPageLoadResult::Unreadable) << n;
        else
            EXPECT_EQ(r, TextPageLoadResult::Loaded) << n;
    }

    struct Patch {
        size_t at;
        std::vector<uint8_t> bytes;
        TextPageLoadResult result;
    } patches[] = {
        {0, {'z', 'r', 'T'}, TextPageLoadResult::Loaded},                 // the mark in any case
        {3, {'X'}, TextPageLoadResult::NotATextPage},                     // "ZRTX" is not "ZRT"
        {4, {2}, TextPageLoadResult::NotATextPage},                       // version 2
        {12, {0xFF, 0xFF, 0xFF, 0x7F}, TextPageLoadResult::Unreadable},   // fonts
        {20, {0xFF, 0xFF, 0xFF, 0xFF}, TextPageLoadResult::Unreadable},   // pictures: -1
        {28, {0, 0, 0, 0x10}, TextPageLoadResult::Unreadable},            // runs
        {36, {0xFF, 0xFF, 0xFF, 0x3F}, TextPageLoadResult::Unreadable},   // text length
        {128, {0xFF, 0xFF, 0xFF, 0x7F}, TextPageLoadResult::Unreadable},  // picture bits size
    };
    for (const Patch& p : patches) {
        std::vector<uint8_t> bad = file;
        std::copy(p.bytes.begin(), p.bytes.end(), bad.begin() + std::ptrdiff_t(p.at));
        media::MemoryByteSource source(bad.data(), bad.size());
        TextPage page;
        std::string why;
        EXPECT_EQ(decodeTextPageFile(source, page, &why), p.result) << p.at << ": " << why;
        if (p.result != TextPageLoadResult::Loaded) {
            EXPECT_FALSE(why.empty());
        }
    }
}

TEST(TextPageFile, AFileThatIsNoTextPageLeavesTheDocumentAndItsPathAlone) {
    const std::string folder = ::testing::TempDir() + "/pageeditor_load";
    std::filesystem::create_directories(folder);
    const std::string notPage = folder + "/notes.ZRT";
    ASSERT_TRUE(writeFileAtomically(notPage, std::vector<uint8_t>(100, 'x')));
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "keep me");
    std::string error;
    EXPECT_EQ(doc.load(notPage, &error), TextPageLoadResult::NotATextPage);
    EXPECT_NE(error.find("notes.ZRT is not a text page"), std::string::npos) << error;
    EXPECT_EQ(doc.path(), kNewDocumentPath);
    EXPECT_EQ(doc.page().text, "keep me");
    EXPECT_TRUE(doc.modified());

    const std::string page = folder + "/page.ZRT";
    ASSERT_TRUE(writeFileAtomically(page, encodeTextPageFile(twoLetterPage(), {})));
    EXPECT_EQ(doc.load(page, &error), TextPageLoadResult::Loaded);
    EXPECT_EQ(doc.path(), page);
    EXPECT_EQ(doc.page().text, "Ab");
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.layout().lines.at(0).x, 22);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace brightline::pageeditor
