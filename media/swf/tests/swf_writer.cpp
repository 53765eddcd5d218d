#include "media/swf/tests/swf_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace brightline::swf::test {

void BitWriter::ub(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (used_ == 0) out_.push_back(0);
        if ((value >> i) & 1u) out_.back() |= uint8_t(0x80 >> used_);
        used_ = (used_ + 1) % 8;
    }
}

void BitWriter::align() {
    used_ = 0;
}

void BitWriter::u8(uint8_t v) {
    align();
    out_.push_back(v);
}

void BitWriter::u16(uint16_t v) {
    u8(uint8_t(v));
    u8(uint8_t(v >> 8));
}

void BitWriter::u32(uint32_t v) {
    u16(uint16_t(v));
    u16(uint16_t(v >> 16));
}

void BitWriter::rgb(uint8_t r, uint8_t g, uint8_t b) {
    u8(r);
    u8(g);
    u8(b);
}

void BitWriter::rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    rgb(r, g, b);
    u8(a);
}

void BitWriter::bytes(const Bytes& b) {
    align();
    out_.insert(out_.end(), b.begin(), b.end());
}

int signedBits(std::initializer_list<int64_t> values) {
    int bits = 1;
    for (int64_t v : values) {
        int n = 1;
        while (v < -(int64_t(1) << (n - 1)) || v >= (int64_t(1) << (n - 1))) ++n;
        bits = std::max(bits, n);
    }
    return bits;
}

void writeRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax) {
    w.align();
    const int bits = signedBits({xMin, xMax, yMin, yMax});
    w.ub(uint32_t(bits), 5);
    for (int v : {xMin, xMax, yMin, yMax}) w.sb(v, bits);
    w.align();
}

Mat rotation(double degrees, int tx, int ty) {
    const double r = degrees * M_PI / 180;
    Mat m;
    m.sx = m.sy = std::cos(r);
    m.r0 = std::sin(r);
    m.r1 = -std::sin(r);
    m.tx = tx;
    m.ty = ty;
    return m;
}

void writeMatrix(BitWriter& w, const Mat& m) {
    w.align();
    auto fixed = [](double v) { return int64_t(std::lround(v * 65536)); };
    const bool scale = m.sx != 1 || m.sy != 1;
    w.ub(scale, 1);
    if (scale) {
        const int bits = signedBits({fixed(m.sx), fixed(m.sy)});
        w.ub(uint32_t(bits), 5);
        w.sb(int32_t(fixed(m.sx)), bits);
        w.sb(int32_t(fixed(m.sy)), bits);
    }
    const bool rotate = m.r0 != 0 || m.r1 != 0;
    w.ub(rotate, 1);
    if (rotate) {
        const int bits = signedBits({fixed(m.r0), fixed(m.r1)});
        w.ub(uint32_t(bits), 5);
        w.sb(int32_t(fixed(m.r0)), bits);
        w.sb(int32_t(fixed(m.r1)), bits);
    }
    const int bits = (m.tx == 0 && m.ty == 0) ? 0 : signedBits({m.tx, m.ty});
    w.ub(uint32_t(bits), 5);
    w.sb(m.tx, bits);
    w.sb(m.ty, bits);
    w.align();
}

void writeColorTransform(BitWriter& w, bool alpha, const int mult[4], const int add[4]) {
    w.align();
    const int n = alpha ? 4 : 3;
    const int bits =
        signedBits({mult[0], mult[1], mult[2], mult[3], add[0], add[1], add[2], add[3]});
    w.ub(1, 1);  // has add terms
    w.ub(1, 1);  // has mult terms
    w.ub(uint32_t(bits), 4);
    for (int i = 0; i < n; ++i) w.sb(mult[i], bits);
    for (int i = 0; i < n; ++i) w.sb(add[i], bits);
    w.align();
}

ShapeRecords::ShapeRecords(int fillBits, int lineBits) : fillBits_(fillBits), lineBits_(lineBits) {
    w_.ub(uint32_t(fillBits), 4);
    w_.ub(uint32_t(lineBits), 4);
}

void ShapeRecords::change(int moveX, int moveY, int fill0, int fill1, int line) {
    w_.ub(0, 1);
    w_.ub(0, 1);  // no new styles
    w_.ub(line >= 0, 1);
    w_.ub(fill1 >= 0, 1);
    w_.ub(fill0 >= 0, 1);
    w_.ub(1, 1);  // move to
    const int bits = signedBits({moveX, moveY});
    w_.ub(uint32_t(bits), 5);
    w_.sb(moveX, bits);
    w_.sb(moveY, bits);
    if (fill0 >= 0) w_.ub(uint32_t(fill0), fillBits_);
    if (fill1 >= 0) w_.ub(uint32_t(fill1), fillBits_);
    if (line >= 0) w_.ub(uint32_t(line), lineBits_);
}

void ShapeRecords::line(int dx, int dy) {
    const int bits = std::max(2, signedBits({dx, dy}));
    w_.ub(1, 1);  // edge
    w_.ub(1, 1);  // straight
    w_.ub(uint32_t(bits - 2), 4);
    if (dx != 0 && dy != 0) {
        w_.ub(1, 1);  // general line
        w_.sb(dx, bits);
        w_.sb(dy, bits);
    } else {
        w_.ub(0, 1);
        w_.ub(dx == 0, 1);  // vertical
        w_.sb(dx == 0 ? dy : dx, bits);
    }
}

void ShapeRecords::curve(int cdx, int cdy, int adx, int ady) {
    const int bits = std::max(2, signedBits({cdx, cdy, adx, ady}));
    w_.ub(1, 1);
    w_.ub(0, 1);  // curved
    w_.ub(uint32_t(bits - 2), 4);
    for (int v : {cdx, cdy, adx, ady}) w_.sb(v, bits);
}

void ShapeRecords::box(int width, int height) {
    line(width, 0);
    line(0, height);
    line(-width, 0);
    line(0, -height);
}

Bytes ShapeRecords::finish() {
    w_.ub(0, 1);
    w_.ub(0, 5);
    return w_.data();
}

void appendTag(Bytes& out, int code, const Bytes& body, bool longForm) {
    BitWriter w;
    if (body.size() >= 63 || longForm) {
        w.u16(uint16_t((code << 6) | 0x3F));
        w.u32(uint32_t(body.size()));
    } else {
        w.u16(uint16_t((code << 6) | int(body.size())));
    }
    w.bytes(body);
    const Bytes& b = w.data();
    out.insert(out.end(), b.begin(), b.end());
}

SwfFile::SwfFile(int widthPixels, int heightPixels, int version, double frameRate)
    : width_(widthPixels), height_(heightPixels), version_(version), rate_(frameRate) {}

void SwfFile::showFrame() {
    tag(1, {});
    ++frames_;
}

Bytes SwfFile::bytes(bool compressed, int frameCount) const {
    BitWriter body;
    writeRect(body, 0, width_ * 20, 0, height_ * 20);
    body.u16(uint16_t(std::lround(rate_ * 256)));
    body.u16(uint16_t(frameCount >= 0 ? frameCount : frames_));
    body.bytes(tags_);
    body.u16(0);  // End
    Bytes rest = body.data();
    BitWriter file;
    file.u8(compressed ? 'C' : 'F');
    file.u8('W');
    file.u8('S');
    file.u8(uint8_t(version_));
    file.u32(uint32_t(8 + rest.size()));
    file.bytes(compressed ? zlibCompress(rest) : rest);
    return file.data();
}

Bytes solidFill(uint8_t r, uint8_t g, uint8_t b, int alpha) {
    BitWriter w;
    w.u8(0x00);
    if (alpha >= 0)
        w.rgba(r, g, b, uint8_t(alpha));
    else
        w.rgb(r, g, b);
    return w.data();
}

Bytes boxShape(int version, uint16_t id, int x, int y, int w, int h, const Bytes& fill) {
    BitWriter t;
    t.u16(id);
    writeRect(t, x, x + w, y, y + h);
    if (version == 4) {
        writeRect(t, x, x + w, y, y + h);
        t.u8(0);
    }
    t.u8(1);  // one fill style
    t.bytes(fill);
    t.u8(0);  // no line style
    ShapeRecords records(1, 0);
    records.change(x, y, 1);
    records.box(w, h);
    t.bytes(records.finish());
    return t.data();
}

Bytes placeObject2(uint16_t depth, uint16_t id, const Mat* matrix, const int* mult, const int* add,
                   int clipDepth) {
    BitWriter w;
    uint8_t flags = 0;
    if (id == 0) flags |= 0x01;
    if (id != 0) flags |= 0x02;
    if (matrix) flags |= 0x04;
    if (mult) flags |= 0x08;
    if (clipDepth) flags |= 0x40;
    w.u8(flags);
    w.u16(depth);
    if (id) w.u16(id);
    if (matrix) writeMatrix(w, *matrix);
    if (mult) writeColorTransform(w, true, mult, add);
    if (clipDepth) w.u16(uint16_t(clipDepth));
    return w.data();
}

Bytes removeObject2(uint16_t depth) {
    BitWriter w;
    w.u16(depth);
    return w.data();
}

Bytes zlibCompress(const Bytes& data) {
    uLongf size = compressBound(uLong(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), uLong(data.size()), 9) != Z_OK)
        throw std::runtime_error("zlib failed");
    out.resize(size);
    return out;
}

}  // namespace brightline::swf::test
