// Saving with page pictures, loading, and saving again: the same bytes, in both layouts.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/code_page.h"
#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/zrt_file.h"
#include "pageeditor/render/page_painter.h"
#include "pageeditor/render/page_pictures.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {
namespace {

class RoundTrip : public ::testing::TestWithParam<PageLayout> {
  protected:
    void SetUp() override {
        folder_ =
            ::testing::TempDir() + "/pageeditor_round_trip_" + std::to_string(int(GetParam()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Two fonts, a contour run, a picture, Chinese and Latin text, a centred and a right-aligned
    // line.
    void compose(TextDocument& doc) {
        doc.setPageFormat(GetParam(), 96, 32, headlessLimits());
        LogFont latin = defaultLogFont();
        latin.setFace("Arial");
        latin.height = -18;
        latin.weight = 700;
        LogFont chinese = defaultLogFont();
        chinese.setFace("\xE5\xAE\x8B\xE4\xBD\x93");  // 宋体
        chinese.height = 16;
        chinese.charSet = kGb2312Charset;
        doc.setFont(latin);
        doc.setTextColor(0x0000FFFF);
        doc.typeText(toOemText("Price "));
        doc.setFont(chinese);
        doc.setContourStyle(1, 0x000000FF, 1);
        doc.typeText(toOemText("\xE4\xBB\xB7\xE6\xA0\xBC\n"));  // 价格
        doc.setContourStyle(0, 0x000000FF, 1);
        doc.setTextColor(0x00FFFFFF);
        doc.typeText(toOemText("12.50 \xE5\x85\x83 "));  // 元
        media::Picture logo(12, 10);
        for (int i = 0; i < 120; ++i) logo.pixels[size_t(i)] = 0x00FF8000u + uint32_t(i);
        doc.insertPicture(doc.caret(), logo);
        doc.typeText(toOemText("\nend"));
        doc.setLineAlignment(0, Alignment::Centre);
        doc.setLineAlignment(1, Alignment::Right);
    }
    static std::string toOemText(const std::string& utf8) { return toOem(utf8); }

    std::string folder_;
};

TEST_P(RoundTrip, SaveLoadSaveGivesTheSameBytesAndPagePicturesOfThePageSize) {
    QtFontCatalog catalog;
    TextDocument doc(catalog);
    compose(doc);
    const std::string first = folder_ + "/first.ZRT", second = folder_ + "/second.ZRT";
    std::string error;
    ASSERT_TRUE(saveTextDocument(doc, first, catalog, &error)) << error;
    EXPECT_EQ(doc.path(), first);
    EXPECT_FALSE(doc.modified());

    TextDocument loaded(catalog);
    ASSERT_EQ(loaded.load(first, &error), TextPageLoadResult::Loaded) << error;
    ASSERT_TRUE(saveTextDocument(loaded, second, catalog, &error)) << error;
    std::vector<uint8_t> a, b;
    ASSERT_TRUE(readWholeFile(first, a));
    ASSERT_TRUE(readWholeFile(second, b));
    EXPECT_EQ(a, b);

    // The page pictures: one per page, each a bitmap of exactly the page size that shows what
    // the painter draws for that page.
    media::ZrtPageReader reader;
    ASSERT_EQ(reader.open(std::make_unique<media::MemoryByteSource>(a)),
              media::ZrtHeaderStatus::Ok);
    EXPECT_EQ(reader.header().pageCount, doc.layout().pageCount);
    EXPECT_GE(doc.layout().pageCount, 2);
    PagePainter painter(catalog);
    std::vector<uint8_t> bmp;
    int pages = 0;
    while (reader.nextPage(bmp)) {
        media::Picture picture;
        ASSERT_TRUE(media::decodeBmp(bmp, picture));
        ASSERT_EQ(picture.width, 96);
        ASSERT_EQ(picture.height, 32);
        const QImage drawn = painter.renderPage(doc.page(), doc.layout(), pages);
        int lit = 0, differ = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 96; ++x) {
                lit += picture.at(x, y) != 0;
                differ += picture.at(x, y) != (drawn.pixel(x, y) & 0xFFFFFF);
            }
        EXPECT_GT(lit, 20) << "page " << pages;
        EXPECT_EQ(differ, 0) << "page " << pages;
        ++pages;
    }
    EXPECT_EQ(pages, doc.layout().pageCount);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, RoundTrip,
                         ::testing::Values(PageLayout::Vertical, PageLayout::Horizontal),
                         [](const ::testing::TestParamInfo<PageLayout>& info) {
                             return info.param == PageLayout::Vertical ? "Vertical" : "Horizontal";
                         });

TEST(Save, AFailedSaveIsReportedAndChangesNothing) {
    QtFontCatalog catalog;
    TextDocument doc(catalog);
    doc.insertUtf8(0, "unsaved");
    std::string error;
    EXPECT_FALSE(saveTextDocument(doc, "/nonexistent-folder/page.ZRT", catalog, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(doc.path(), kNewDocumentPath);
    EXPECT_TRUE(doc.modified());

    // A page too large for a page picture is refused before anything is written.
    doc.setPageFormat(PageLayout::Horizontal, 70000, 16, PageFormatLimits{0, 100});
    EXPECT_FALSE(saveTextDocument(doc, ::testing::TempDir() + "/never.ZRT", catalog, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_FALSE(fileExists(::testing::TempDir() + "/never.ZRT"));
}

}  // namespace
}  // namespace brightline::pageeditor
