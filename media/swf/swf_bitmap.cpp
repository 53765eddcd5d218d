#include "media/swf/swf_bitmap.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "media/jpeg_picture.h"
#include "media/png_picture.h"

namespace brightline::swf {
namespace {

uint32_t premultiply(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (a == 255) return 0xFF000000u | (r << 16) | (g << 8) | b;
    r = (r * a + 127) / 255;
    g = (g * a + 127) / 255;
    b = (b * a + 127) / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Premultiplied data written by encoders that did not keep colour at or below alpha would
// overflow when composited; such channels are cut to alpha.
uint32_t clampPremultiplied(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return (a << 24) | (std::min(r, a) << 16) | (std::min(g, a) << 8) | std::min(b, a);
}

bool sizeAllowed(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w * h <= kMaxBitmapPixels;
}

bool isPng(const std::vector<uint8_t>& d) {
    static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return d.size() >= 8 && std::memcmp(d.data(), sig, 8) == 0;
}

bool isGif(const std::vector<uint8_t>& d) {
    return d.size() >= 6 && std::memcmp(d.data(), "GIF8", 4) == 0;
}

// True when the PNG stream keeps transparency: an alpha colour type or a tRNS chunk.
bool pngHasAlpha(const std::vector<uint8_t>& d) {
    if (d.size() < 26) return false;
    if (d[25] & 4) return true;
    size_t pos = 8;
    while (pos + 8 <= d.size()) {
        const uint32_t len = (uint32_t(d[pos]) << 24) | (uint32_t(d[pos + 1]) << 16) |
                             (uint32_t(d[pos + 2]) << 8) | d[pos + 3];
        if (std::memcmp(&d[pos + 4], "tRNS", 4) == 0) return true;
        if (std::memcmp(&d[pos + 4], "IDAT", 4) == 0) return false;
        if (len > d.size() - pos - 8) return false;
        pos += 12 + size_t(len);
    }
    return false;
}

bool decodePicture(const std::vector<uint8_t>& data, const std::vector<uint8_t>& tables, Image& out,
                   std::string& error) {
    media::Picture picture;
    bool alpha = false;
    if (tables.empty() && isPng(data)) {
        if (!media::decodePng(data, picture, &error)) return false;
        alpha = pngHasAlpha(data);
    } else if (tables.empty() && isGif(data)) {
        error = "GIF bitmaps are not drawn";
        return false;
    } else {
        int w = 0, h = 0;
        std::vector<uint8_t> jpeg =
            joinJpegStreams(tables.data(), tables.size(), data.data(), data.size(), w, h);
        if (!sizeAllowed(w, h)) {
            error = "the JPEG picture's size " + std::to_string(w) + " x " + std::to_string(h) +
                    " is out of range";
            return false;
        }
        if (!media::decodeJpeg(jpeg, picture, &error)) return false;
    }
    if (!sizeAllowed(picture.width, picture.height)) {
        error = "the picture is too large";
        return false;
    }
    out.width = picture.width;
    out.height = picture.height;
    out.pixels.resize(picture.pixels.size());
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint32_t p = picture.pixels[i];
        out.pixels[i] = alpha ? premultiply((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, p >> 24)
                              : (0xFF000000u | (p & 0xFFFFFFu));
    }
    return true;
}

bool decodeLossless(const BitmapDefinition& b, Image& out, std::string& error) {
    const bool withAlpha = b.kind == BitmapKind::Lossless2;
    if (!sizeAllowed(b.width, b.height)) {
        error = "the bitmap's size " + std::to_string(b.width) + " x " + std::to_string(b.height) +
                " is out of range";
        return false;
    }
    const size_t w = size_t(b.width), h = size_t(b.height);
    size_t tableBytes = 0, stride = 0;
    switch (b.format) {
        case 3:
            tableBytes = size_t(b.colorTableSize) * (withAlpha ? 4 : 3);
            stride = (w + 3) & ~size_t(3);
            break;
        case 4:
            stride = (w * 2 + 3) & ~size_t(3);
            break;
        case 5:
            stride = w * 4;
            break;
        default:
            error = "unknown lossless bitmap format " + std::to_string(b.format);
            return false;
    }
    std::vector<uint8_t> raw;
    if (!inflateExactly(b.data.data(), b.data.size(), tableBytes + stride * h, raw)) {
        error = "the bitmap's pixel data is damaged or cut short";
        return false;
    }
    out.width = b.width;
    out.height = b.height;
    out.pixels.assign(w * h, 0);
    std::vector<uint32_t> table(256, 0);
    for (size_t i = 0; i < size_t(b.colorTableSize); ++i) {
        const uint8_t* c = &raw[i * (withAlpha ? 4 : 3)];
        table[i] = withAlpha ? clampPremultiplied(c[0], c[1], c[2], c[3])
                             : premultiply(c[0], c[1], c[2], 255);
    }
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = &raw[tableBytes + y * stride];
        uint32_t* to = &out.pixels[y * w];
        for (size_t x = 0; x < w; ++x) {
            if (b.format == 3) {
                to[x] = table[row[x]];
            } else if (b.format == 4) {
                const uint32_t v = (uint32_t(row[2 * x]) << 8) | row[2 * x + 1];
                const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, bl = v & 31;
                to[x] = premultiply((r << 3) | (r >> 2), (g << 3) | (g >> 2), (bl << 3) | (bl >> 2),
                                    255);
            } else {
                const uint8_t* p = &row[4 * x];
                to[x] = withAlpha ? clampPremultiplied(p[1], p[2], p[3], p[0])
                                  : premultiply(p[1], p[2], p[3], 255);
            }
        }
    }
    return true;
}

// Copies the marker segments of one stream into `out` until the scan, then the rest.
void appendSegments(const uint8_t* p, size_t n, std::vector<uint8_t>& out, bool& scan, int& width,
                    int& height) {
    size_t i = 0;
    while (i < n && !scan) {
        if (p[i] != 0xFF) {
            ++i;
            continue;
        }
        if (i + 1 >= n) break;
        const uint8_t m = p[i + 1];
        if (m == 0xFF) {
            ++i;
            continue;
        }
        if (m == 0xD8 || m == 0xD9 || m == 0x00 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
            i += 2;
            continue;
        }
        if (i + 4 > n) break;
        const size_t len = (size_t(p[i + 2]) << 8) | p[i + 3];
        if (len < 2 || len > n - i - 2) break;
        const bool frameHeader = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (frameHeader && len >= 7) {
            height = (p[i + 5] << 8) | p[i + 6];
            width = (p[i + 7] << 8) | p[i + 8];
        }
        out.insert(out.end(), p + i, p + i + 2 + len);
        i += 2 + len;
        if (m == 0xDA) {
            scan = true;
            out.insert(out.end(), p + i, p + n);
        }
    }
}

}  // namespace

std::vector<uint8_t> joinJpegStreams(const uint8_t* tables, size_t tablesSize, const uint8_t* image,
                                     size_t imageSize, int& width, int& height) {
    width = height = 0;
    std::vector<uint8_t> out = {0xFF, 0xD8};
    bool scan = false;
    if (tables) appendSegments(tables, tablesSize, out, scan, width, height);
    if (image) appendSegments(image, imageSize, out, scan, width, height);
    if (out.size() < 4 || out[out.size() - 2] != 0xFF || out.back() != 0xD9) {
        out.push_back(0xFF);
        out.push_back(0xD9);
    }
    return out;
}

bool inflateExactly(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>& out) {
    out.assign(expected, 0);
    if (expected == 0) return true;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(std::min<size_t>(size, 0x7FFFFFFF));
    z.next_out = out.data();
    z.avail_out = uInt(std::min<size_t>(expected, 0x7FFFFFFF));
    int rc = Z_OK;
    while (z.avail_out > 0 && rc == Z_OK) rc = inflate(&z, Z_NO_FLUSH);
    const bool complete = z.avail_out == 0;
    inflateEnd(&z);
    return complete;
}

bool readBitmapDefinition(int code, SwfReader& r, BitmapDefinition& out, std::string& error) {
    switch (code) {
        case 6:
        case 21: {
            out.kind = code == 6 ? BitmapKind::Jpeg : BitmapKind::Jpeg2;
            const size_t n = r.remaining();
            const uint8_t* p = r.bytes(n);
            if (p) out.data.assign(p, p + n);
            break;
        }
        case 35: {
            out.kind = BitmapKind::Jpeg3;
            const uint32_t alphaOffset = r.u32();
            if (alphaOffset > r.remaining()) {
                error = "the alpha data starts past the end of the tag";
                return false;
            }
            const uint8_t* p = r.bytes(alphaOffset);
            if (p) out.data.assign(p, p + alphaOffset);
            const size_t rest = r.remaining();
            const uint8_t* a = r.bytes(rest);
            if (a) out.alpha.assign(a, a + rest);
            break;
        }
        case 20:
        case 36: {
            out.kind = code == 20 ? BitmapKind::Lossless : BitmapKind::Lossless2;
            out.format = r.u8();
            out.width = r.u16();
            out.height = r.u16();
            if (out.format == 3) out.colorTableSize = r.u8() + 1;
            const size_t n = r.remaining();
            const uint8_t* p = r.bytes(n);
            if (p) out.data.assign(p, p + n);
            break;
        }
        default:
            error = "not a bitmap tag";
            return false;
    }
    if (!r.ok()) {
        error = "the bitmap is cut short";
        return false;
    }
    return true;
}

bool decodeBitmap(const BitmapDefinition& bitmap, const std::vector<uint8_t>& jpegTables,
                  Image& out, std::string& error) {
    switch (bitmap.kind) {
        case BitmapKind::Jpeg:
            if (jpegTables.empty()) {
                error = "DefineBits without JPEGTables";
                return false;
            }
            return decodePicture(bitmap.data, jpegTables, out, error);
        case BitmapKind::Jpeg2:
            return decodePicture(bitmap.data, {}, out, error);
        case BitmapKind::Jpeg3: {
            if (!decodePicture(bitmap.data, {}, out, error)) return false;
            if (isPng(bitmap.data) || bitmap.alpha.empty()) return true;
            std::vector<uint8_t> alpha;
            if (!inflateExactly(bitmap.alpha.data(), bitmap.alpha.size(), out.pixels.size(),
                                alpha)) {
                error = "the alpha data is damaged or cut short";
                return false;
            }
            for (size_t i = 0; i < out.pixels.size(); ++i) {
                const uint32_t p = out.pixels[i];
                out.pixels[i] = premultiply((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, alpha[i]);
            }
            return true;
        }
        case BitmapKind::Lossless:
        case BitmapKind::Lossless2:
            return decodeLossless(bitmap, out, error);
    }
    return false;
}

}  // namespace brightline::swf
