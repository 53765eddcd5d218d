// Page format limits and the layout rules: where lines break, their offsets, the page-edit rule.
#include <gtest/gtest.h>

#include "pageeditor/tests/fixed_measurer.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {
namespace {

TEST(PageFormat, RefusesSmallPagesAndPagesBeyondTheScreenWithTheMessages) {
    const PageFormatLimits screen = limitsForScreen(1920, 1080, 4, 4, 23, 20);
    EXPECT_EQ(screen.maxWidth, 1792);
    EXPECT_EQ(screen.maxHeight, 896);

    const std::string minimum =
        "Minimum width and height is 7\xC3\x97"
        "8, please check and try again.";
    struct Case {
        PageLayout layout;
        int width, height;
        bool accepted;
        PageFormatField field;
        std::string message;
    } cases[] = {
        {PageLayout::Vertical, 6, 128, false, PageFormatField::Width, minimum},
        {PageLayout::Horizontal, 256, 7, false, PageFormatField::Height, minimum},
        {PageLayout::Vertical, 7, 8, true, PageFormatField::None, ""},
        {PageLayout::Horizontal, 10000, 32, true, PageFormatField::None, ""},
        {PageLayout::Vertical, 256, 100000, true, PageFormatField::None, ""},
        {PageLayout::Vertical, 1793, 64, false, PageFormatField::Width,
         "Set width=1792 error. Please check the value and try again."},
        {PageLayout::Horizontal, 64, 897, false, PageFormatField::Height,
         "Set height=896 error. Please check the value and try again."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const PageFormatCheck check = checkPageFormat(c.layout, c.width, c.height, screen);
        EXPECT_EQ(check.accepted, c.accepted);
        EXPECT_EQ(check.field, c.field);
        EXPECT_EQ(check.message.text, c.message);
        if (!c.accepted) {
            EXPECT_EQ(check.message.caption, "Pagewright V1.3");
        }
    }
}

TEST(PageFormat, AnAcceptedFormatChangesTheGeometryAndARefusedOneNothing) {
    FixedMeasurer m;
    TextDocument doc(m);
    const PageFormatLimits screen = limitsForScreen(1920, 1080, 4, 4, 23, 20);
    EXPECT_FALSE(doc.setPageFormat(PageLayout::Horizontal, 6, 32, screen).accepted);
    EXPECT_EQ(doc.page().geometry.pageWidth, 256);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.setPageFormat(PageLayout::Horizontal, 10000, 32, screen).accepted);
    EXPECT_EQ(doc.page().geometry.layout, PageLayout::Horizontal);
    EXPECT_EQ(doc.page().geometry.pageWidth, 10000);
    EXPECT_EQ(doc.layout().canvas.width, 10240);
    EXPECT_EQ(doc.layout().canvas.height, 32);
    EXPECT_TRUE(doc.modified());
}

TEST(Layout, OffsetsFollowTheAlignment) {
    FixedMeasurer m;
    TextDocument doc(m);  // vertical, 256 pixels wide
    doc.insertUtf8(0, "0123456789\nabcdefghij\nABCDEFGHIJ");
    doc.setLineAlignment(1, Alignment::Centre);
    doc.setLineAlignment(2, Alignment::Right);
    ASSERT_EQ(doc.layout().lines.size(), 3u);
    EXPECT_EQ(doc.layout().lines[0].x, 0);
    EXPECT_EQ(doc.layout().lines[1].width, 100);
    EXPECT_EQ(doc.layout().lines[1].x, 78);
    EXPECT_EQ(doc.layout().lines[2].x, 156);
    EXPECT_EQ(doc.page().lines[1].offset, 78);
    EXPECT_EQ(doc.page().lines[2].offset, 156);
}

TEST(Layout, VerticalLinesWrapAfterSpacesAndAroundDoubleByteCharacters) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.setPageFormat(PageLayout::Vertical, 50, 64, headlessLimits());
    // Latin words wrap after the space (which hangs); the Chinese characters (20 pixels each)
    // may break anywhere; a word longer than the page is cut.
    doc.insertUtf8(0, "aaa bbbb \xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97 abcdefghij");
    std::vector<std::string> lines;
    for (const LineBox& l : doc.layout().lines)
        lines.push_back(doc.page().text.substr(size_t(l.start), size_t(l.end - l.start)));
    const std::string zh = "\xD6\xD0\xCE\xC4";  // 中文 in the code page
    const std::string zi = "\xD7\xD6";          // 字
    EXPECT_EQ(lines, (std::vector<std::string>{"aaa ", "bbbb ", zh, zi + " ", "abcde", "fghij"}));
    EXPECT_EQ(doc.layout().lines[0].width, 30);  // the trailing space is not counted
}

TEST(Layout, PageEditMovesALineThatWouldCrossAPageEdgeToTheNextPage) {
    FixedMeasurer m;
    TextDocument doc(m);  // default font height 14: lines of 14 pixels
    doc.setPageFormat(PageLayout::Vertical, 64, 32, headlessLimits());
    doc.insertUtf8(0, "a\nb\nc\nd");
    auto tops = [&] {
        std::vector<int> t;
        for (const LineBox& l : doc.layout().lines) t.push_back(l.top);
        return t;
    };
    EXPECT_EQ(tops(), (std::vector<int>{0, 14, 32, 46}));
    EXPECT_EQ(doc.layout().pageCount, 2);
    doc.setPageEdit(false);
    EXPECT_EQ(tops(), (std::vector<int>{0, 14, 28, 42}));
    EXPECT_EQ(doc.layout().pageCount, 2);
}

TEST(Layout, HorizontalTextIsOneStripAlignedWithinItsPages) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.setPageFormat(PageLayout::Horizontal, 256, 16, headlessLimits());
    doc.insertUtf8(0, std::string(15, 'x') + "\n" + std::string(15, 'y'));  // 300 pixels
    ASSERT_EQ(doc.layout().lines.size(), 1u);
    EXPECT_EQ(doc.layout().lines[0].width, 300);
    EXPECT_EQ(doc.layout().pageCount, 2);
    doc.setLineAlignment(0, Alignment::Centre);
    EXPECT_EQ(doc.layout().lines[0].x, (512 - 300) / 2);
    EXPECT_EQ(doc.layout().pageCount, 2);
    doc.setLineAlignment(0, Alignment::Right);
    EXPECT_EQ(doc.layout().lines[0].x, 212);
    EXPECT_EQ(doc.layout().extent, 512);
}

TEST(Layout, CaretAndHitTestingAgreeWithTheWidths) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0,
                   "ab\xE4\xB8\xAD"
                   "c\nxy");
    doc.setLineAlignment(0, Alignment::Right);  // line 0 is 50 pixels: offset 206
    const TextLayout& l = doc.layout();
    EXPECT_EQ(l.caretAt(doc.page(), 2).x, 226);
    EXPECT_EQ(l.caretAt(doc.page(), 3).x, 226);  // inside the double-byte character
    EXPECT_EQ(l.caretAt(doc.page(), 4).x, 246);
    EXPECT_EQ(l.caretAt(doc.page(), 7).top, 14);
    EXPECT_EQ(l.positionAt(doc.page(), 230, 3), 2);
    EXPECT_EQ(l.positionAt(doc.page(), 240, 3), 4);
    EXPECT_EQ(l.positionAt(doc.page(), 0, 20), 6);
    EXPECT_EQ(l.positionAt(doc.page(), 500, 20), 8);
}

}  // namespace
}  // namespace brightline::pageeditor
