// Every bitmap tag kind drawn through a bitmap fill: the four colours of a 2 x 2 bitmap, or the
// colour of a JPEG or PNG picture, land where the fill matrix puts them.
#include <gtest/gtest.h>

#include <functional>

#include "media/jpeg_picture.h"
#include "media/png_picture.h"
#include "media/swf/tests/swf_fixture.h"

namespace brightline::swf::test {
namespace {

// Red, green / blue, white.
const uint8_t kQuad[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

Bytes lossless(int code, int format) {
    BitWriter t;
    t.u16(1);
    t.u8(uint8_t(format));
    t.u16(2);
    t.u16(2);
    Bytes raw;
    const bool alpha = code == 36;
    if (format == 3) {
        t.u8(3);  // four colours
        for (const auto& c : kQuad) {
            raw.insert(raw.end(), c, c + 3);
            if (alpha) raw.push_back(255);
        }
        raw.insert(raw.end(), {0, 1, 0, 0, 2, 3, 0, 0});  // rows padded to four bytes
    } else if (format == 4) {
        for (int i = 0; i < 4; ++i) {
            const auto& c = kQuad[i];
            const int v = ((c[0] >> 3) << 10) | ((c[1] >> 3) << 5) | (c[2] >> 3);
            raw.push_back(uint8_t(v >> 8));
            raw.push_back(uint8_t(v));
        }
    } else {
        for (const auto& c : kQuad) raw.insert(raw.end(), {255, c[0], c[1], c[2]});
        if (alpha) {  // the red pixel half transparent, stored premultiplied
            raw[0] = 128;
            raw[1] = 128;
        }
    }
    t.bytes(zlibCompress(raw));
    return t.data();
}

Bytes solidJpeg() {
    media::Picture p(16, 16);
    for (uint32_t& px : p.pixels) px = 0xC82828;
    Bytes jpeg;
    EXPECT_TRUE(media::encodeJpeg(p, 95, jpeg));
    return jpeg;
}

// The JPEG's quantisation and Huffman tables as one stream and the rest as another, each
// framed by SOI and EOI, as DefineBits and JPEGTables hold them.
void splitJpeg(const Bytes& jpeg, Bytes& tables, Bytes& image) {
    tables = {0xFF, 0xD8};
    image = {0xFF, 0xD8};
    size_t i = 2;
    while (i + 4 <= jpeg.size()) {
        const uint8_t m = jpeg[i + 1];
        const size_t len = (size_t(jpeg[i + 2]) << 8) | jpeg[i + 3];
        Bytes& to = (m == 0xDB || m == 0xC4) ? tables : image;
        if (m == 0xDA) {
            image.insert(image.end(), jpeg.begin() + long(i), jpeg.end());
            break;
        }
        to.insert(to.end(), jpeg.begin() + long(i), jpeg.begin() + long(i + 2 + len));
        i += 2 + len;
    }
    tables.insert(tables.end(), {0xFF, 0xD9});
}

struct BitmapCase {
    const char* name;
    std::function<void(SwfFile&)> define;  // defines bitmap 1
    int bitmapPixels;                      // the bitmap's side in pixels
    uint32_t expected[4];                  // quadrant colours (top left, top right, ...)
    int tolerance;
};

class BitmapFills : public testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapFills, QuadrantsShowTheBitmap) {
    const BitmapCase& c = GetParam();
    SwfFile f(100, 100);
    c.define(f);
    BitWriter fill;  // clipped, smoothed: the bitmap stretched over 40 x 40 pixels
    fill.u8(0x41);
    fill.u16(1);
    Mat m;
    m.sx = m.sy = 800.0 / c.bitmapPixels;
    writeMatrix(fill, m);
    f.tag(32, boxShape(3, 2, 0, 0, 800, 800, fill.data()));
    f.tag(26, placeObject2(1, 2));
    f.showFrame();
    std::vector<std::string> diagnostics;
    const auto frames = drawFrames(f.bytes(), 100, 100, 1, &diagnostics);
    keepFrames(std::string("bitmap_") + c.name, frames);
    EXPECT_TRUE(diagnostics.empty()) << diagnostics.front();
    const int at[4][2] = {{10, 10}, {30, 10}, {10, 30}, {30, 30}};
    for (int q = 0; q < 4; ++q)
        EXPECT_TRUE(pixelNear(frames[0], at[q][0], at[q][1], c.expected[q], c.tolerance));
    EXPECT_TRUE(pixelNear(frames[0], 60, 60, 0, 0));
}

const uint32_t kQuadRgb[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
const uint32_t kJpegRgb[4] = {0xC82828, 0xC82828, 0xC82828, 0xC82828};

INSTANTIATE_TEST_SUITE_P(
    Kinds, BitmapFills,
    testing::Values(
        BitmapCase{"lossless_32bit",
                   [](SwfFile& f) { f.tag(20, lossless(20, 5)); },
                   2,
                   {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   16},
        BitmapCase{"lossless_mapped",
                   [](SwfFile& f) { f.tag(20, lossless(20, 3)); },
                   2,
                   {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   16},
        BitmapCase{"lossless_15bit",
                   [](SwfFile& f) { f.tag(20, lossless(20, 4)); },
                   2,
                   {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   16},
        BitmapCase{"lossless2_alpha",
                   [](SwfFile& f) { f.tag(36, lossless(36, 5)); },
                   2,
                   {0x800000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   16},
        BitmapCase{"lossless2_mapped",
                   [](SwfFile& f) { f.tag(36, lossless(36, 3)); },
                   2,
                   {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   16},
        BitmapCase{
            "jpeg2_stray_markers",
            [](SwfFile& f) {
                BitWriter t;
                t.u16(1);
                t.bytes({0xFF, 0xD9, 0xFF, 0xD8});  // the erroneous header some encoders write
                t.bytes(solidJpeg());
                f.tag(21, t.data());
            },
            16,
            {0xC82828, 0xC82828, 0xC82828, 0xC82828},
            10},
        BitmapCase{"bits_with_tables",
                   [](SwfFile& f) {
                       Bytes tables, image;
                       splitJpeg(solidJpeg(), tables, image);
                       f.tag(8, tables);
                       BitWriter t;
                       t.u16(1);
                       t.bytes(image);
                       f.tag(6, t.data());
                   },
                   16,
                   {0xC82828, 0xC82828, 0xC82828, 0xC82828},
                   10},
        BitmapCase{"jpeg3_alpha",
                   [](SwfFile& f) {
                       const Bytes jpeg = solidJpeg();
                       BitWriter t;
                       t.u16(1);
                       t.u32(uint32_t(jpeg.size()));
                       t.bytes(jpeg);
                       t.bytes(zlibCompress(Bytes(256, 128)));
                       f.tag(35, t.data());
                   },
                   16,
                   {0x641414, 0x641414, 0x641414, 0x641414},
                   10},
        BitmapCase{"jpeg2_png",
                   [](SwfFile& f) {
                       media::Picture p(2, 2);
                       for (int i = 0; i < 4; ++i) p.pixels[size_t(i)] = kQuadRgb[i];
                       Bytes png;
                       EXPECT_TRUE(media::encodePng(p, png));
                       BitWriter t;
                       t.u16(1);
                       t.bytes(png);
                       f.tag(21, t.data());
                   },
                   2,
                   {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   16}),
    [](const testing::TestParamInfo<BitmapCase>& info) { return std::string(info.param.name); });

TEST(BitmapFillModes, RepeatingFillsTileAndClippedFillsExtendTheirEdge) {
    for (const uint8_t type : {0x40, 0x43}) {
        SwfFile f(100, 100);
        f.tag(20, lossless(20, 5));
        BitWriter fill;
        fill.u8(type);
        fill.u16(1);
        Mat m;
        m.sx = m.sy = 400;
        writeMatrix(fill, m);
        f.tag(32, boxShape(3, 2, 0, 0, 1600, 800, fill.data()));
        f.tag(26, placeObject2(1, 2));
        f.showFrame();
        const auto frames = drawFrames(f.bytes(), 100, 100, 1);
        // Repeated, the red corner comes back 40 pixels on; clipped, the green right edge goes on.
        EXPECT_TRUE(pixelNear(frames[0], 50, 10, type == 0x40 ? 0xFF0000 : 0x00FF00, 16))
            << int(type);
    }
}

}  // namespace
}  // namespace brightline::swf::test
