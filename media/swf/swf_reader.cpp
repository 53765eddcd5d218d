#include "media/swf/swf_reader.h"

#include <cstring>

namespace brightline::swf {

bool SwfReader::take(size_t n) {
    bitCount_ = 0;
    if (!ok_ || n > size_ - pos_) {
        ok_ = false;
        return false;
    }
    return true;
}

uint8_t SwfReader::u8() {
    if (!take(1)) return 0;
    return data_[pos_++];
}

uint16_t SwfReader::u16() {
    if (!take(2)) return 0;
    const uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t SwfReader::u32() {
    if (!take(4)) return 0;
    const uint32_t v = uint32_t(data_[pos_]) | (uint32_t(data_[pos_ + 1]) << 8) |
                       (uint32_t(data_[pos_ + 2]) << 16) | (uint32_t(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
}

double SwfReader::fixed8() {
    return s16() / 256.0;
}

const uint8_t* SwfReader::bytes(size_t n) {
    if (!take(n)) return nullptr;
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

std::string SwfReader::string() {
    bitCount_ = 0;
    if (!ok_) return {};
    const void* end = std::memchr(data_ + pos_, 0, size_ - pos_);
    if (!end) {
        ok_ = false;
        return {};
    }
    const size_t n = size_t(static_cast<const uint8_t*>(end) - (data_ + pos_));
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n + 1;
    return s;
}

uint32_t SwfReader::ub(int bits) {
    uint32_t v = 0;
    for (int i = 0; i < bits; ++i) {
        if (bitCount_ == 0) {
            if (!ok_ || pos_ >= size_) {
                ok_ = false;
                return 0;
            }
            bitBuffer_ = data_[pos_++];
            bitCount_ = 8;
        }
        --bitCount_;
        v = (v << 1) | ((bitBuffer_ >> bitCount_) & 1u);
    }
    return v;
}

int32_t SwfReader::sb(int bits) {
    if (bits <= 0) return 0;
    if (bits > 32) {  // only the low 32 bits are kept
        ub(bits - 32);
        bits = 32;
    }
    const uint32_t v = ub(bits);
    if (bits < 32 && (v & (1u << (bits - 1)))) return int32_t(v | ~((1u << bits) - 1));
    return int32_t(v);
}

double SwfReader::fb(int bits) {
    return sb(bits) / 65536.0;
}

Rgba SwfReader::rgb() {
    Rgba c;
    c.r = u8();
    c.g = u8();
    c.b = u8();
    return c;
}

Rgba SwfReader::rgba() {
    Rgba c = rgb();
    c.a = u8();
    return c;
}

Rect SwfReader::rect() {
    align();
    const int bits = int(ub(5));
    Rect r;
    r.xMin = sb(bits);
    r.xMax = sb(bits);
    r.yMin = sb(bits);
    r.yMax = sb(bits);
    align();
    return r;
}

Matrix SwfReader::matrix() {
    align();
    Matrix m;
    if (ub(1)) {
        const int bits = int(ub(5));
        m.a = fb(bits);
        m.d = fb(bits);
    }
    if (ub(1)) {
        const int bits = int(ub(5));
        m.b = fb(bits);
        m.c = fb(bits);
    }
    const int bits = int(ub(5));
    m.tx = sb(bits);
    m.ty = sb(bits);
    align();
    return m;
}

ColorTransform SwfReader::colorTransform(bool withAlpha) {
    align();
    ColorTransform t;
    const bool hasAdd = ub(1) != 0;
    const bool hasMult = ub(1) != 0;
    const int bits = int(ub(4));
    const int channels = withAlpha ? 4 : 3;
    if (hasMult)
        for (int i = 0; i < channels; ++i) t.mult[i] = sb(bits) / 256.0;
    if (hasAdd)
        for (int i = 0; i < channels; ++i) t.add[i] = sb(bits);
    align();
    return t;
}

}  // namespace brightline::swf
