#include "media/dsn_picture.h"

#include <cstdlib>

#include "common/byte_reader.h"
#include "common/byte_writer.h"

namespace brightline::media {
namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

int nearestIndex(uint32_t p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    int best = 0;
    long bestDist = -1;
    for (int i = 0; i < 4; ++i) {
        const uint32_t c = kDsnPalette[i];
        const long dr = r - long((c >> 16) & 0xFF), dg = g - long((c >> 8) & 0xFF),
                   db = b - long(c & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            best = i;
            bestDist = d;
        }
    }
    return best;
}

}  // namespace

std::string dsnFolder() {
    const char* env = std::getenv("BRIGHTLINE_DSN_FOLDER");
    return env && *env ? std::string(env) : std::string(kDefaultDsnFolder);
}

bool decodeDsn(const uint8_t* data, size_t size, Picture& out, std::string* error) {
    ByteReader r(data, size);
    const int width = r.u16();
    const int height = r.u16();
    const size_t length = r.u16();
    if (!r.ok()) {
        setError(error, "read failed: DSN header " + r.error());
        return false;
    }
    if (!pictureSizeAllowed(width, height)) {
        setError(error, "DSN size " + std::to_string(width) + " x " + std::to_string(height));
        return false;
    }
    // Each data byte gives at most four pixels, a run of two bytes at most 63 x 4: data that
    // cannot reach every pixel is refused before the picture is allocated.
    const uint64_t reachable = uint64_t(length / 2) * 63 * 4 + uint64_t(length % 2) * 4;
    if (uint64_t(width) * uint64_t(height) > reachable) {
        setError(error, "DSN data of " + std::to_string(length) + " bytes cannot hold " +
                            std::to_string(width) + " x " + std::to_string(height) + " pixels");
        return false;
    }
    if (r.remaining() < length) {
        setError(error, "read failed: DSN data claims " + std::to_string(length) + " bytes, " +
                            std::to_string(r.remaining()) + " left");
        return false;
    }
    const uint8_t* p = data + 6;
    const uint8_t* end = p + length;
    Picture pic(width, height);
    const size_t total = pic.pixels.size();
    size_t at = 0;
    auto putGroup = [&](uint8_t b) {
        for (int shift = 6; shift >= 0 && at < total; shift -= 2)
            pic.pixels[at++] = kDsnPalette[(b >> shift) & 3];
    };
    while (p < end && at < total) {
        const uint8_t b = *p++;
        if (b < 192) {
            putGroup(b);
        } else {
            if (p >= end) break;  // a run without its byte: nothing more to draw
            const uint8_t group = *p++;
            for (int n = b & 0x3F; n > 0 && at < total; --n) putGroup(group);
        }
    }
    out = std::move(pic);
    return true;
}

std::vector<uint8_t> encodeDsn(const Picture& picture) {
    std::vector<uint8_t> groups;
    const size_t total = picture.pixels.size();
    for (size_t i = 0; i < total; i += 4) {
        uint8_t g = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int idx = i + k < total ? nearestIndex(picture.pixels[i + k]) : 0;
            g = uint8_t(g | idx << (6 - 2 * k));
        }
        groups.push_back(g);
    }
    std::vector<uint8_t> data;
    for (size_t i = 0; i < groups.size();) {
        size_t n = 1;
        while (i + n < groups.size() && groups[i + n] == groups[i] && n < 63) ++n;
        // A group of 192 or more cannot stand alone: it always goes into a run.
        if (n >= 2 || groups[i] >= 192) {
            data.push_back(uint8_t(192 | n));
            data.push_back(groups[i]);
        } else {
            data.push_back(groups[i]);
        }
        i += n;
    }
    ByteWriter w;
    w.u16(uint16_t(picture.width));
    w.u16(uint16_t(picture.height));
    w.u16(uint16_t(data.size()));
    w.bytes(data.data(), data.size());
    return w.take();
}

}  // namespace brightline::media
