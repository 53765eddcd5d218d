#include "media/png_picture.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace brightline::media {
namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

constexpr uint64_t kMaxDeflateRatio = 1100;  // deflate's limit is 1032:1

// Everything the callbacks and the jump target share. Created before setjmp, so a longjmp never
// skips a C++ destructor.
struct ReadState {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    char message[200] = {0};
    std::vector<uint8_t> rowBytes;
    std::vector<png_bytep> rows;
    Picture* out = nullptr;
    bool tooLarge = false;
};

void readData(png_structp png, png_bytep to, png_size_t length) {
    auto* s = static_cast<ReadState*>(png_get_io_ptr(png));
    if (length > s->size - s->pos) png_error(png, "Read Error! ");
    std::memcpy(to, s->data + s->pos, length);
    s->pos += length;
}

void onError(png_structp png, png_const_charp message) {
    auto* s = static_cast<ReadState*>(png_get_error_ptr(png));
    std::snprintf(s->message, sizeof s->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

bool runRead(ReadState& s) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &s, readData);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!pictureSizeAllowed(width, height)) {
        s.tooLarge = true;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // Deflate packs at most about 1032 bytes into one: a stream too short to hold the rows it
    // declares is refused before they are allocated.
    const uint64_t rawBytes = uint64_t(height) * (1 + uint64_t(png_get_rowbytes(png, info)));
    if (rawBytes / kMaxDeflateRatio > s.size) {
        std::snprintf(s.message, sizeof s.message,
                      "%u x %u pixels need more than the %zu bytes of the stream", unsigned(width),
                      unsigned(height), s.size);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (depth == 16) png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background))
        png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double gamma = 0;
    if (png_get_gAMA(png, info, &gamma)) png_set_gamma(png, 2.2, gamma);
    png_read_update_info(png, info);
    const size_t rowSize = png_get_rowbytes(png, info);
    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || rowSize < size_t(width) * size_t(channels)) {
        std::snprintf(s.message, sizeof s.message, "unexpected PNG layout of %d channels",
                      channels);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    s.rowBytes.assign(rowSize * height, 0);
    s.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) s.rows[y] = s.rowBytes.data() + size_t(y) * rowSize;
    png_read_image(png, s.rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    Picture& pic = *s.out;
    pic.width = int(width);
    pic.height = int(height);
    pic.pixels.assign(size_t(width) * size_t(height), 0);
    for (png_uint_32 y = 0; y < height; ++y) {
        const uint8_t* p = s.rows[y];
        uint32_t* dst = pic.pixels.data() + size_t(y) * width;
        for (png_uint_32 x = 0; x < width; ++x, p += channels) {
            uint32_t v = uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
            if (channels == 4) v |= uint32_t(p[3]) << 24;
            dst[x] = v;
        }
    }
    return true;
}

struct WriteState {
    std::vector<uint8_t>* out = nullptr;
    std::vector<uint8_t> row;
    char message[200] = {0};
};

void writeData(png_structp png, png_bytep from, png_size_t length) {
    auto* s = static_cast<WriteState*>(png_get_io_ptr(png));
    s->out->insert(s->out->end(), from, from + length);
}

void flushData(png_structp) {}

void onWriteError(png_structp png, png_const_charp message) {
    auto* s = static_cast<WriteState*>(png_get_error_ptr(png));
    std::snprintf(s->message, sizeof s->message, "%s", message);
    png_longjmp(png, 1);
}

bool runWrite(WriteState& s, const Picture& picture) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, onWriteError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    s.row.assign(size_t(picture.width) * 3, 0);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &s, writeData, flushData);
    // Clip frames are encoded while a conversion waits: a light deflate level keeps that quick.
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* src = picture.pixels.data() + size_t(y) * size_t(picture.width);
        for (int x = 0; x < picture.width; ++x) {
            s.row[3 * size_t(x)] = uint8_t(src[x] >> 16);
            s.row[3 * size_t(x) + 1] = uint8_t(src[x] >> 8);
            s.row[3 * size_t(x) + 2] = uint8_t(src[x]);
        }
        png_write_row(png, s.row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool decodePng(const uint8_t* data, size_t size, Picture& out, std::string* error) {
    Picture pic;
    auto state = std::make_unique<ReadState>();
    state->data = data;
    state->size = data ? size : 0;
    state->out = &pic;
    if (!runRead(*state)) {
        if (state->tooLarge)
            setError(error, "PNG picture is too large");
        else
            setError(error,
                     std::string("PNG: ") + (state->message[0] ? state->message : "out of memory"));
        return false;
    }
    out = std::move(pic);
    return true;
}

bool encodePng(const Picture& picture, std::vector<uint8_t>& out, std::string* error) {
    if (picture.empty() ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height)) {
        setError(error, "no frame to encode");
        return false;
    }
    std::vector<uint8_t> bytes;
    auto state = std::make_unique<WriteState>();
    state->out = &bytes;
    if (!runWrite(*state, picture)) {
        setError(error, std::string("PNG: ") + state->message);
        return false;
    }
    out = std::move(bytes);
    return true;
}

}  // namespace brightline::media
