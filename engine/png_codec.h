#pragma once
// PNG files through libpng: reading a picture as 8-bit RGBA and writing a screen as 8-bit RGB.
#include <cstdint>
#include <string>
#include <vector>

namespace brightline::engine {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // 4 bytes a pixel, rows top first
};

// Decodes the PNG file at `path` (any depth and colour type; 16-bit samples are cut to 8,
// palettes and grey expanded, transparency kept as alpha). False with `error` set when it cannot
// be read or decoded, or is larger than `maxPixels`.
bool readPngFile(const std::string& path, RgbaImage& out, std::string* error = nullptr,
                 size_t maxPixels = size_t(64) << 20);

// Writes width x height pixels 0x00RRGGBB (top byte ignored), rows top first, as an 8-bit RGB
// PNG, written beside `path` and renamed into place when complete (common/file_io.h). False with
// `error` set on failure; an existing file is then kept.
bool writePngFile(const std::string& path, int width, int height, const uint32_t* pixels,
                  std::string* error = nullptr);

}  // namespace brightline::engine
