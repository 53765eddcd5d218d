#pragma once
// Bounds-checked little-endian reading from a block of memory.
//
// The first failure sticks: every read after it returns 0 (or an empty value) and ok() stays
// false, so a parser can read a whole record and check once. Nothing is ever read past the end
// of the block. The block is borrowed, not owned; it must outlive the reader.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brightline {

class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes)
        : ByteReader(bytes.data(), bytes.size()) {}

    bool ok() const { return error_.empty(); }
    // Why reading stopped ("needs 4 bytes at offset 20, 2 left"); empty while ok().
    const std::string& error() const { return error_; }
    // Records the first failure; later calls keep the first text.
    void fail(const std::string& why);

    size_t position() const { return pos_; }
    size_t remaining() const { return ok() ? size_ - pos_ : 0; }
    bool atEnd() const { return pos_ >= size_; }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    // Copies n bytes; false (and the reader failed) when fewer are left.
    bool bytes(void* out, size_t n);
    // Makes sure n more bytes are there without consuming them.
    bool need(size_t n);

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    std::string error_;
};

}  // namespace brightline
