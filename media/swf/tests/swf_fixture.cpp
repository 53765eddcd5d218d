#include "media/swf/tests/swf_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "common/file_io.h"
#include "media/png_picture.h"
#include "media/swf/swf_renderer.h"

namespace brightline::swf::test {

std::vector<media::Picture> drawFrames(const Bytes& bytes, int width, int height, int count,
                                       std::vector<std::string>* diagnostics) {
    std::vector<media::Picture> frames;
    if (const char* folder = std::getenv("SWF_TEST_MOVIES"); folder && *folder) {
        static int serial = 0;
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        writeFileAtomically(
            std::string(folder) + "/" + test->name() + "_" + std::to_string(serial++) + ".swf",
            bytes);
    }
    Movie movie;
    std::string error;
    EXPECT_TRUE(parseMovie(bytes.data(), bytes.size(), movie, error)) << error;
    EXPECT_TRUE(movie.problems.empty()) << movie.problems.front();
    Player player(movie);
    RenderOptions options;
    options.movieBackground = false;
    player.gotoFrame(0);
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            EXPECT_TRUE(player.nextFrame()) << "frame " << i;
        }
        media::Picture p;
        EXPECT_TRUE(renderFrame(player, width, height, options, p, &error)) << error;
        frames.push_back(p);
    }
    if (diagnostics) *diagnostics = player.diagnostics();
    return frames;
}

testing::AssertionResult pixelNear(const media::Picture& p, int x, int y, uint32_t rgb,
                                   int tolerance) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height)
        return testing::AssertionFailure() << "(" << x << "," << y << ") is outside the picture";
    const uint32_t got = p.at(x, y) & 0xFFFFFF;
    for (int shift : {16, 8, 0}) {
        const int a = int((got >> shift) & 0xFF), b = int((rgb >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            char text[96];
            std::snprintf(text, sizeof text, "(%d,%d) is #%06X, expected #%06X", x, y, got, rgb);
            return testing::AssertionFailure() << text;
        }
    }
    return testing::AssertionSuccess();
}

void keepFrames(const std::string& name, const std::vector<media::Picture>& frames) {
    const char* folder = std::getenv("SWF_TEST_FRAMES");
    if (!folder || !*folder) return;
    for (size_t i = 0; i < frames.size(); ++i) {
        std::vector<uint8_t> png;
        if (media::encodePng(frames[i], png))
            writeFileAtomically(std::string(folder) + "/" + name + "_" + std::to_string(i) + ".png",
                                png);
    }
}

}  // namespace brightline::swf::test
