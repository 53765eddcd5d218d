#pragma once
// The ZVI clip file (".zvi"), little-endian:
//
//   0  "ZAVI"
//   4  frame codec "JPG " or "PNG "
//   8  rate (as the converter wrote it, see clip_rules.h)
//  12  frame count
//  16  width, 20 height (pixels)
//  24  frame records, one after the other
//
// Frame record: a 32-bit length L, then L - 2 bytes of the frame's JPEG or PNG stream (padded
// with one zero byte when the stream's length is odd), then a 16-bit checksum: the sum of the
// padded stream taken as 16-bit little-endian words, kept to 16 bits.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brightline::media {

inline constexpr char kZviMagic[5] = "ZAVI";
inline constexpr char kZviCodecJpeg[5] = "JPG ";
inline constexpr char kZviCodecPng[5] = "PNG ";
inline constexpr size_t kZviHeaderSize = 24;
// No frame record is longer than this; a longer claimed length marks a damaged record.
inline constexpr uint32_t kMaxZviRecordLength = 64u << 20;

enum class ZviCodec { Jpeg, Png, Unknown };

struct ZviHeader {
    std::string codecTag = kZviCodecJpeg;  // four characters
    int32_t rate = 0;
    int32_t frameCount = 0;
    int32_t width = 0;
    int32_t height = 0;

    ZviCodec codec() const;
    bool operator==(const ZviHeader& o) const {
        return codecTag == o.codecTag && rate == o.rate && frameCount == o.frameCount &&
               width == o.width && height == o.height;
    }
};

// The 24 header bytes (the codec tag padded or cut to four characters).
std::vector<uint8_t> encodeZviHeader(const ZviHeader& header);
// False with `error` set when fewer than 24 bytes are given or the magic is not "ZAVI".
bool decodeZviHeader(const uint8_t* data, size_t size, ZviHeader& out,
                     std::string* error = nullptr);

// The checksum of a frame stream: its bytes, padded with a zero byte to an even length, summed
// as 16-bit little-endian words, kept to 16 bits.
uint16_t zviChecksum(const uint8_t* data, size_t size);

// One whole frame record for a JPEG or PNG stream.
std::vector<uint8_t> encodeZviFrameRecord(const uint8_t* stream, size_t size);

// The codec a stream starts like: JPEG (FF D8 FF), PNG (the 8-byte PNG signature) or Unknown.
ZviCodec sniffFrameCodec(const uint8_t* data, size_t size);

}  // namespace brightline::media
