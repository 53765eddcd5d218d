#pragma once
// The receive ring of the serial link: 65,536 bytes with 16-bit read and write indices that wrap
// naturally. Empty when the indices are equal, full when write + 1 == read; a byte that arrives
// when full is dropped, so at most 65,535 bytes are held. One thread uses it (the receive thread).
#include <cstddef>
#include <cstdint>
#include <memory>

namespace brightline {

class ReceiveRing {
  public:
    static constexpr size_t kSize = 65536;

    ReceiveRing() : bytes_(new uint8_t[kSize]) {}

    // False when the ring was full and the byte was dropped.
    bool put(uint8_t byte) {
        if (static_cast<uint16_t>(write_ + 1) == read_) return false;
        bytes_[write_++] = byte;
        return true;
    }
    // False when empty.
    bool take(uint8_t& byte) {
        if (read_ == write_) return false;
        byte = bytes_[read_++];
        return true;
    }
    size_t size() const { return static_cast<uint16_t>(write_ - read_); }
    bool empty() const { return read_ == write_; }

  private:
    std::unique_ptr<uint8_t[]> bytes_;
    uint16_t read_ = 0;
    uint16_t write_ = 0;
};

}  // namespace brightline
