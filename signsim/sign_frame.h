#pragma once
// The sign's own end of the serial framing, written from the packet layout and sharing no code
// with the PC's parser and builder (comm/packet.h), so that a framing fault on one side cannot
// hide behind the same fault on the other.
//
//   offset size field                         offset size field
//   0      4    5A 5A 5A 5A ("ZZZZ")          9      2    chunk size
//   4      1    destination                   11     2    packet type
//   5      1    source                        13     4    sequence number
//   6      2    body length (data + 8)        17     n    data (n <= 1024)
//   8      1    sum of bytes 4..7 (mod 256)   17+n   1    sum of bytes 9..16+n (mod 256)
// Little-endian throughout.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brightline::signsim {

struct SignFrame {
    uint8_t destination = 0;
    uint8_t source = 0;
    uint16_t chunkSize = 0;
    uint16_t type = 0;
    uint32_t sequence = 0;
    std::vector<uint8_t> data;  // at most 1024 bytes
};

// The frame as it goes on the line (data.size() + 18 bytes). Data beyond 1024 bytes is not sent.
std::vector<uint8_t> frameBytes(const SignFrame& frame);

// Collects bytes from the line and hands out every whole, well-formed frame addressed to
// `address`. Bytes before a "ZZZZ" run are skipped; a frame with a wrong header sum, another
// destination or a body length outside 8..1032 is skipped up to its header sum, one with a wrong
// body sum whole; the search then goes on after it. Keeps at most one frame's worth of bytes.
// One feeding thread.
class SignFrameReader {
  public:
    explicit SignFrameReader(uint8_t address) : address_(address) {}
    void setAddress(uint8_t address) { address_ = address; }
    void clear() { pending_.clear(); }

    // Appends `size` bytes; returns the frames they completed, in order.
    std::vector<SignFrame> push(const uint8_t* bytes, size_t size);

  private:
    uint8_t address_;
    std::vector<uint8_t> pending_;
};

}  // namespace brightline::signsim
