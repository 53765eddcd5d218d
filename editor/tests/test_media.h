#pragma once
// Media files for the program editor's tests, made by real tools or laid out as their editors
// write them: pictures and clips by ffmpeg, a text page of one page, a clock page. Header-only,
// for the core tests and the desktop tests of this room.
#include <cstdlib>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/zrt_file.h"

namespace brightline::testkit {

// Runs ffmpeg quietly with `arguments` (after "-y"); true when it succeeded.
inline bool ffmpeg(const std::string& arguments) {
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " </dev/null";
    return std::system(command.c_str()) == 0;
}

// A one-colour picture or clip of ffmpeg's (the format from the extension), `colour` as
// 0xRRGGBB; clips last one second at 10 frames a second.
inline bool solidMedium(const std::string& path, uint32_t colour, int width, int height,
                        bool clip = false) {
    char filter[96];
    std::snprintf(filter, sizeof filter, "color=c=0x%06X:size=%dx%d", colour, width, height);
    const std::string codec =
        path.size() > 4 && path.substr(path.size() - 4) == ".mp4" ? " -c:v mpeg4" : " -c:v mjpeg";
    return ffmpeg("-f lavfi -i " + std::string(filter) +
                  (clip ? ":rate=10:duration=1" + codec : std::string(" -frames:v 1")) + " " +
                  path);
}

// A text page of one page of `colour`: the 60-byte header (with `mark` in its first three
// bytes), then the page's size and a 24-bit bitmap file.
inline std::vector<uint8_t> textPageBytes(int width, int height, uint32_t colour,
                                          const char* mark = "ZRT") {
    media::ZrtHeader header;
    header.version = 1;
    header.width = width;
    header.height = height;
    header.layout = 1;
    header.pageOffset = media::kZrtHeaderSize;
    header.pageCount = 1;
    auto head = media::encodeZrtHeader(header);
    std::vector<uint8_t> file(head.begin(), head.end());
    for (int i = 0; i < 3; ++i) file[size_t(i)] = static_cast<uint8_t>(mark[i]);
    media::Picture page(width, height);
    std::fill(page.pixels.begin(), page.pixels.end(), colour);
    const std::vector<uint8_t> bmp = media::encodeBmp24(page);
    const uint32_t size = static_cast<uint32_t>(bmp.size());
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(size >> (8 * i)));
    file.insert(file.end(), bmp.begin(), bmp.end());
    return file;
}

// A clock page showing the time (or nothing) in white at (100, 50) with font index 0.
inline std::string clockPageText(bool showTime = true) {
    return std::string("[TIME]\r\nSHOW_TIME=") + (showTime ? "1" : "0") +
           "\r\nTIME=HH:MM\r\nTIME_X=100\r\nTIME_Y=50\r\nTIME_COLOR=#FFFFFF\r\n"
           "TIME_FONT_INDEX=0\r\nSHOW_DATE=0\r\nSHOW_WEEK=0\r\n";
}

inline bool writeText(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace brightline::testkit
