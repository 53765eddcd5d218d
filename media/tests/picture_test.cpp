// Pictures: the region placement rules, the codecs on real and damaged input, DSN, jpg.ini.
#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/dsn_picture.h"
#include "media/frame_encoder.h"
#include "media/jpeg_picture.h"
#include "media/jpeg_quality.h"
#include "media/picture_loader.h"
#include "media/png_picture.h"
#include "media/tests/clip_fixture.h"

namespace brightline::media {
namespace {

using test::MediaFolder;
using test::runFfmpeg;

// A picture whose every pixel tells where it is: red = x, green = y low byte, blue = y high byte.
Picture positionPicture(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.at(x, y) = uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | uint32_t(y >> 8);
    return p;
}

TEST(BmpPlacement, TallBitmapShowsItsBottomRowsUprightAndSmallOnesStandAtTheTop) {
    struct Case {
        int w, h, regionW, regionH;
    };
    for (const Case c :
         {Case{10, 300, 64, 32}, Case{5, 4, 64, 32}, Case{80, 40, 64, 32}, Case{7, 32, 8, 32}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const Picture pic = positionPicture(c.w, c.h);
        Picture page;
        ASSERT_TRUE(placeBmp24(encodeBmp24(pic), c.regionW, c.regionH, page));
        ASSERT_EQ(page.width, c.regionW);
        ASSERT_EQ(page.height, c.regionH);
        const int shown = std::min(c.h, c.regionH);
        for (int y = 0; y < c.regionH; ++y) {
            for (int x = 0; x < c.regionW; ++x) {
                // A taller bitmap shows its last `shown` rows; others start at their top.
                const uint32_t want = (x < c.w && y < shown) ? pic.at(x, c.h - shown + y) : 0;
                ASSERT_EQ(page.at(x, y), want) << x << "," << y;
            }
        }
    }
}

TEST(BmpPlacement, OtherDepthsAndDamagedFilesShowNothing) {
    std::vector<uint8_t> file = encodeBmp24(positionPicture(8, 8));
    std::vector<uint8_t> sixteen = file;
    sixteen[28] = 16;
    std::vector<uint8_t> zeroHeight = file;
    zeroHeight[22] = zeroHeight[23] = zeroHeight[24] = zeroHeight[25] = 0;
    std::vector<uint8_t> negativeWidth = file;
    negativeWidth[21] = 0x80;
    std::vector<uint8_t> header(file.begin(), file.begin() + 40);
    for (const auto& bad : {sixteen, zeroHeight, negativeWidth, header}) {
        Picture page(1, 1);
        page.at(0, 0) = 0x123456;
        std::string error;
        EXPECT_FALSE(placeBmp24(bad, 16, 16, page, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(page.at(0, 0), 0x123456u) << "the page is left as it was";
    }
}

TEST(BmpPlacement, StrideComesFromTheFileSizeAndNeverReadsPastIt) {
    // A 20-pixel-wide bitmap cut down to 3 rows' worth of data for 4 rows: the stride becomes
    // (size - 54) / 4, narrower than the width; columns are cut to what it holds.
    std::vector<uint8_t> file = encodeBmp24(positionPicture(20, 4));
    file.resize(54 + 3 * 60);
    Picture page;
    ASSERT_TRUE(placeBmp24(file, 64, 8, page));
    const size_t stride = (file.size() - 54) / 4;  // 45 bytes: 15 pixels
    EXPECT_EQ(page.at(15, 0), 0u);
    // Output row 0 is file row 3, which starts at 54 + 3 * stride.
    const uint8_t* row3 = file.data() + 54 + 3 * stride;
    EXPECT_EQ(page.at(0, 0), uint32_t(row3[2]) << 16 | row3[1] << 8 | row3[0]);
}

TEST(BmpDecoder, ReadsPaletteAndBitFieldBitmapsAndRefusesDamage) {
    MediaFolder dir;
    // ffmpeg's bmp encoder writes 8-bit palette, 16-bit 555 and 32-bit files.
    ASSERT_TRUE(
        runFfmpeg("-f lavfi -i color=c=0x3366CC:size=10x6 -frames:v 1 " + dir.file("ref.bmp")));
    Picture ref;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(dir.file("ref.bmp"), bytes));
    ASSERT_TRUE(decodeBmp(bytes, ref));
    EXPECT_NEAR(int(ref.at(4, 2) >> 16), 0x33, 4);
    for (const char* fmt : {"pal8", "rgb555le", "bgra", "rgb8"}) {
        SCOPED_TRACE(fmt);
        const std::string path = dir.file(std::string(fmt) + ".bmp");
        ASSERT_TRUE(runFfmpeg("-f lavfi -i color=c=0x3366CC:size=10x6 -frames:v 1 -pix_fmt " +
                              std::string(fmt) + " " + path));
        ASSERT_TRUE(readWholeFile(path, bytes));
        Picture pic;
        ASSERT_TRUE(decodeBmp(bytes, pic));
        ASSERT_EQ(pic.width, 10);
        ASSERT_EQ(pic.height, 6);
        const uint32_t p = pic.at(9, 5);
        // Fewer bits a channel round the colour; each channel stays within one step of 8 bits.
        EXPECT_NEAR(int(p >> 16 & 0xFF), 0x33, 0x30);
        EXPECT_NEAR(int(p >> 8 & 0xFF), 0x66, 0x30);
        EXPECT_NEAR(int(p & 0xFF), 0xCC, 0x30);
        for (size_t cut = 0; cut < bytes.size(); cut += 7) {
            Picture out;
            EXPECT_FALSE(decodeBmp(bytes.data(), cut, out)) << "cut at " << cut;
        }
    }
}

std::vector<uint8_t> greyJpeg(int w, int h) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&cinfo, &buffer, &length);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) row[size_t(x)] = uint8_t(x < w / 2 ? 40 : 200);
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + length);
    free(buffer);
    return out;
}

TEST(JpegPicture, GreyPicturesComeOutAsRgb) {
    Picture pic;
    ASSERT_TRUE(decodeJpeg(greyJpeg(32, 16), pic));
    ASSERT_EQ(pic.width, 32);
    const uint32_t dark = pic.at(2, 8), light = pic.at(30, 8);
    for (uint32_t p : {dark, light}) {
        EXPECT_EQ(p >> 24, 0u) << "no alpha in a JPEG";
        EXPECT_EQ(p >> 16 & 0xFF, p & 0xFF);
        EXPECT_EQ(p >> 8 & 0xFF, p & 0xFF);
    }
    EXPECT_NEAR(int(dark & 0xFF), 40, 6);
    EXPECT_NEAR(int(light & 0xFF), 200, 6);
}

TEST(JpegPicture, WidePictureIsCutAtTheRegionsRightEdge) {
    MediaFolder dir;
    ASSERT_TRUE(
        runFfmpeg("-f lavfi -i testsrc=size=200x20 -frames:v 1 -q:v 2 " + dir.file("wide.jpg")));
    Picture page, full;
    const PictureLoadResult r =
        loadPicturePage(PictureFileKind::Jpeg, dir.file("wide.jpg"), 64, 32, page);
    ASSERT_TRUE(r.ok) << r.error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(dir.file("wide.jpg"), bytes));
    ASSERT_TRUE(decodeJpeg(bytes, full));
    ASSERT_EQ(full.width, 200);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(page.at(x, y), y < 20 ? full.at(x, y) : 0u) << x << "," << y;
}

double meanChannel(const Picture& pic, int shift) {
    double sum = 0;
    for (uint32_t p : pic.pixels) sum += p >> shift & 0xFF;
    return pic.pixels.empty() ? 0 : sum / double(pic.pixels.size());
}

TEST(JpegPicture, ScaledDecodesKeepAtLeastTheAskedSizeAndReportTheFullOne) {
    MediaFolder dir;
    ASSERT_TRUE(
        runFfmpeg("-f lavfi -i testsrc2=size=800x600 -frames:v 1 -q:v 3 " + dir.file("photo.jpg")));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(dir.file("photo.jpg"), bytes));
    struct Case {
        int minWidth, minHeight, width, height;
    } cases[] = {
        {96, 72, 100, 75},    // 1/8
        {101, 72, 200, 150},  // one pixel more: 2/8
        {96, 200, 300, 225},  // the height decides: 3/8
        {800, 1, 800, 600},   // nothing smaller will do
        {2000, 2000, 800, 600},
    };
    Picture full;
    ASSERT_TRUE(decodeJpeg(bytes, full));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minWidth << "x" << c.minHeight);
        Picture pic;
        int w = 0, h = 0;
        ASSERT_TRUE(
            decodeJpegAtLeast(bytes.data(), bytes.size(), c.minWidth, c.minHeight, pic, &w, &h));
        EXPECT_EQ(pic.width, c.width);
        EXPECT_EQ(pic.height, c.height);
        EXPECT_EQ(w, 800);
        EXPECT_EQ(h, 600);
        // The same picture: each channel's mean stays where the full decode has it.
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(meanChannel(pic, shift), meanChannel(full, shift), 4) << shift;
    }
}

// Every cut and a spread of flipped bytes of a valid stream either decodes to the right size or
// fails cleanly; the sanitizers watch for reads past the data and use after free.
void expectCleanOnDamage(const std::vector<uint8_t>& good,
                         bool (*decode)(const uint8_t*, size_t, Picture&, std::string*), int w,
                         int h) {
    for (size_t cut = 0; cut < good.size(); cut += std::max<size_t>(1, good.size() / 97)) {
        std::vector<uint8_t> part(good.begin(), good.begin() + long(cut));
        Picture pic;
        std::string error;
        if (decode(part.data(), part.size(), pic, &error)) {
            EXPECT_EQ(pic.width, w);
            EXPECT_EQ(pic.height, h);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    for (size_t at = 0; at < good.size(); at += 13) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x5A;
        Picture pic;
        std::string error;
        if (decode(bad.data(), bad.size(), pic, &error)) {
            EXPECT_EQ(pic.pixels.size(), size_t(pic.width) * size_t(pic.height));
        }
    }
}

// A 48 x 24 test picture as ffmpeg writes it, in JPEG and in PNG.
struct Samples {
    std::vector<uint8_t> jpg, png;
};
Samples samplePictures(const MediaFolder& dir) {
    Samples s;
    EXPECT_TRUE(runFfmpeg("-f lavfi -i testsrc=size=48x24 -frames:v 1 " + dir.file("a.jpg")));
    EXPECT_TRUE(runFfmpeg("-f lavfi -i testsrc=size=48x24 -frames:v 1 " + dir.file("a.png")));
    EXPECT_TRUE(readWholeFile(dir.file("a.jpg"), s.jpg));
    EXPECT_TRUE(readWholeFile(dir.file("a.png"), s.png));
    return s;
}

TEST(CorruptStreams, JpegAndPngEndThePictureCleanly) {
    MediaFolder dir;
    const Samples samples = samplePictures(dir);
    ASSERT_FALSE(samples.jpg.empty() || samples.png.empty());
    const std::vector<uint8_t>& jpg = samples.jpg;
    const std::vector<uint8_t>& png = samples.png;
    expectCleanOnDamage(jpg, decodeJpeg, 48, 24);
    expectCleanOnDamage(png, decodePng, 48, 24);
    Picture pic;
    std::string error;
    EXPECT_FALSE(decodePng(png.data(), 20, pic, &error));
    EXPECT_NE(error.find("Read Error!"), std::string::npos) << error;
}

TEST(PngPicture, InputTransformationsGiveEightBitRgb) {
    MediaFolder dir;
    const std::string src = "-f lavfi -i color=c=0xFF00FF:size=6x4 -frames:v 1 ";
    struct Case {
        const char* pixFmt;
        bool grey;
        bool alpha;
    };
    for (const Case c :
         {Case{"rgb24", false, false}, Case{"rgba", false, true}, Case{"rgb48be", false, false},
          Case{"rgba64be", false, true}, Case{"pal8", false, false}, Case{"gray", true, false},
          Case{"gray16be", true, false}, Case{"ya8", true, true}, Case{"monob", true, false}}) {
        SCOPED_TRACE(c.pixFmt);
        const std::string path = dir.file(std::string(c.pixFmt) + ".png");
        ASSERT_TRUE(runFfmpeg(src + "-pix_fmt " + c.pixFmt + " " + path));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(readWholeFile(path, bytes));
        Picture pic;
        std::string error;
        ASSERT_TRUE(decodePng(bytes, pic, &error)) << error;
        ASSERT_EQ(pic.width, 6);
        ASSERT_EQ(pic.height, 4);
        const uint32_t p = pic.at(5, 3);
        if (c.grey) {
            EXPECT_EQ(p >> 16 & 0xFF, p & 0xFF);
            EXPECT_EQ(p >> 8 & 0xFF, p & 0xFF);
        } else {
            EXPECT_NEAR(int(p >> 16 & 0xFF), 0xFF, 6);
            EXPECT_NEAR(int(p >> 8 & 0xFF), 0x00, 6);
            EXPECT_NEAR(int(p & 0xFF), 0xFF, 6);
        }
        EXPECT_EQ(p >> 24, c.alpha ? 0xFFu : 0u) << "alpha is kept in the top byte";
    }
}

TEST(DsnPicture, LiteralGroupsAndRunsDecodeToTheFourColours) {
    // 6 x 3 pixels: one literal group (black red yellow white), then a run of 2 x (white red
    // white red); the last pixels the data does not reach stay black.
    const std::vector<uint8_t> file = {6, 0, 3, 0, 3, 0, 0x1B, 0xC2, 0xDD};
    Picture pic;
    ASSERT_TRUE(decodeDsn(file, pic));
    ASSERT_EQ(pic.width, 6);
    const std::vector<uint32_t> want = {0x000000, 0xFF0000, 0xFFFF00, 0xFFFFFF, 0xFFFFFF, 0xFF0000,
                                        0xFFFFFF, 0xFF0000, 0xFFFFFF, 0xFF0000, 0xFFFFFF, 0xFF0000,
                                        0,        0,        0,        0,        0,        0};
    EXPECT_EQ(pic.pixels, want);
}

TEST(DsnPicture, DamagedFilesFailOrStopAtTheirData) {
    struct Case {
        std::vector<uint8_t> file;
        bool ok;
    };
    const Case cases[] = {
        {{4, 0}, false},                            // header cut
        {{4, 0, 1, 0, 9, 0, 0x1B}, false},          // data shorter than its length
        {{0, 0, 1, 0, 0, 0}, false},                // no pixels
        {{4, 0, 1, 0, 1, 0, 0xC5}, true},           // a run without its byte draws nothing
        {{4, 0, 1, 0, 2, 0, 0xC0, 0x55}, true},     // a run of zero
        {{2, 0, 1, 0, 3, 0, 0xFF, 0xFF, 0}, true},  // a run far past the last pixel
    };
    for (const Case& c : cases) {
        Picture pic;
        std::string error;
        EXPECT_EQ(decodeDsn(c.file, pic, &error), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(pic.pixels.size(), size_t(pic.width) * size_t(pic.height));
        }
    }
}

uint32_t crc32Of(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

void putBe(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * (bytes - 1 - i)));
}

TEST(Pictures, HeadersThatDeclareMoreThanTheirDataAreRefusedBeforeAllocating) {
    MediaFolder dir;
    Samples samples = samplePictures(dir);
    ASSERT_FALSE(samples.jpg.empty() || samples.png.empty());
    std::vector<uint8_t>& jpg = samples.jpg;
    std::vector<uint8_t>& png = samples.png;
    // The PNG's IHDR (width at 16, height at 20, its CRC at 29) and the JPEG's frame header
    // (height and width after the 0xFFC0 marker) claim 8192 x 8192.
    putBe(png, 16, 8192, 4);
    putBe(png, 20, 8192, 4);
    putBe(png, 29, crc32Of(png.data() + 12, 17), 4);
    size_t sof = 2;
    while (sof + 9 < jpg.size() && !(jpg[sof] == 0xFF && jpg[sof + 1] == 0xC0)) ++sof;
    ASSERT_LT(sof + 9, jpg.size());
    putBe(jpg, sof + 5, 8192, 2);
    putBe(jpg, sof + 7, 8192, 2);
    const std::vector<uint8_t> dsn = {0x00, 0x20, 0x00, 0x20, 0, 0};  // 8192 x 8192, no data

    struct Case {
        const char* what;
        bool (*decode)(const std::vector<uint8_t>&, Picture&, std::string*);
        const std::vector<uint8_t>& bytes;
        const char* why;
    } cases[] = {
        {"PNG", decodePng, png, "8192 x 8192 pixels need more than"},
        {"JPEG", decodeJpeg, jpg, "8192 x 8192 pixels need more than"},
        {"DSN", decodeDsn, dsn, "DSN data of 0 bytes cannot hold 8192 x 8192 pixels"},
    };
    for (const Case& c : cases) {
        Picture pic;
        std::string error;
        EXPECT_FALSE(c.decode(c.bytes, pic, &error)) << c.what;
        EXPECT_NE(error.find(c.why), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(pic.pixels.empty()) << c.what;
    }
}

TEST(DsnPicture, EncodedPicturesReadBackAndLoadFromTheDsnFolder) {
    Picture pic(37, 5);
    for (int i = 0; i < 37 * 5; ++i) pic.pixels[size_t(i)] = kDsnPalette[(i / 9) % 4];
    Picture back;
    ASSERT_TRUE(decodeDsn(encodeDsn(pic), back));
    EXPECT_EQ(back.pixels, pic.pixels);

    MediaFolder dir;
    const std::string path = picturePath(PictureFileKind::Dsn, dir.path() + "/", "LOGO");
    EXPECT_EQ(path, dir.path() + "/logo.dsn");
    ASSERT_TRUE(writeFileAtomically(path, encodeDsn(pic)));
    Picture page;
    ASSERT_TRUE(loadPicturePage(PictureFileKind::Dsn, path, 16, 16, page).ok);
    EXPECT_EQ(page.at(15, 4), pic.at(15, 4));
    EXPECT_EQ(page.at(15, 5), 0u);
}

TEST(PictureLoader, MissingFilesGiveTheEngineDiagnosticsAndABlackPage) {
    MediaFolder dir;
    struct Case {
        PictureFileKind kind;
        std::string diagnostic;
    };
    const std::string missing = dir.file("none");
    for (const Case& c : {Case{PictureFileKind::Bmp, "could not open " + missing + " \n"},
                          Case{PictureFileKind::Dsn, "could not open " + missing + " \n"},
                          Case{PictureFileKind::Jpeg, "can't open " + missing + "\n"},
                          Case{PictureFileKind::Png, ""}}) {
        Picture page;
        const PictureLoadResult r = loadPicturePage(c.kind, missing, 8, 4, page);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.diagnostic, c.diagnostic);
        EXPECT_EQ(page.pixels, std::vector<uint32_t>(32, 0));
    }
    // A 16-bit bitmap shows nothing and says nothing.
    ASSERT_TRUE(runFfmpeg("-f lavfi -i color=c=white:size=8x4 -frames:v 1 -pix_fmt rgb555le " +
                          dir.file("w.bmp")));
    Picture page;
    const PictureLoadResult r =
        loadPicturePage(PictureFileKind::Bmp, dir.file("w.bmp"), 8, 4, page);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.diagnostic, "");
    EXPECT_EQ(page.pixels, std::vector<uint32_t>(32, 0));
    EXPECT_EQ(picturePath(PictureFileKind::Jpeg, "/W/", "70001001"), "/W/70001001.jpg");
    EXPECT_EQ(picturePath(PictureFileKind::Png, "/Show", "Ab_C"), "/Show/ab_c.png");
}

TEST(JpegQuality, ReadFromJpgIniWithOutOfRangeValuesAtBest) {
    MediaFolder dir;
    struct Case {
        const char* text;  // nullptr: no file
        int quality;
    };
    for (const Case c : {Case{nullptr, 75}, Case{"[SET]\nJPG_QUALITY=150\n", 100},
                         Case{"[SET]\nJPG_QUALITY=-3\n", 100}, Case{"[SET]\nJPG_QUALITY=40\n", 40},
                         Case{"[SET]\nJPG_QUALITY=0\n", 1}, Case{"[SET]\nOTHER=5\n", 75},
                         Case{"[OTHER]\nJPG_QUALITY=20\n", 75}}) {
        const std::string path = dir.file("jpg.ini");
        std::remove(path.c_str());
        if (c.text) std::ofstream(path) << c.text;
        EXPECT_EQ(jpegQualityFromFile(path), c.quality) << (c.text ? c.text : "missing");
    }
}

TEST(EncodeFrame, EachFormatReadsBackAtTheTargetSize) {
    const Picture pic = positionPicture(40, 20);
    for (FrameFormat f : {FrameFormat::Bmp, FrameFormat::Jpeg, FrameFormat::Png}) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(encodeFrame(pic, 40, 20, f, 100, bytes));
        Picture back;
        if (f == FrameFormat::Bmp) {
            ASSERT_TRUE(decodeBmp(bytes, back));
        }
        if (f == FrameFormat::Jpeg) {
            ASSERT_TRUE(decodeJpeg(bytes, back));
        }
        if (f == FrameFormat::Png) {
            ASSERT_TRUE(decodePng(bytes, back));
        }
        ASSERT_EQ(back.width, 40);
        if (f != FrameFormat::Jpeg) {
            EXPECT_EQ(back.pixels, pic.pixels) << "lossless formats keep every pixel";
        }
        ASSERT_TRUE(encodeFrame(pic, 20, 10, f, 75, bytes));
        if (f == FrameFormat::Png) {
            ASSERT_TRUE(decodePng(bytes, back));
            EXPECT_EQ(back.width, 20);
            EXPECT_EQ(back.height, 10);
        }
    }
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(encodeFrame(Picture(), 10, 10, FrameFormat::Png, 75, bytes, &error));
    EXPECT_EQ(error, "err");
    EXPECT_FALSE(encodeFrameToFile("", pic, 10, 10, FrameFormat::Png, 75, &error));
    EXPECT_EQ(error, "err");
    // A higher quality gives a larger JPEG of the same frame.
    std::vector<uint8_t> low, high;
    ASSERT_TRUE(encodeFrame(pic, 40, 20, FrameFormat::Jpeg, 10, low));
    ASSERT_TRUE(encodeFrame(pic, 40, 20, FrameFormat::Jpeg, 100, high));
    EXPECT_LT(low.size(), high.size());
}

}  // namespace
}  // namespace brightline::media
