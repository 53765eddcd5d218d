#pragma once
// The sign's own four-colour pictures (".dsn"), read from the DSN folder.
//
// File: width, height and the length of the data as 16-bit little-endian numbers, then the data,
// run-length coded at two bits a pixel: a byte below 192 is four pixels (bits 7-6, 5-4, 3-2,
// 1-0, each an index into the palette black, red, yellow, white); a byte of 192 or more is a
// run: its low six bits count how often the following byte (four pixels, same coding) repeats.
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"

namespace brightline::media {

// Where the sign keeps its DSN pictures.
inline constexpr const char* kDefaultDsnFolder = "/mnt/dsn/";

// The DSN folder: $BRIGHTLINE_DSN_FOLDER when set and not empty, else kDefaultDsnFolder.
std::string dsnFolder();

inline constexpr uint32_t kDsnPalette[4] = {0x000000, 0xFF0000, 0xFFFF00, 0xFFFFFF};

// Decodes a whole DSN file into a width x height picture. Pixels the data does not reach stay
// black; data beyond the last pixel is ignored. False with `error` set when the header is short,
// the data is shorter than the header says ("read failed"), the size is out of range, or the
// data could not reach every pixel even with the longest runs (checked before the picture is
// allocated).
bool decodeDsn(const uint8_t* data, size_t size, Picture& out, std::string* error = nullptr);
inline bool decodeDsn(const std::vector<uint8_t>& data, Picture& out,
                      std::string* error = nullptr) {
    return decodeDsn(data.data(), data.size(), out, error);
}

// Run-length codes a picture of palette colours (any other colour is taken as the nearest of
// the four) the way decodeDsn reads it; runs are used for repeated groups of four pixels.
std::vector<uint8_t> encodeDsn(const Picture& picture);

}  // namespace brightline::media
