// HTML and ZTX text pages drawn into a region's pages: tags, sizes, alignment, paging, fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/content/cjk_face.h"
#include "engine/content/html_page_renderer.h"
#include "engine/content/page_canvas.h"
#include "engine/content/tests/content_fixture.h"
#include "engine/content/ztx_page_renderer.h"
#include "engine/diagnostic_output.h"

namespace brightline::content {
namespace {

using testing::builtInFonts;

// A font whose glyphs are all ink, or ink on their top row only.
BitmapFont blockFont(int width, int height, bool topRowOnly = false, int first = 0,
                     int count = 256) {
    FontHeader h;
    h.width = static_cast<uint8_t>(width);
    h.height = static_cast<uint8_t>(height);
    h.firstCode = static_cast<uint8_t>(first);
    h.count = static_cast<uint16_t>(count);
    std::vector<uint8_t> glyphs(h.blockSize(), 0);
    const int bpr = h.bytesPerRow();
    for (int g = 0; g < count; ++g)
        for (int row = 0; row < (topRowOnly ? 1 : height); ++row)
            for (int col = 0; col < width; ++col)
                glyphs[g * h.glyphSize() + row * bpr + col / 8] |= uint8_t(0x80 >> (col % 8));
    return BitmapFont(h, std::move(glyphs));
}

// Fonts 0 .. n-1, all block fonts of the given cell.
FontTable blockFonts(int n, int width, int height, bool topRowOnly = false) {
    FontTable table;
    for (int i = 0; i < n; ++i) table.add(blockFont(width, height, topRowOnly));
    return table;
}

// A region's pages with the text drawn into them.
struct Drawn {
    std::vector<uint32_t> page0;
    engine::PageList pages;
    int width, height, pageCount = 0;
    engine::CollectingDiagnostics diag;

    Drawn(int w, int h) : page0(size_t(w) * h, 0xABCDEF), width(w), height(h) {
        pages.reset(page0.data(), page0.size());
    }
    // Pixel at content column x (across pages), row y.
    uint32_t at(int x, int y) const {
        const uint32_t* p = pages.page(x / width);
        return p ? p[size_t(y) * width + x % width] : 0;
    }
    // The first and last content columns holding `colour` in any row; -1 when none.
    std::pair<int, int> inkSpan(uint32_t colour) const {
        int first = -1, last = -1;
        for (int x = 0; x < pageCount * width; ++x)
            for (int y = 0; y < height; ++y)
                if (at(x, y) == colour) {
                    if (first < 0) first = x;
                    last = x;
                }
        return {first, last};
    }
    std::vector<int> inkRows(uint32_t colour) const {
        std::vector<int> rows;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < pageCount * width; ++x)
                if (at(x, y) == colour) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
};

void html(Drawn& d, const std::string& text, const FontTable& fonts, CjkFace* face = nullptr) {
    PageCanvas canvas(d.pages, d.width, d.height);
    HtmlPageRenderer(canvas, fonts, face, d.diag).render(text);
    d.pageCount = canvas.pageCount();
}

void ztx(Drawn& d, const std::string& text, const FontTable& fonts) {
    PageCanvas canvas(d.pages, d.width, d.height);
    ZtxPageRenderer(canvas, fonts).render(text);
    d.pageCount = canvas.pageCount();
}

TEST(HtmlPage, FontSizeFiveIsEighteenPixelsWithFontNineteenOnlyWhenTwentyFontsAreLoaded) {
    struct Case {
        int fonts;
        const char* line;
    } cases[] = {
        {32, "font_size_old=14,font_size=18 font_index=19\n"},
        {20, "font_size_old=14,font_size=18 font_index=19\n"},
        {19, "font_size_old=14,font_size=18 font_index=3\n"},
        {5, "font_size_old=14,font_size=18 font_index=3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fonts);
        FontTable fonts = blockFonts(c.fonts, 4, 7);
        Drawn d(64, 32);
        // An 18-pixel size makes "&nbsp;" advance 18 pixels.
        html(d, "<BODY><FONT size=5>&nbsp;A</FONT></P></BODY>", fonts);
        EXPECT_EQ(d.diag.text().substr(0, std::string(c.line).size()), c.line);
        EXPECT_EQ(d.inkSpan(0xFFFFFF).first, 0) << "left alignment moves the line to column 0";
    }
    // Sizes outside 1..11 give 32 pixels.
    EXPECT_EQ(htmlSizePixels(0), 32);
    EXPECT_EQ(htmlSizePixels(11), 64);
    EXPECT_EQ(htmlSizePixels(12), 32);
}

TEST(HtmlPage, ParagraphAlignmentPlacesAFortyPixelLine) {
    struct Case {
        const char* tag;
        int firstColumn;
    } cases[] = {
        {"<P align=center>", 12},
        {"<P align=right>", 24},
        {"<P ALIGN = CENTER>", 12},  // spaces in the tag are dropped
        {"<P align=left>", 0},
        {"<P align=\"center\">", 0},  // quoted: not recognised, stays left
        {"<P align='right'>", 0},
    };
    const FontTable fonts = blockFonts(2, 4, 7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        Drawn d(64, 32);
        html(d, std::string("<BODY>") + c.tag + "ABCDEFGHIJ</P></BODY>", fonts);
        EXPECT_EQ(d.inkSpan(0xFFFFFF), std::make_pair(c.firstColumn, c.firstColumn + 39));
        EXPECT_NE(d.diag.text().find("z_line flag="), std::string::npos);
    }
}

TEST(HtmlPage, NbspAdvancesTheSizeAndASpaceAThirdOfIt) {
    struct Case {
        const char* text;
        int secondLetterAt;
    } cases[] = {
        {"A&nbsp;B", 4 + 14},
        {"A B", 4 + 4},
        {"A  B", 4 + 8},
        {"A\r\nB", 4},  // line breaks in the text are ignored
    };
    const FontTable fonts = blockFonts(2, 4, 7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Drawn d(64, 16);
        html(d, std::string("<BODY>") + c.text + "</P></BODY>", fonts);
        // Ink columns: the first letter 0..3, then the second one.
        std::vector<int> columns;
        for (int x = 0; x < 64; ++x)
            if (d.at(x, 0) == 0xFFFFFF) columns.push_back(x);
        ASSERT_EQ(columns.size(), 8u);
        EXPECT_EQ(columns[4], c.secondLetterAt);
    }
}

TEST(HtmlPage, FontColoursNestAndQuotedColoursAreMisread) {
    const FontTable fonts = blockFonts(2, 4, 7);
    Drawn d(64, 16);
    html(d,
         "<BODY><FONT color=#FF0000>A<FONT color=#00ff00>B</FONT>C</FONT>D"
         "<FONT color=\"#0000FF\">E</FONT></P></BODY>",
         fonts);
    EXPECT_EQ(d.at(0, 0), 0xFF0000u);
    EXPECT_EQ(d.at(4, 0), 0x00FF00u);
    EXPECT_EQ(d.at(8, 0), 0xFF0000u) << "</FONT> restores the outer colour";
    EXPECT_EQ(d.at(12, 0), 0xFFFFFFu);
    // The parse takes the six characters after the first, ""#0000F": pairs "#0", "00", "0F".
    EXPECT_EQ(d.at(16, 0), 0x00000Fu);
    EXPECT_NE(d.diag.text().find("font_color=ff0000 \n"), std::string::npos);
    EXPECT_NE(d.diag.text().find("font_color=f \n"), std::string::npos);
}

TEST(HtmlPage, LinesStandUprightOnlyWhenFinished) {
    const FontTable fonts = blockFonts(2, 4, 7, /*topRowOnly=*/true);
    Drawn finished(64, 32), open(64, 32);
    html(finished, "<BODY>AB</P>CD</P></BODY>", fonts);
    html(open, "<BODY>AB", fonts);
    // A line is 7 + 2 rows; the next starts one row below it.
    EXPECT_EQ(finished.inkRows(0xFFFFFF), (std::vector<int>{0, 10}));
    EXPECT_EQ(open.inkRows(0xFFFFFF), (std::vector<int>{8}));
    EXPECT_NE(finished.diag.text().find("z_line flag=0,x=0 y=0,w=8,h=9\n "), std::string::npos);
}

TEST(HtmlPage, TextOutsideBodyAndUnknownTagsRest) {
    const FontTable fonts = blockFonts(2, 4, 7);
    Drawn d(64, 16);
    // Only "<I" is consumed of an unknown tag; "x>" is text. Lower-case tags count too.
    html(d, "AB<body><I x>Q</p></body>CD", fonts);
    EXPECT_EQ(d.inkSpan(0xFFFFFF), std::make_pair(0, 11));
}

TEST(HtmlPage, ALongLineContinuesOnFurtherPages) {
    const FontTable fonts = blockFonts(2, 4, 7);
    Drawn d(64, 16);
    html(d, "<BODY>" + std::string(20, 'A') + "</P></BODY>", fonts);
    EXPECT_EQ(d.pageCount, 2);
    EXPECT_EQ(d.inkSpan(0xFFFFFF), std::make_pair(0, 79));
    EXPECT_EQ(d.at(79, 0), 0xFFFFFFu);
    EXPECT_EQ(d.at(80, 0), 0u);
}

TEST(HtmlPage, DoubleByteCharactersComeFromTheScalableFaceAtTheCurrentSize) {
    CjkFace face;
    if (!face.available()) GTEST_SKIP() << "no scalable CJK face installed";
    CjkGlyph middle;
    ASSERT_TRUE(face.render(0x4E2D, 18, middle));  // GB2312 D6D0
    ASSERT_GT(middle.width, 8);
    const FontTable fonts = blockFonts(2, 4, 7);
    Drawn d(128, 32);
    html(d, "<BODY><FONT size=5 color=#00FF00>\xD6\xD0\xD6\xD0</FONT></P></BODY>", fonts, &face);
    const auto span = d.inkSpan(0x00FF00);
    ASSERT_GE(span.first, 0);
    // Two characters, the second one glyph width + 1 further on.
    EXPECT_EQ(span.second - span.first + 1, middle.advance + middle.width);
    const std::vector<int> rows = d.inkRows(0x00FF00);
    EXPECT_LE(rows.back() - rows.front() + 1, 18);
    EXPECT_GE(rows.back() - rows.front() + 1, 12);

    // Without a face nothing is drawn, and the pen still moves on.
    Drawn none(128, 32);
    html(none,
         "<BODY>\xD6\xD0"
         "A</P></BODY>",
         fonts, nullptr);
    EXPECT_EQ(none.inkSpan(0xFFFFFF), std::make_pair(14, 17));
    EXPECT_EQ(gb2312ToUnicode(0xD6, 0xD0), 0x4E2Du);
    EXPECT_EQ(gb2312ToUnicode(0x41, 0xD0), 0u);
}

TEST(ZtxPage, FTagZeroDrawsWithFontOneE4X7) {
    const FontTable& fonts = builtInFonts();
    ASSERT_GE(fonts.count(), 2);
    ASSERT_EQ(fonts.width(1), 4);
    ASSERT_EQ(fonts.height(1), 7);
    Drawn d(64, 16);
    ztx(d, "<C#FFFFFF><F#0>AB", fonts);
    for (int letter = 0; letter < 2; ++letter) {
        const GlyphView g = fonts.glyph(1, static_cast<uint8_t>('A' + letter));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(d.at(letter * 4 + x, y), g.ink(x, y) ? 0xFFFFFFu : 0u)
                    << char('A' + letter) << " at " << x << "," << y;
    }
}

TEST(ZtxPage, ThreeHundredPixelsOfTextFillFivePages) {
    const FontTable fonts = blockFonts(3, 10, 8);
    Drawn d(64, 16);
    ztx(d, "<C#FFFFFF>" + std::string(30, 'A'), fonts);
    EXPECT_EQ(d.pageCount, 5);
    EXPECT_EQ(d.inkSpan(0xFFFFFF), std::make_pair(0, 299));
    EXPECT_NE(d.pages.page(4), nullptr);
    EXPECT_EQ(d.pages.page(5), nullptr);
}

TEST(ZtxPage, TagsLineFeedsAndPairing) {
    FontTable fonts;
    fonts.add(blockFont(16, 16, false, 0, 8178));  // font 0: the double-byte font
    fonts.add(blockFont(4, 7));
    fonts.add(blockFont(6, 8));  // font 2: the ZTX default
    struct Case {
        const char* text;
        std::pair<int, int> span;  // ink columns of `colour`
        std::vector<int> rows;     // first ink rows of each line
        uint32_t colour;
    } cases[] = {
        {"AB", {-1, -1}, {}, 0xFFFFFF},                             // black until a C tag
        {"<C#00FF00>AB", {0, 11}, {0}, 0x00FF00},                   // font 2 is 6 wide
        {"<C#00FF00><F#99>AB", {0, 11}, {0}, 0x00FF00},             // above 49: font 2
        {"<C#00FF00>A B", {0, 17}, {0}, 0x00FF00},                  // a space is a glyph's width
        {"<C#00FF00><<", {0, 5}, {0}, 0x00FF00},                    // "<<" draws "<"
        {"<C#FF0000>A\r\nB", {0, 5}, {0, 8}, 0xFF0000},             // LF: down one font height
        {"<C#FF0000>\xD6\xD0", {0, 15}, {0}, 0xFF0000},             // a pair from font 0
        {"<C#FF0000><CHARSET#1>\xD6\xD0", {0, 11}, {0}, 0xFF0000},  // pairing off: two glyphs
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Drawn d(64, 32);
        ztx(d, c.text, fonts);
        EXPECT_EQ(d.inkSpan(c.colour), c.span);
        if (!c.rows.empty()) {
            std::vector<int> rows = d.inkRows(c.colour);
            EXPECT_EQ(rows.front(), c.rows.front());
            if (c.rows.size() > 1) {
                EXPECT_EQ(rows.back(), c.rows.back() + 7);
            }
        }
    }
}

TEST(ZtxPage, GlyphsThatReachTheBottomEdgeAreDrawnAndTallerOnesAreNot) {
    const FontTable fonts = blockFonts(3, 6, 8);
    Drawn exact(64, 8), shorter(64, 7);
    ztx(exact, "<C#FFFFFF>AB", fonts);
    ztx(shorter, "<C#FFFFFF>AB", fonts);
    EXPECT_EQ(exact.inkSpan(0xFFFFFF), std::make_pair(0, 11));
    EXPECT_EQ(shorter.inkSpan(0xFFFFFF), std::make_pair(-1, -1));
}

TEST(ZtxPage, TextBeyondAThousandPagesIsCut) {
    const FontTable fonts = blockFonts(3, 8, 8);
    Drawn d(8, 8);
    ztx(d, "<C#FFFFFF>" + std::string(1500, 'A'), fonts);
    EXPECT_EQ(d.pageCount, 1000);
    EXPECT_EQ(d.inkSpan(0xFFFFFF), std::make_pair(0, 7999));
}

TEST(TextPageHooks, PagesAreFoundInTheWorkspaceAndShownByTheEntryEffect) {
    testing::Workspace ws;
    ws.write("run.at", testing::oneRegionShow(64, 16));
    ws.write("10000.shw", testing::scriptLines({"ZTXT Page 0", "AP SHOW 0", "STOP 1",
                                                "HTML missing 0", "AP SHOW 0"}));
    ws.write("PAGE.ZTX", "<C#FF0000><F#0>Hi");
    const auto result = ws.play();
    ASSERT_FALSE(result.frames.empty());
    const auto& first = result.frames.front();
    int red = 0;
    for (uint32_t p : first.pixels) red += p == 0xFF0000;
    EXPECT_GT(red, 6);
    EXPECT_NE(result.diagnostics.find("could not open " + ws.file("missing.htm") + " \n"),
              std::string::npos);
    // The missing page leaves the region black.
    const auto& last = result.frames.back();
    for (uint32_t p : last.pixels) ASSERT_EQ(p, 0u);
}

}  // namespace
}  // namespace brightline::content
