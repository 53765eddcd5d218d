// Fonts through fontconfig and the drawing of text, contour characters and pictures.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QFontInfo>

#include "pageeditor/render/font_substitutes.h"
#include "pageeditor/render/page_painter.h"
#include "pageeditor/render/qt_font_catalog.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {
namespace {

LogFont fontNamed(const std::string& face, int height, int charSet = kAnsiCharset) {
    LogFont f = defaultLogFont();
    f.setFace(face);
    f.height = height;
    f.charSet = uint8_t(charSet);
    return f;
}

TEST(Fonts, WindowsFacesResolveToInstalledFaces) {
    struct Case {
        const char* face;
        int charSet;
        const char* family;
    } cases[] = {
        {"Arial", kAnsiCharset, "Liberation Sans"},
        {"TIMES NEW ROMAN", kAnsiCharset, "Liberation Serif"},
        {"Courier New", kAnsiCharset, "Liberation Mono"},
        {"Tahoma", kAnsiCharset, "DejaVu Sans"},
        {"Verdana", kAnsiCharset, "DejaVu Sans"},
        {"\xE5\xAE\x8B\xE4\xBD\x93", kGb2312Charset, "WenQuanYi Zen Hei"},  // 宋体
        {"SimHei", kGb2312Charset, "WenQuanYi Zen Hei"},
        {"No Such Face", kAnsiCharset, "DejaVu Sans"},
        {"Liberation Serif", kAnsiCharset, "Liberation Serif"},  // installed faces as named
    };
    QtFontCatalog catalog;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(
            QFontInfo(catalog.qfont(fontNamed(c.face, -16, c.charSet))).family().toStdString(),
            c.family);
    }
    // A Latin face asked for with the Chinese character set keeps the Chinese face behind it.
    EXPECT_EQ(familiesForFace("Arial", kGb2312Charset),
              (std::vector<std::string>{"Liberation Sans", "WenQuanYi Zen Hei"}));
}

TEST(Fonts, HeightsAndAdvancesAreMeasuredInPixels) {
    QtFontCatalog catalog;
    // A positive height is the cell height, a negative one the pixel size.
    for (int h : {12, 20, 33}) {
        const FontMetrics m = catalog.metrics(fontNamed("Arial", h));
        EXPECT_NEAR(m.height(), h, 1) << h;
    }
    EXPECT_EQ(catalog.qfont(fontNamed("Arial", -20)).pixelSize(), 20);
    const LogFont arial = fontNamed("Arial", -20);
    EXPECT_GT(catalog.advance(arial, "W"), catalog.advance(arial, "i"));
    // A Chinese character in a Latin face is measured in the face that draws it.
    EXPECT_EQ(catalog.advance(fontNamed("SimSun", -16, kGb2312Charset), "\xD6\xD0"), 16);
    EXPECT_EQ(catalog.advance(arial, "\xD6\xD0"), 20);
    // Bold and stretched fonts are wider.
    LogFont bold = arial, wide = arial;
    bold.weight = 700;
    wide.width = 20;
    EXPECT_GT(catalog.advance(bold, "m"), catalog.advance(arial, "m"));
    EXPECT_GT(catalog.advance(wide, "m"), catalog.advance(arial, "m"));
}

struct PixelCount {
    int exact = 0;  // pixels of exactly the colour
    int other = 0;  // lit pixels of any other hue
    QRect bounds;   // of the exact pixels
};

PixelCount count(const QImage& image, QRgb colour, QRect area = QRect()) {
    PixelCount c;
    if (area.isNull()) area = image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p == (colour & 0xFFFFFF)) {
                ++c.exact;
                c.bounds |= QRect(x, y, 1, 1);
            } else if (p != 0) {
                ++c.other;
            }
        }
    return c;
}

TEST(Drawing, TextContourAndPictureAreDrawnWhereTheLayoutPutsThem) {
    QtFontCatalog catalog;
    TextDocument doc(catalog);
    doc.setPageFormat(PageLayout::Vertical, 96, 40, headlessLimits());
    // Without antialiasing every lit pixel has exactly its run's colour.
    LogFont sharp = fontNamed("Arial", -28);
    sharp.quality = kNonAntialiasedQuality;
    doc.setFont(sharp);
    doc.setTextColor(0x000000FF);  // red
    doc.insertUtf8(0, "H");
    doc.setTextColor(0x00FF0000);  // blue, outlined in green
    doc.setContourStyle(1, 0x0000FF00, 1);
    doc.insertUtf8(1, "O");
    media::Picture picture(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.at(x, y) = 0x00102030u + uint32_t(x * 16 + y);
    doc.insertPicture(2, picture);

    const LineBox& line = doc.layout().lines.at(0);
    const int h = doc.page().widths[0], o = doc.page().widths[1];
    PagePainter painter(catalog);
    const QImage page = painter.renderPage(doc.page(), doc.layout(), 0);
    ASSERT_EQ(page.size(), QSize(96, 40));
    if (const char* keep = std::getenv("BRIGHTLINE_KEEP_IMAGE")) page.save(keep);

    // "H" in red within its advance.
    const PixelCount red = count(page, qRgb(255, 0, 0), QRect(0, 0, h, 40));
    EXPECT_GT(red.exact, 30);
    EXPECT_EQ(red.other, 0);
    EXPECT_LE(red.bounds.right(), h - 1);
    // "O": the outline in green around the blue fill.
    const PixelCount green = count(page, qRgb(0, 255, 0), QRect(h, 0, o, 40));
    const PixelCount blue = count(page, qRgb(0, 0, 255), QRect(h, 0, o, 40));
    EXPECT_GT(green.exact, 20);
    EXPECT_GT(blue.exact, 5);
    EXPECT_EQ(green.other, blue.exact);
    EXPECT_TRUE(green.bounds.contains(blue.bounds)) << "the fill lies inside the outline";
    // The picture stands on the baseline, pixel for pixel.
    const int px = h + o, py = line.top + line.ascent - 3;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(page.pixel(px + x, py + y) & 0xFFFFFF, picture.at(x, y)) << x << "," << y;

    // The same document draws the same pixels, also with fonts made afresh.
    QtFontCatalog again;
    PagePainter second(again);
    EXPECT_EQ(second.renderPage(doc.page(), doc.layout(), 0), page);

    // With the default quality the edges are shaded.
    doc.selectAll();
    doc.setFont(fontNamed("Arial", -28));
    const QImage smooth = painter.renderPage(doc.page(), doc.layout(), 0);
    EXPECT_GT(count(smooth, qRgb(255, 0, 0), QRect(0, 0, doc.page().widths[0], 40)).other, 10);
}

TEST(Drawing, EachPageIsItsOwnStripOrBandOfTheCanvas) {
    QtFontCatalog catalog;
    TextDocument doc(catalog);
    doc.setPageFormat(PageLayout::Horizontal, 40, 16, headlessLimits());
    media::Picture dot(2, 2);
    for (uint32_t& p : dot.pixels) p = 0x00FFFF00;
    // Spaces, then the picture: it starts beyond the first page.
    doc.insertUtf8(0, std::string(13, ' '));
    doc.insertPicture(13, dot);
    const int x = doc.layout().caretAt(doc.page(), 13).x;
    ASSERT_GT(x, 40);
    PagePainter painter(catalog);
    const int index = x / 40;
    EXPECT_EQ(doc.layout().pageCount, (x + 2 + 39) / 40);
    const QImage page = painter.renderPage(doc.page(), doc.layout(), index);
    const PixelCount yellow = count(page, qRgb(255, 255, 0));
    EXPECT_EQ(yellow.exact, std::min(2, 40 - x % 40) * 2);
    EXPECT_EQ(yellow.bounds.left(), x % 40);
    EXPECT_EQ(count(painter.renderPage(doc.page(), doc.layout(), 0), qRgb(255, 255, 0)).exact, 0);

    doc.setPageFormat(PageLayout::Vertical, 40, 16, headlessLimits());
    doc.deleteRange(0, 13);
    doc.insertUtf8(0, "\n\n\n");  // the picture on the fourth line, on page 1 or later
    const int top = doc.layout().caretAt(doc.page(), 3).top;
    const QImage band = painter.renderPage(doc.page(), doc.layout(), top / 16);
    EXPECT_EQ(count(band, qRgb(255, 255, 0)).exact, 4);
}

TEST(Drawing, PicturesOfEveryStoredDepthAreReadAndBadBitsAreNot) {
    PictureEntry p;
    p.info.width = 2;
    p.info.height = 1;
    struct Case {
        uint16_t bpp;
        int stride;
        std::vector<uint8_t> bits;
        QRgb first;
    } cases[] = {
        {32, 8, {0x30, 0x20, 0x10, 0, 1, 2, 3, 0}, qRgb(0x10, 0x20, 0x30)},
        {24, 8, {0x30, 0x20, 0x10, 1, 2, 3, 0, 0}, qRgb(0x10, 0x20, 0x30)},
        {16, 4, {0x00, 0xF8, 0x1F, 0x00}, qRgb(255, 0, 0)},
        {8, 4, {1, 2, 0, 0}, 0},              // palette depths are not drawn
        {32, 8, {1, 2, 3}, 0},                // fewer bits than the rows need
        {32, 4, std::vector<uint8_t>(8), 0},  // a stride shorter than a row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpp);
        p.info.bitsPerPixel = c.bpp;
        p.info.stride = c.stride;
        p.bits = std::make_shared<std::vector<uint8_t>>(c.bits);
        const QImage image = pictureImage(p);
        if (c.first == 0) {
            EXPECT_TRUE(image.isNull());
        } else {
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.pixel(0, 0), c.first);
        }
    }
}

}  // namespace
}  // namespace brightline::pageeditor
