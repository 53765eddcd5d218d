#pragma once
// Windows bitmap files: the region loader's 24-bit rule, a general decoder for the bitmaps other
// programs write (text page pictures), and the 24-bit writer.
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"

namespace brightline::media {

inline constexpr size_t kBmpHeaderSize = 54;  // 14-byte file header + 40-byte information header

// The region loader's rule for a ".bmp" picture, given the whole file and the region size:
// 24 bits per pixel only; the row stride is (file size - 54) / height; output row 0 is file row
// min(height, region height) - 1 and so on downwards, so a picture not taller than the region
// stands upright from its top and a taller one shows its bottom rows; columns from the left,
// cut to the region. False (page left untouched) with `error` set for another depth, a width or
// height below 1 or a file shorter than its header; rows are never read past the file, a stride
// too short for the width cuts the columns to what the stride holds.
bool placeBmp24(const std::vector<uint8_t>& file, int regionWidth, int regionHeight, Picture& page,
                std::string* error = nullptr);

// Decodes a complete bitmap file ("BM" header, a 40-byte or longer information header, colour
// table for 1, 4 and 8 bits, bit fields for 16 and 32 bits, rows bottom-up or top-down padded to
// 4 bytes, pixel data at the header's offset). Compressed bitmaps are refused. False with
// `error` set on anything that does not fit the file.
bool decodeBmp(const uint8_t* data, size_t size, Picture& out, std::string* error = nullptr);
inline bool decodeBmp(const std::vector<uint8_t>& file, Picture& out,
                      std::string* error = nullptr) {
    return decodeBmp(file.data(), file.size(), out, error);
}

// A 24-bit bottom-up bitmap file of the picture (54-byte header, rows padded to 4 bytes).
std::vector<uint8_t> encodeBmp24(const Picture& picture);

}  // namespace brightline::media
