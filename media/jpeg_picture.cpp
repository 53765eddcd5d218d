#include "media/jpeg_picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

namespace brightline::media {
namespace {

// The decoder's and encoder's error manager: the error exit keeps the library's message and
// jumps back to the call that set `jump`. No C++ object with a destructor is created between
// setjmp and the library calls that may jump.
struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void quietMessage(j_common_ptr) {}

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// Decodes into `pixels`, which the caller owns and sizes after the header callback. Returns
// false with `message` filled when the library jumped out.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    Picture* out;
    bool tooLarge = false;
    bool tooShort = false;
    unsigned width = 0, height = 0;  // as declared, when too short
    bool badColour = false;
    // Above 0: decode at the smallest scale that keeps the picture at least this large, fast.
    int minWidth = 0;
    int minHeight = 0;
    int fullWidth = 0;
    int fullHeight = 0;
};

// The smallest M of libjpeg's scale factors M/8 that leaves a side of `side` pixels at least
// `minimum` long (libjpeg rounds scaled sides up).
unsigned scaleNumerator(unsigned side, int minimum) {
    for (unsigned m = 1; m < 8; ++m)
        if ((side * m + 7) / 8 >= unsigned(std::max(minimum, 1))) return m;
    return 8;
}

bool runDecode(DecodeState& s, const uint8_t* data, size_t size) {
    s.cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = errorExit;
    s.err.pub.output_message = quietMessage;
    s.err.message[0] = 0;
    jpeg_create_decompress(&s.cinfo);
    if (setjmp(s.err.jump)) {
        jpeg_destroy_decompress(&s.cinfo);
        return false;
    }
    jpeg_mem_src(&s.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&s.cinfo, TRUE);
    if (!pictureSizeAllowed(s.cinfo.image_width, s.cinfo.image_height)) {
        s.tooLarge = true;
        jpeg_destroy_decompress(&s.cinfo);
        return false;
    }
    // Every 8 x 8 block of a component takes at least one bit of Huffman code, and no component
    // is subsampled more than 4 x 4: a stream too short for the size it declares is refused
    // before the picture is allocated.
    const uint64_t pixels = uint64_t(s.cinfo.image_width) * s.cinfo.image_height;
    if (!s.cinfo.arith_code && pixels / (8 * 64 * 16) > size) {
        s.tooShort = true;
        s.width = s.cinfo.image_width;
        s.height = s.cinfo.image_height;
        jpeg_destroy_decompress(&s.cinfo);
        return false;
    }
    switch (s.cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            break;
        default:
            s.badColour = true;
            jpeg_destroy_decompress(&s.cinfo);
            return false;
    }
    s.fullWidth = int(s.cinfo.image_width);
    s.fullHeight = int(s.cinfo.image_height);
    if (s.minWidth > 0 || s.minHeight > 0) {
        s.cinfo.scale_num = std::max(scaleNumerator(s.cinfo.image_width, s.minWidth),
                                     scaleNumerator(s.cinfo.image_height, s.minHeight));
        s.cinfo.scale_denom = 8;
        s.cinfo.dct_method = JDCT_IFAST;
        s.cinfo.do_fancy_upsampling = FALSE;
    }
    // Four bytes a pixel in memory order blue, green, red, unused: the 0x00RRGGBB word.
    s.cinfo.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&s.cinfo);
    Picture& pic = *s.out;
    pic.width = int(s.cinfo.output_width);
    pic.height = int(s.cinfo.output_height);
    pic.pixels.assign(size_t(pic.width) * size_t(pic.height), 0);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            pic.pixels.data() + size_t(s.cinfo.output_scanline) * size_t(pic.width));
        jpeg_read_scanlines(&s.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&s.cinfo);
    jpeg_destroy_decompress(&s.cinfo);
    // The unused byte comes out as 0xFF; pixels keep it 0.
    for (uint32_t& p : pic.pixels) p &= 0x00FFFFFF;
    return true;
}

struct EncodeState {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
};

bool runEncode(EncodeState& s, const Picture& picture, int quality) {
    s.cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = errorExit;
    s.err.pub.output_message = quietMessage;
    s.err.message[0] = 0;
    jpeg_create_compress(&s.cinfo);
    if (setjmp(s.err.jump)) {
        jpeg_destroy_compress(&s.cinfo);
        return false;
    }
    jpeg_mem_dest(&s.cinfo, &s.buffer, &s.length);
    s.cinfo.image_width = JDIMENSION(picture.width);
    s.cinfo.image_height = JDIMENSION(picture.height);
    s.cinfo.input_components = 4;
    s.cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&s.cinfo);
    jpeg_set_quality(&s.cinfo, quality, TRUE);
    jpeg_start_compress(&s.cinfo, TRUE);
    while (s.cinfo.next_scanline < s.cinfo.image_height) {
        // libjpeg only reads the row, its prototype is not const.
        JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(
            picture.pixels.data() + size_t(s.cinfo.next_scanline) * size_t(picture.width)));
        jpeg_write_scanlines(&s.cinfo, &row, 1);
    }
    jpeg_finish_compress(&s.cinfo);
    jpeg_destroy_compress(&s.cinfo);
    return true;
}

}  // namespace

bool decodeJpeg(const uint8_t* data, size_t size, Picture& out, std::string* error) {
    return decodeJpegAtLeast(data, size, 0, 0, out, nullptr, nullptr, error);
}

bool decodeJpegAtLeast(const uint8_t* data, size_t size, int minWidth, int minHeight, Picture& out,
                       int* fullWidth, int* fullHeight, std::string* error) {
    if (size == 0 || data == nullptr) {
        setError(error, "empty JPEG stream");
        return false;
    }
    Picture pic;
    auto state = std::make_unique<DecodeState>();
    state->out = &pic;
    state->minWidth = minWidth;
    state->minHeight = minHeight;
    const bool decoded = runDecode(*state, data, size);
    if (fullWidth) *fullWidth = state->fullWidth;
    if (fullHeight) *fullHeight = state->fullHeight;
    if (!decoded) {
        if (state->tooLarge)
            setError(error, "JPEG picture is too large");
        else if (state->tooShort)
            setError(error, "JPEG: " + std::to_string(state->width) + " x " +
                                std::to_string(state->height) + " pixels need more than the " +
                                std::to_string(size) + " bytes of the stream");
        else if (state->badColour)
            setError(error, "JPEG colour space is not grey, YCbCr or RGB");
        else
            setError(error, std::string("JPEG: ") + state->err.message);
        return false;
    }
    out = std::move(pic);
    return true;
}

bool placeJpeg(const std::vector<uint8_t>& data, int regionWidth, int regionHeight, Picture& page,
               std::string* error) {
    Picture pic;
    if (!decodeJpeg(data, pic, error)) return false;
    page = placeInRegion(pic, regionWidth, regionHeight);
    return true;
}

bool encodeJpeg(const Picture& picture, int quality, std::vector<uint8_t>& out,
                std::string* error) {
    if (picture.empty() ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height)) {
        setError(error, "no frame to encode");
        return false;
    }
    auto state = std::make_unique<EncodeState>();
    const bool ok = runEncode(*state, picture, std::clamp(quality, 1, 100));
    if (ok)
        out.assign(state->buffer, state->buffer + state->length);
    else
        setError(error, std::string("JPEG: ") + state->err.message);
    std::free(state->buffer);
    return ok;
}

}  // namespace brightline::media
