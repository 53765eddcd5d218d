#include "media/bmp_picture.h"

#include <algorithm>

#include "common/byte_reader.h"
#include "common/byte_writer.h"

namespace brightline::media {
namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

// Scales a masked field to 0..255.
uint32_t maskedChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const uint32_t bits = mask >> shift;
    const uint32_t v = (value & mask) >> shift;
    return bits ? uint32_t((uint64_t(v) * 255 + bits / 2) / bits) : 0;
}

}  // namespace

bool placeBmp24(const std::vector<uint8_t>& file, int regionWidth, int regionHeight, Picture& page,
                std::string* error) {
    if (file.size() < kBmpHeaderSize) {
        setError(error, "bitmap file of " + std::to_string(file.size()) +
                            " bytes is shorter than its header");
        return false;
    }
    const int32_t width = static_cast<int32_t>(le32(&file[18]));
    const int32_t height = static_cast<int32_t>(le32(&file[22]));
    const int bits = file[28] | file[29] << 8;
    if (bits != 24) {
        setError(error,
                 "bitmap has " + std::to_string(bits) + " bits per pixel, only 24 are shown");
        return false;
    }
    if (width < 1 || height < 1) {
        setError(error, "bitmap size " + std::to_string(width) + " x " + std::to_string(height));
        return false;
    }
    const size_t stride = (file.size() - kBmpHeaderSize) / size_t(height);
    Picture out(regionWidth, regionHeight);
    const int cols =
        int(std::min<size_t>({size_t(width), size_t(std::max(regionWidth, 0)), stride / 3}));
    const int rows = std::min(height, std::max(regionHeight, 0));
    for (int y = 0; y < rows; ++y) {
        const size_t fileRow = size_t(rows - 1 - y);
        const uint8_t* src = file.data() + kBmpHeaderSize + fileRow * stride;
        uint32_t* dst = out.pixels.data() + size_t(y) * size_t(out.width);
        for (int x = 0; x < cols; ++x, src += 3)
            dst[x] = uint32_t(src[2]) << 16 | src[1] << 8 | src[0];
    }
    page = std::move(out);
    return true;
}

bool decodeBmp(const uint8_t* data, size_t size, Picture& out, std::string* error) {
    ByteReader r(data, size);
    if (r.u8() != 'B' || r.u8() != 'M') {
        setError(error, r.ok() ? "not a bitmap file (no \"BM\" mark)" : r.error());
        return false;
    }
    r.u32();
    r.u32();
    const uint32_t pixelOffset = r.u32();
    const uint32_t infoSize = r.u32();
    const int32_t width = r.i32();
    const int32_t rawHeight = r.i32();
    const uint16_t planes = r.u16();
    const uint16_t bits = r.u16();
    const uint32_t compression = r.u32();
    r.u32();
    r.u32();
    r.u32();
    uint32_t colours = r.u32();
    r.u32();
    if (!r.ok()) {
        setError(error, "bitmap header: " + r.error());
        return false;
    }
    (void)planes;
    if (infoSize < 40 || infoSize > size - 14) {
        setError(error, "bitmap information header of " + std::to_string(infoSize) + " bytes");
        return false;
    }
    const bool topDown = rawHeight < 0;
    const long long height = topDown ? -static_cast<long long>(rawHeight) : rawHeight;
    if (!pictureSizeAllowed(width, height)) {
        setError(error, "bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is out of range");
        return false;
    }
    uint32_t masks[3] = {0, 0, 0};
    if (compression == 3 && (bits == 16 || bits == 32)) {
        const size_t at = 14 + 40;  // inside a longer information header, or just after it
        if (size < at + 12) {
            setError(error, "bitmap bit fields are missing");
            return false;
        }
        masks[0] = le32(data + at);
        masks[1] = le32(data + at + 4);
        masks[2] = le32(data + at + 8);
    } else if (compression != 0) {
        setError(error,
                 "compressed bitmaps (method " + std::to_string(compression) + ") are not read");
        return false;
    } else if (bits == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        setError(error, "bitmap depth of " + std::to_string(bits) + " bits is not read");
        return false;
    }
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        const uint32_t maxColours = 1u << bits;
        if (colours == 0 || colours > maxColours) colours = maxColours;
        const size_t at = 14 + size_t(infoSize);
        const size_t available = at <= size ? (size - at) / 4 : 0;
        const size_t n = std::min<size_t>(colours, available);
        palette.assign(maxColours, 0);
        for (size_t i = 0; i < n; ++i) {
            const uint8_t* p = data + at + 4 * i;
            palette[i] = uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
        }
    }
    const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || (size - pixelOffset) / stride < size_t(height)) {
        setError(error, "bitmap rows need " + std::to_string(stride * size_t(height)) +
                            " bytes at offset " + std::to_string(pixelOffset) + ", " +
                            std::to_string(pixelOffset > size ? 0 : size - pixelOffset) + " left");
        return false;
    }
    Picture pic(width, int(height));
    for (long long y = 0; y < height; ++y) {
        const long long fileRow = topDown ? y : height - 1 - y;
        const uint8_t* row = data + pixelOffset + size_t(fileRow) * stride;
        uint32_t* dst = pic.pixels.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            switch (bits) {
                case 1:
                    dst[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    dst[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
                    break;
                case 8:
                    dst[x] = palette[row[x]];
                    break;
                case 16: {
                    const uint32_t v = row[2 * x] | row[2 * x + 1] << 8;
                    dst[x] = maskedChannel(v, masks[0]) << 16 | maskedChannel(v, masks[1]) << 8 |
                             maskedChannel(v, masks[2]);
                    break;
                }
                case 24:
                    dst[x] = uint32_t(row[3 * x + 2]) << 16 | row[3 * x + 1] << 8 | row[3 * x];
                    break;
                case 32: {
                    const uint32_t v = le32(row + 4 * x);
                    dst[x] = maskedChannel(v, masks[0]) << 16 | maskedChannel(v, masks[1]) << 8 |
                             maskedChannel(v, masks[2]);
                    break;
                }
            }
        }
    }
    out = std::move(pic);
    return true;
}

std::vector<uint8_t> encodeBmp24(const Picture& picture) {
    const size_t stride = ((size_t(picture.width) * 3 + 3) / 4) * 4;
    const size_t imageSize = stride * size_t(picture.height);
    ByteWriter w;
    w.u8('B');
    w.u8('M');
    w.u32(uint32_t(kBmpHeaderSize + imageSize));
    w.u32(0);
    w.u32(uint32_t(kBmpHeaderSize));
    w.u32(40);
    w.i32(picture.width);
    w.i32(picture.height);
    w.u16(1);
    w.u16(24);
    w.u32(0);
    w.u32(uint32_t(imageSize));
    w.u32(2835);
    w.u32(2835);
    w.u32(0);
    w.u32(0);
    std::vector<uint8_t> out = w.take();
    out.resize(kBmpHeaderSize + imageSize, 0);
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = out.data() + kBmpHeaderSize + size_t(picture.height - 1 - y) * stride;
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.at(x, y);
            row[3 * x] = uint8_t(p);
            row[3 * x + 1] = uint8_t(p >> 8);
            row[3 * x + 2] = uint8_t(p >> 16);
        }
    }
    return out;
}

}  // namespace brightline::media
