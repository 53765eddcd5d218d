#pragma once
// Reads the little-endian numbers and bit-packed fields of a Flash movie from memory.
//
// A read past the end gives zeros and clears ok() for good, so a parser may read a whole record
// and check ok() once at its end. Bit fields (UB unsigned, SB signed, FB 16.16 fixed) are read
// most significant bit first; reading a byte-sized value first moves to the next whole byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/swf/swf_types.h"

namespace brightline::swf {

class SwfReader {
  public:
    // Borrows `data`, which must outlive the reader.
    SwfReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t position() const { return pos_; }
    size_t remaining() const { return ok_ ? size_ - pos_ : 0; }
    const uint8_t* data() const { return data_; }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t s16() { return int16_t(u16()); }
    double fixed8();  // SI16 as 8.8
    // `n` bytes at the current position, or null (and !ok()) when fewer are left.
    const uint8_t* bytes(size_t n);
    void skip(size_t n) { bytes(n); }
    // A NUL-terminated string (the NUL is read, not returned).
    std::string string();

    uint32_t ub(int bits);  // bits 0..32
    int32_t sb(int bits);   // bits 0..32, sign-extended
    double fb(int bits);    // SB as 16.16 fixed
    void align() { bitCount_ = 0; }

    Rgba rgb();
    Rgba rgba();
    Rect rect();
    Matrix matrix();
    // CXFORM (no alpha terms) or CXFORMWITHALPHA.
    ColorTransform colorTransform(bool withAlpha);

  private:
    bool take(size_t n);
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
    uint8_t bitBuffer_ = 0;
    int bitCount_ = 0;  // bits of bitBuffer_ not yet read
};

}  // namespace brightline::swf
