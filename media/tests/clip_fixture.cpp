#include "media/tests/clip_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace brightline::media::test {

bool runFfmpeg(const std::string& arguments) {
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " </dev/null";
    return std::system(command.c_str()) == 0;
}

std::string makeVideo(const std::string& path, const std::string& codec, const std::string& rate,
                      int width, int height, double seconds) {
    std::ostringstream args;
    args << "-f lavfi -i testsrc=size=" << width << "x" << height << ":rate=" << rate
         << ":duration=" << seconds << " -c:v " << codec;
    if (codec == "rawvideo") args << " -pix_fmt bgr24";
    if (codec == "mjpeg" || codec == "mpeg4") args << " -q:v 3";
    args << " '" << path << "'";
    EXPECT_TRUE(runFfmpeg(args.str())) << args.str();
    return path;
}

}  // namespace brightline::media::test
