#include "common/byte_reader.h"

#include <cstring>

namespace brightline {

void ByteReader::fail(const std::string& why) {
    if (error_.empty()) error_ = why.empty() ? std::string("read failed") : why;
}

bool ByteReader::need(size_t n) {
    if (!ok()) return false;
    if (n > size_ - pos_) {
        fail("needs " + std::to_string(n) + " bytes at offset " + std::to_string(pos_) + ", " +
             std::to_string(size_ - pos_) + " left");
        return false;
    }
    return true;
}

bool ByteReader::bytes(void* out, size_t n) {
    if (!need(n)) return false;
    if (n) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
}

uint8_t ByteReader::u8() {
    if (!need(1)) return 0;
    return data_[pos_++];
}

uint16_t ByteReader::u16() {
    if (!need(2)) return 0;
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t ByteReader::u32() {
    if (!need(4)) return 0;
    uint32_t v = static_cast<uint32_t>(data_[pos_]) |
                 (static_cast<uint32_t>(data_[pos_ + 1]) << 8) |
                 (static_cast<uint32_t>(data_[pos_ + 2]) << 16) |
                 (static_cast<uint32_t>(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
}

}  // namespace brightline
