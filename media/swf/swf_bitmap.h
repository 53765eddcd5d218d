#pragma once
// Bitmaps of a Flash movie: DefineBits (with the movie's JPEGTables), DefineBitsJPEG2 and 3
// (JPEG or PNG, 3 with a separate alpha plane) and DefineBitsLossless 1 and 2 (colour-mapped,
// 15-bit and 32-bit pixels, zlib-compressed). Definitions keep their bytes; decoding happens
// when a frame first draws the bitmap.
#include <cstdint>
#include <string>
#include <vector>

#include "media/swf/swf_reader.h"

namespace brightline::swf {

// No bitmap of a movie has more pixels than this (sizes are checked before allocating).
inline constexpr int64_t kMaxBitmapPixels = int64_t(4096) * 4096;

// Pixels as Cairo's ARGB32 wants them: 32-bit words 0xAARRGGBB with red, green and blue
// premultiplied by alpha; rows top first, `width` words a row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool empty() const { return width <= 0 || height <= 0; }
};

enum class BitmapKind { Jpeg, Jpeg2, Jpeg3, Lossless, Lossless2 };

struct BitmapDefinition {
    BitmapKind kind = BitmapKind::Jpeg;
    std::vector<uint8_t> data;   // JPEG/PNG stream, or the zlib stream of a lossless bitmap
    std::vector<uint8_t> alpha;  // Jpeg3: zlib stream of one alpha byte a pixel
    int format = 0;              // Lossless: 3 colour-mapped, 4 15-bit, 5 32-bit
    int width = 0, height = 0;   // Lossless
    int colorTableSize = 0;      // Lossless format 3: colours in the table
};

// The body of a bitmap tag (`code` 6, 20, 21, 35 or 36) after its character id.
bool readBitmapDefinition(int code, SwfReader& r, BitmapDefinition& out, std::string& error);

// Decodes a bitmap; `jpegTables` is the movie's JPEGTables (used by DefineBits only).
bool decodeBitmap(const BitmapDefinition& bitmap, const std::vector<uint8_t>& jpegTables,
                  Image& out, std::string& error);

// One JPEG stream from the encoding tables and the image data of DefineBits, or from the data
// of DefineBitsJPEG2/3 alone (`tables` empty): every start-of-image and end-of-image marker met
// before the scan is dropped (some encoders write a stray FF D9 FF D8 or FF D8 FF D9 in front),
// the segments are kept in order, and the stream is framed by one SOI and one EOI. `width` and
// `height` get the frame header's size (0 when there is none).
std::vector<uint8_t> joinJpegStreams(const uint8_t* tables, size_t tablesSize, const uint8_t* image,
                                     size_t imageSize, int& width, int& height);

// Inflates a zlib stream into exactly `expected` bytes (a longer result is cut there). False
// when the stream is damaged or yields fewer bytes.
bool inflateExactly(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>& out);

}  // namespace brightline::swf
