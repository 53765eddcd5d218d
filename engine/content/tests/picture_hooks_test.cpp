// Pictures and the show's FONT file through the content hooks: each kind lands in page 0, names
// are found whatever their case, the DSN folder is a setting, and a picture after a multi-page
// text shows one page only.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "engine/content/tests/content_fixture.h"
#include "engine/fonts/zfon_file.h"
#include "media/dsn_picture.h"

namespace brightline::content {
namespace {

using testing::scriptLines;
using testing::Workspace;

// Frames whose pixel (1, 1) has `colour` (within a JPEG's tolerance).
int framesShowing(const Workspace::Result& r, uint32_t colour) {
    int n = 0;
    for (const auto& f : r.frames) {
        const uint32_t p = f.at(1, 1);
        int d = 0;
        for (int shift : {0, 8, 16})
            d += std::abs(int((p >> shift) & 0xFF) - int((colour >> shift) & 0xFF));
        n += d < 40;
    }
    return n;
}

TEST(PictureHooks, EveryKindFillsPageZeroAndMissingFilesSayWhich) {
    Workspace ws;
    const std::string dsnFolder = ws.file("dsn");
    std::filesystem::create_directory(dsnFolder);
    ASSERT_TRUE(
        testing::runFfmpeg("-f lavfi -i color=red:s=8x4 -frames:v 1 " + ws.file("70001001.JPG")));
    ASSERT_TRUE(testing::runFfmpeg("-f lavfi -i color=lime:s=8x4 -frames:v 1 -pix_fmt bgr24 " +
                                   ws.file("Pic.bmp")));
    ASSERT_TRUE(
        testing::runFfmpeg("-f lavfi -i color=blue:s=8x4 -frames:v 1 " + ws.file("pic.png")));
    media::Picture yellow(8, 4);
    for (uint32_t& p : yellow.pixels) p = 0xFFFF00;
    const std::vector<uint8_t> dsn = media::encodeDsn(yellow);
    ws.write("dsn/sign.dsn", std::string(dsn.begin(), dsn.end()));

    ws.write("run.at", testing::oneRegionShow(16, 8));
    ws.write("10000.shw",
             scriptLines({"JPG 70001001", "AP SHOW 0", "STOP 1", "BMP PIC", "AP SHOW 0", "STOP 1",
                          "PNG pic", "AP SHOW 0", "STOP 1", "DSN SIGN", "AP SHOW 0", "STOP 1",
                          "JPG gone", "AP SHOW 0", "STOP 1", "BMP gone", "AP SHOW 0", "STOP 1"}));
    ContentSettings settings;
    settings.dsnFolder = dsnFolder + "/";
    const auto r = ws.play(settings);
    EXPECT_EQ(framesShowing(r, 0xFF0000), 1);
    EXPECT_EQ(framesShowing(r, 0x00FF00), 1);
    EXPECT_EQ(framesShowing(r, 0x0000FF), 1);
    EXPECT_EQ(framesShowing(r, 0xFFFF00), 1);
    EXPECT_EQ(framesShowing(r, 0), 2) << "a missing picture leaves a black page";
    // The picture is placed top-left: the right half of the region stays black.
    EXPECT_EQ(r.frames.front().at(12, 1), 0u);
    EXPECT_NE(r.diagnostics.find("can't open " + ws.path() + "/gone.jpg\n"), std::string::npos);
    EXPECT_NE(r.diagnostics.find("could not open " + ws.path() + "/gone.bmp \n"),
              std::string::npos);
}

TEST(PictureHooks, APictureAfterAMultiPageTextShowsOnePage) {
    Workspace ws;
    ASSERT_TRUE(
        testing::runFfmpeg("-f lavfi -i color=blue:s=8x4 -frames:v 1 " + ws.file("pic.png")));
    ws.write("run.at", testing::oneRegionShow(16, 8));
    ws.write("long.ztx", "<C#FFFFFF>" + std::string(40, 'W'));  // about ten pages of text
    ws.write("10000.shw", scriptLines({"ZTXT long 0", "PNG pic", "AP SHOW 0"}));
    const auto r = ws.play();
    EXPECT_EQ(framesShowing(r, 0x0000FF), 1);
    // SHOW brings in every page of the region: none of the text's pages may be left over.
    for (const auto& f : r.frames)
        for (uint32_t p : f.pixels) ASSERT_NE(p, 0xFFFFFFu) << "tick " << f.tick;
}

TEST(FontHooks, TheShowsFontFileComesAfterTheBuiltInFonts) {
    Workspace ws;
    FontHeader h;
    h.width = 3;
    h.height = 5;
    h.firstCode = 'A';
    h.count = 1;
    BitmapFont font(h, std::vector<uint8_t>(5, 0xE0));  // a solid 3 x 5 block
    const std::vector<uint8_t> file = writeZfon({font});
    ws.write("Extra.bin", std::string(file.begin(), file.end()));
    const int builtIn = testing::builtInFonts().count();
    ASSERT_EQ(builtIn, 32);

    const std::string show = testing::oneRegionShow(16, 8);
    ws.write("run.at", "FONT extra\r\n" + show);
    ws.write("page.ztx", "<C#FFFFFF><F#" + std::to_string(builtIn - 1) + ">AA");
    ws.write("10000.shw", scriptLines({"ZTXT page 0", "AP SHOW 0"}));
    const auto r = ws.play();
    ASSERT_FALSE(r.frames.empty()) << r.diagnostics;
    const auto& f = r.frames.front();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(f.at(x, y), (x < 6 && y < 5) ? 0xFFFFFFu : 0u) << x << "," << y;

    ws.write("run.at", "FONT absent\r\n" + show);
    const auto missing = ws.play();
    EXPECT_NE(missing.diagnostics.find("could not open font " + ws.path() + "/absent.bin \r\n"),
              std::string::npos)
        << missing.diagnostics;
}

}  // namespace
}  // namespace brightline::content
