// Movies written from the file format by the test writer, played and drawn: each tag family a
// sign movie uses, checked pixel by pixel within a tolerance.
#include <gtest/gtest.h>

#include "media/swf/tests/swf_fixture.h"

namespace brightline::swf::test {
namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00C800, kBlack = 0,
                   kWhite = 0xFFFFFF, kYellow = 0xFFFF00, kOrange = 0xFF8000;

Mat translate(int tx, int ty) {
    Mat m;
    m.tx = tx;
    m.ty = ty;
    return m;
}

TEST(SwfRender, GradientRectangleMovesAcrossTheStage) {
    SwfFile f(100, 100);
    BitWriter
        fill;  // red to blue across the 20-pixel box: the gradient square squeezed to 400 twips
    fill.u8(0x10);
    Mat g;
    g.sx = g.sy = 400.0 / 32768;
    g.tx = 200;
    writeMatrix(fill, g);
    fill.u8(0x02);
    fill.u8(0);
    fill.rgb(255, 0, 0);
    fill.u8(255);
    fill.rgb(0, 0, 255);
    f.tag(22, boxShape(2, 1, 0, 0, 400, 2000, fill.data()));
    for (int k = 0; k < 4; ++k) {
        const Mat m = translate(k * 400, 0);
        f.tag(26, placeObject2(1, k == 0 ? 1 : 0, &m));
        f.showFrame();
    }
    const auto frames = drawFrames(f.bytes(), 100, 100, 4);
    keepFrames("gradient", frames);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        const int x = 20 * k;
        EXPECT_TRUE(pixelNear(frames[size_t(k)], x + 1, 50, 0xED0012, 30));
        EXPECT_TRUE(pixelNear(frames[size_t(k)], x + 10, 50, 0x800080, 20));
        EXPECT_TRUE(pixelNear(frames[size_t(k)], x + 18, 50, 0x1200ED, 30));
        EXPECT_TRUE(pixelNear(frames[size_t(k)], x + 25, 50, kBlack, 0));
        if (k > 0) {
            EXPECT_TRUE(pixelNear(frames[size_t(k)], x - 10, 50, kBlack, 0));
        }
    }
}

TEST(SwfRender, CurvedShapeRotatesAQuarterTurnEachFrame) {
    SwfFile f(100, 100);
    BitWriter t;  // a half disc right of its origin, radius 40 pixels, drawn with two curves
    t.u16(1);
    writeRect(t, 0, 800, -800, 800);
    t.u8(1);
    t.bytes(solidFill(0, 200, 0, 255));
    t.u8(0);
    ShapeRecords r(1, 0);
    r.change(0, -800, -1, 1);  // the fill on the edges' style-1 side this time
    r.curve(800, 0, 0, 800);
    r.curve(0, 800, -800, 0);
    r.line(0, -1600);
    t.bytes(r.finish());
    f.tag(32, t.data());
    for (int k = 0; k < 4; ++k) {
        const Mat m = rotation(90.0 * k, 1000, 1000);
        f.tag(26, placeObject2(1, k == 0 ? 1 : 0, &m));
        f.showFrame();
    }
    const auto frames = drawFrames(f.bytes(), 100, 100, 4);
    keepFrames("rotation", frames);
    // Where the disc's round side points in each frame, and the opposite side.
    const int inside[4][2] = {{80, 50}, {50, 80}, {20, 50}, {50, 20}};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        EXPECT_TRUE(pixelNear(frames[size_t(k)], inside[k][0], inside[k][1], kGreen));
        EXPECT_TRUE(
            pixelNear(frames[size_t(k)], 100 - inside[k][0], 100 - inside[k][1], kBlack, 0));
    }
    // The curve bulges through (30, -30) from the centre: a straight edge would cut (27, -27) off.
    EXPECT_TRUE(pixelNear(frames[0], 77, 23, kGreen));
    EXPECT_TRUE(pixelNear(frames[0], 83, 17, kBlack, 0));
}

TEST(SwfRender, LineStylesStrokeTheOutline) {
    struct Case {
        int version;
        uint32_t colour;
    };
    for (const Case c : {Case{1, kYellow}, Case{4, kRed}}) {
        SCOPED_TRACE("DefineShape version " + std::to_string(c.version));
        SwfFile f(100, 100);
        BitWriter t;
        t.u16(1);
        writeRect(t, 360, 1640, 360, 1640);
        if (c.version == 4) {
            writeRect(t, 400, 1600, 400, 1600);
            t.u8(0);
        }
        t.u8(0);  // no fill style
        t.u8(1);  // one line style, 4 pixels wide
        t.u16(80);
        if (c.version == 4) {  // square caps, miter joins, painted with a fill style
            t.ub(2, 2);
            t.ub(2, 2);
            t.ub(1, 1);
            t.ub(0, 3);
            t.ub(0, 8);
            t.u16(3 * 256);
            t.bytes(solidFill(255, 0, 0, 255));
        } else {
            t.rgb(255, 255, 0);
        }
        ShapeRecords r(0, 1);
        r.change(400, 400, -1, -1, 1);
        r.box(1200, 1200);
        t.bytes(r.finish());
        f.tag(c.version == 4 ? 83 : 2, t.data());
        f.tag(26, placeObject2(1, 1));
        f.showFrame();
        const auto frames = drawFrames(f.bytes(), 100, 100, 1);
        keepFrames("line" + std::to_string(c.version), frames);
        EXPECT_TRUE(pixelNear(frames[0], 20, 50, c.colour));
        EXPECT_TRUE(pixelNear(frames[0], 50, 80, c.colour));
        EXPECT_TRUE(pixelNear(frames[0], 50, 50, kBlack, 0));
        EXPECT_TRUE(pixelNear(frames[0], 25, 50, kBlack, 0));
        EXPECT_TRUE(pixelNear(frames[0], 15, 50, kBlack, 0));
    }
}

// A font of one glyph, a square one em wide standing on the baseline.
Bytes boxFont(int code, uint16_t id) {
    const int em = code == 75 ? 20480 : 1024;
    ShapeRecords glyph(1, 0);
    glyph.change(0, -em, 1);
    glyph.box(em, em);
    const Bytes shape = glyph.finish();
    BitWriter t;
    t.u16(id);
    if (code == 10) {
        t.u16(2);
        t.bytes(shape);
        return t.data();
    }
    t.u8(0);  // flags
    t.u8(0);  // language
    t.u8(3);
    t.bytes({'B', 'o', 'x'});
    t.u16(1);
    t.u16(4);                           // glyph 0 after the offset and code table offset
    t.u16(uint16_t(4 + shape.size()));  // code table offset
    t.bytes(shape);
    t.u8('A');
    return t.data();
}

TEST(SwfRender, StaticTextDrawsGlyphOutlinesAtTheirAdvances) {
    struct Case {
        int fontTag, textTag;
    };
    for (const Case c : {Case{10, 11}, Case{48, 33}, Case{75, 11}}) {
        SCOPED_TRACE("font tag " + std::to_string(c.fontTag) + ", text tag " +
                     std::to_string(c.textTag));
        SwfFile f(100, 100);
        f.tag(c.fontTag, boxFont(c.fontTag, 5));
        BitWriter t;
        t.u16(6);
        writeRect(t, 0, 2000, 0, 2000);
        writeMatrix(t, Mat());
        t.u8(1);   // glyph bits
        t.u8(11);  // advance bits
        t.u8(0x8F);
        t.u16(5);
        if (c.textTag == 33)
            t.rgba(255, 128, 0, 255);
        else
            t.rgb(255, 128, 0);
        t.u16(200);   // x: 10 pixels
        t.u16(1200);  // baseline: 60 pixels
        t.u16(400);   // 20 pixels high
        t.u8(2);
        for (int i = 0; i < 2; ++i) {
            t.ub(0, 1);
            t.sb(600, 11);
        }
        t.u8(0);
        f.tag(c.textTag, t.data());
        f.tag(26, placeObject2(1, 6));
        f.showFrame();
        const auto frames = drawFrames(f.bytes(), 100, 100, 1);
        keepFrames("text" + std::to_string(c.fontTag), frames);
        EXPECT_TRUE(pixelNear(frames[0], 20, 50, kOrange));
        EXPECT_TRUE(pixelNear(frames[0], 50, 50, kOrange));
        EXPECT_TRUE(pixelNear(frames[0], 35, 50, kBlack, 0));
        EXPECT_TRUE(pixelNear(frames[0], 20, 35, kBlack, 0));
        EXPECT_TRUE(pixelNear(frames[0], 20, 64, kBlack, 0));
    }
}

TEST(SwfRender, SpriteRunsItsOwnTimelineAndLoops) {
    SwfFile f(100, 100);
    f.tag(2, boxShape(1, 1, 0, 0, 2000, 2000, solidFill(255, 0, 0)));
    f.tag(2, boxShape(1, 2, 0, 0, 2000, 2000, solidFill(0, 0, 255)));
    BitWriter sprite;
    sprite.u16(3);
    sprite.u16(2);
    Bytes tags;
    appendTag(tags, 26, placeObject2(1, 1));
    appendTag(tags, 1, {});
    appendTag(tags, 28, removeObject2(1));
    appendTag(tags, 26, placeObject2(1, 2));
    appendTag(tags, 1, {});
    appendTag(tags, 0, {});
    sprite.bytes(tags);
    f.tag(39, sprite.data());
    f.tag(26, placeObject2(1, 3));
    for (int k = 0; k < 5; ++k) f.showFrame();
    const auto frames = drawFrames(f.bytes(), 100, 100, 5);
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(pixelNear(frames[size_t(k)], 50, 50, k % 2 ? kBlue : kRed, 0)) << "frame " << k;
}

TEST(SwfRender, ColourTransformFadesIn) {
    SwfFile f(100, 100);
    f.tag(2, boxShape(1, 1, 0, 0, 2000, 2000, solidFill(255, 255, 255)));
    const int add[4] = {0, 0, 0, 0};
    const int alphas[4] = {0, 64, 128, 256};
    for (int k = 0; k < 4; ++k) {
        const int mult[4] = {256, 256, 256, alphas[k]};
        f.tag(26, placeObject2(1, k == 0 ? 1 : 0, nullptr, mult, add));
        f.showFrame();
    }
    const auto frames = drawFrames(f.bytes(), 100, 100, 4);
    keepFrames("fade", frames);
    const uint32_t grey[4] = {0x000000, 0x404040, 0x808080, 0xFFFFFF};
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(pixelNear(frames[size_t(k)], 50, 50, grey[k], 2)) << "frame " << k;
}

TEST(SwfRender, ClipDepthMasksOnlyTheDepthsItCovers) {
    SwfFile f(100, 100);
    f.tag(2, boxShape(1, 1, 0, 0, 1000, 2000,
                      solidFill(255, 0, 0)));  // the mask's colour is not drawn
    f.tag(2, boxShape(1, 2, 0, 0, 2000, 2000, solidFill(255, 255, 255)));
    f.tag(2, boxShape(1, 3, 1200, 1200, 400, 400, solidFill(0, 200, 0)));
    f.tag(26, placeObject2(1, 1, nullptr, nullptr, nullptr, 2));
    f.tag(26, placeObject2(2, 2));
    f.tag(26, placeObject2(3, 3));
    f.showFrame();
    const auto frames = drawFrames(f.bytes(), 100, 100, 1);
    keepFrames("mask", frames);
    EXPECT_TRUE(pixelNear(frames[0], 25, 50, kWhite, 0));
    EXPECT_TRUE(pixelNear(frames[0], 75, 20, kBlack, 0));
    EXPECT_TRUE(pixelNear(frames[0], 70, 70, kGreen, 0));
}

TEST(SwfRender, StageIsStretchedToThePictureAndCompressedMoviesDrawTheSame) {
    SwfFile f(100, 100);
    f.tag(9, {255, 255, 255});
    f.tag(2, boxShape(1, 1, 0, 0, 1000, 2000, solidFill(255, 0, 0)));
    f.tag(26, placeObject2(1, 1));
    f.showFrame();
    const auto plain = drawFrames(f.bytes(false), 50, 20, 1);
    const auto packed = drawFrames(f.bytes(true), 50, 20, 1);
    EXPECT_TRUE(pixelNear(plain[0], 12, 10, kRed, 0));
    EXPECT_TRUE(pixelNear(plain[0], 24, 19, kRed, 0));
    // The transform draws on black whatever the movie's background colour.
    EXPECT_TRUE(pixelNear(plain[0], 26, 10, kBlack, 0));
    EXPECT_EQ(plain[0].pixels, packed[0].pixels);
}

TEST(SwfRender, MorphShapeTweensPlaceColourAndOutline) {
    SwfFile f(100, 100);
    BitWriter t;  // a red square on the left becomes a blue diamond-topped square on the right
    t.u16(1);
    writeRect(t, 0, 400, 800, 1200);
    writeRect(t, 1200, 1600, 400, 1200);
    BitWriter styles;
    styles.u8(1);
    styles.u8(0x00);
    styles.rgba(255, 0, 0, 255);
    styles.rgba(0, 0, 255, 255);
    styles.u8(0);
    ShapeRecords start(1, 0);
    start.change(0, 800, 1);
    start.line(400, 0);  // paired with a curve in the end shape
    start.line(0, 400);
    start.line(-400, 0);
    start.line(0, -400);
    const Bytes startEdges = start.finish();
    ShapeRecords end(0, 0);
    end.change(1200, 800);
    end.curve(200, -800, 200, 800);
    end.line(0, 400);
    end.line(-400, 0);
    end.line(0, -400);
    Bytes body = styles.data();
    body.insert(body.end(), startEdges.begin(), startEdges.end());
    t.u32(uint32_t(body.size()));
    t.bytes(body);
    t.bytes(end.finish());
    f.tag(46, t.data());
    for (int k = 0; k < 3; ++k) {
        BitWriter place;  // PlaceObject2 with a ratio: 0, one half, all
        place.u8(k == 0 ? 0x12 : 0x11);
        place.u16(1);
        if (k == 0) place.u16(1);
        place.u16(uint16_t(k * 32767 + (k == 2 ? 1 : 0)));
        f.tag(26, place.data());
        f.showFrame();
    }
    const auto frames = drawFrames(f.bytes(), 100, 100, 3);
    keepFrames("morph", frames);
    EXPECT_TRUE(pixelNear(frames[0], 10, 50, kRed, 0));
    EXPECT_TRUE(pixelNear(frames[0], 10, 38, kBlack, 0));
    EXPECT_TRUE(pixelNear(frames[1], 40, 50, 0x800080, 2));
    EXPECT_TRUE(pixelNear(frames[1], 10, 50, kBlack, 0));
    EXPECT_TRUE(pixelNear(frames[2], 70, 50, kBlue, 0));
    // The end shape's top edge is a curve peaking 20 pixels above the square.
    EXPECT_TRUE(pixelNear(frames[2], 70, 35, kBlue, 0));
    EXPECT_TRUE(pixelNear(frames[2], 62, 25, kBlack, 0));
}

}  // namespace
}  // namespace brightline::swf::test
