#include "engine/png_frame_writer.h"

#include <cstdio>

#include "engine/png_codec.h"
#include "engine/workspace_file.h"

namespace brightline::engine {

PngFrameWriter::PngFrameWriter(std::string folder)
    : folder_(std::move(folder)),
      queue_([this](int width, int height, const uint32_t* pixels, uint64_t tick) {
          encode(width, height, pixels, tick);
      }) {}

void PngFrameWriter::frame(int width, int height, const uint32_t* pixels, uint64_t tick) {
    queue_.push(width, height, pixels, tick);
}

void PngFrameWriter::encode(int width, int height, const uint32_t* pixels, uint64_t tick) {
    char name[32];
    std::snprintf(name, sizeof name, "%06llu.png", static_cast<unsigned long long>(tick));
    std::string error;
    if (writePngFile(workspacePath(folder_, name), width, height, pixels, &error))
        ++written_;
    else if (error_.empty())
        error_ = error;
}

}  // namespace brightline::engine
