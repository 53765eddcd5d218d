#include "engine/png_codec.h"

#include <png.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "common/file_io.h"

namespace brightline::engine {

bool readPngFile(const std::string& path, RgbaImage& out, std::string* error, size_t maxPixels) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openRegularFile(path, error), std::fclose);
    if (!file) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, file.get())) {
        if (error) *error = path + ": " + image.message;
        return false;
    }
    // Deflate packs at most about 1032 bytes into one: a file too short for the rows it
    // declares is refused before they are allocated.
    struct stat st {};
    const uint64_t rows = uint64_t(image.height) * (1 + PNG_IMAGE_ROW_STRIDE(image));
    if (size_t(image.width) * image.height > maxPixels ||
        (::fstat(::fileno(file.get()), &st) == 0 && rows / 1100 > uint64_t(st.st_size))) {
        png_image_free(&image);
        if (error) *error = path + ": picture too large for its file";
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        if (error) *error = path + ": " + image.message;
        png_image_free(&image);
        out = RgbaImage{};
        return false;
    }
    return true;
}

bool writePngFile(const std::string& path, int width, int height, const uint32_t* pixels,
                  std::string* error) {
    if (width <= 0 || height <= 0) {
        if (error) *error = path + ": empty image";
        return false;
    }
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0, n = size_t(width) * height; i < n; ++i) {
        rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    AtomicFileWriter file;
    if (!file.open(path, error)) return false;
    if (!png_image_write_to_stdio(&image, file.stream(), 0, rgb.data(), 0, nullptr)) {
        if (error) *error = path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return file.commit(error);
}

}  // namespace brightline::engine
