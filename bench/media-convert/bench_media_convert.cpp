// Converting the same 10-second 640 x 360 video into a 256 x 128 ZVI clip, next to
//   ffmpeg -i clip.avi -vf scale=256:128 -q:v 5 frame%04d.jpg
// in the same run. Prints both times (best of the rounds) and their ratio; the target is a
// ratio of at most 1.5.
//
// Usage: bench_media_convert [ROUNDS]   (default 3; needs the ffmpeg program on the PATH)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/jpeg_quality.h"
#include "media/video_converter.h"

namespace {

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brightline::media;
    namespace fs = std::filesystem;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::string tmpl = (fs::temp_directory_path() / "bl-bench-convert-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir = tmpl;
    const std::string clip = (dir / "clip.avi").string();
    const std::string quiet = "ffmpeg -nostdin -hide_banner -loglevel error -y ";
    if (!run(quiet + "-f lavfi -i testsrc2=size=640x360:rate=25:duration=10 -c:v mpeg4 -q:v 3 '" +
             clip + "'")) {
        std::fprintf(stderr, "could not make the test video with ffmpeg\n");
        return 1;
    }

    double best = 1e9, bestFfmpeg = 1e9;
    VideoConversionResult result;
    for (int r = 0; r < rounds; ++r) {
        VideoConversionParams p;
        p.source = clip;
        p.destination = (dir / "clip.zvi").string();
        p.width = 256;
        p.height = 128;
        p.sizeMode = 3;
        p.jpegQuality = configuredJpegQuality();
        const auto t0 = std::chrono::steady_clock::now();
        result = convertVideoToZvi(p, nullptr, nullptr);
        best = std::min(best, seconds(std::chrono::steady_clock::now() - t0));
        if (!result.ok) {
            std::fprintf(stderr, "conversion failed: %s\n", result.error.c_str());
            return 1;
        }

        const fs::path frames = dir / ("frames" + std::to_string(r));
        fs::create_directories(frames);
        const auto t1 = std::chrono::steady_clock::now();
        if (!run(quiet + "-i '" + clip + "' -vf scale=256:128 -q:v 5 '" +
                 (frames / "frame%04d.jpg").string() + "'")) {
            std::fprintf(stderr, "ffmpeg failed\n");
            return 1;
        }
        bestFfmpeg = std::min(bestFfmpeg, seconds(std::chrono::steady_clock::now() - t1));
    }
    std::printf(
        "video: 10 s, 640 x 360, 25 frames/s, MPEG-4 part 2 in AVI; clip 256 x 128, JPEG quality "
        "%d\n",
        configuredJpegQuality());
    std::printf("convert to ZVI:          %.3f s  (%d frames converted, %d records)\n", best,
                result.framesConverted, result.recordsWritten);
    std::printf(
        "ffmpeg to JPEG files:    %.3f s  (ffmpeg -i clip.avi -vf scale=256:128 -q:v 5 "
        "frame%%04d.jpg)\n",
        bestFfmpeg);
    std::printf("ratio ZVI / ffmpeg:      %.2f  (target: at most 1.50), best of %d rounds\n",
                best / bestFfmpeg, rounds);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
