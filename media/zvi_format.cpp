#include "media/zvi_format.h"

#include <cstring>

#include "common/byte_reader.h"
#include "common/byte_writer.h"

namespace brightline::media {

ZviCodec ZviHeader::codec() const {
    if (codecTag == kZviCodecJpeg) return ZviCodec::Jpeg;
    if (codecTag == kZviCodecPng) return ZviCodec::Png;
    return ZviCodec::Unknown;
}

std::vector<uint8_t> encodeZviHeader(const ZviHeader& header) {
    ByteWriter w;
    w.bytes(kZviMagic, 4);
    std::string tag = header.codecTag;
    tag.resize(4, ' ');
    w.text(tag);
    w.i32(header.rate);
    w.i32(header.frameCount);
    w.i32(header.width);
    w.i32(header.height);
    return w.take();
}

bool decodeZviHeader(const uint8_t* data, size_t size, ZviHeader& out, std::string* error) {
    if (size < kZviHeaderSize) {
        if (error) *error = "clip header needs 24 bytes, " + std::to_string(size) + " there";
        return false;
    }
    if (std::memcmp(data, kZviMagic, 4) != 0) {
        if (error) *error = "not a clip (no \"ZAVI\" mark)";
        return false;
    }
    ByteReader r(data + 8, 16);
    ZviHeader h;
    h.codecTag.assign(reinterpret_cast<const char*>(data + 4), 4);
    h.rate = r.i32();
    h.frameCount = r.i32();
    h.width = r.i32();
    h.height = r.i32();
    out = h;
    return true;
}

uint16_t zviChecksum(const uint8_t* data, size_t size) {
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 1 < size; i += 2) sum += uint32_t(data[i]) | uint32_t(data[i + 1]) << 8;
    if (i < size) sum += data[i];
    return uint16_t(sum);
}

std::vector<uint8_t> encodeZviFrameRecord(const uint8_t* stream, size_t size) {
    const size_t padded = size + (size & 1);
    ByteWriter w;
    w.u32(uint32_t(padded + 2));
    w.bytes(stream, size);
    if (size & 1) w.u8(0);
    w.u16(zviChecksum(stream, size));
    return w.take();
}

ZviCodec sniffFrameCodec(const uint8_t* data, size_t size) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ZviCodec::Jpeg;
    if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return ZviCodec::Png;
    return ZviCodec::Unknown;
}

}  // namespace brightline::media
