#pragma once
// Writes Flash movies for tests, straight from the file format's layout: bit-packed records
// (RECT, MATRIX, CXFORM, shape records), tags with short and long headers, FWS and CWS files.
// It shares no code with the reader it tests.
#include <cstdint>
#include <string>
#include <vector>

namespace brightline::swf::test {

using Bytes = std::vector<uint8_t>;

class BitWriter {
  public:
    void ub(uint32_t value, int bits);
    void sb(int32_t value, int bits) { ub(uint32_t(value), bits); }
    void align();
    void u8(uint8_t v);
    void u16(uint16_t v);
    void u32(uint32_t v);
    void rgb(uint8_t r, uint8_t g, uint8_t b);
    void rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    void bytes(const Bytes& b);
    const Bytes& data() {
        align();
        return out_;
    }

  private:
    Bytes out_;
    int used_ = 0;  // bits used in the last byte (0: none open)
};

// Bits an SB field needs to hold every value.
int signedBits(std::initializer_list<int64_t> values);

void writeRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax);

// x' = sx x + r1 y + tx, y' = r0 x + sy y + ty (translation in twips).
struct Mat {
    double sx = 1, sy = 1, r0 = 0, r1 = 0;
    int tx = 0, ty = 0;
};
Mat rotation(double degrees, int tx, int ty);
void writeMatrix(BitWriter& w, const Mat& m);

// CXFORMWITHALPHA (or CXFORM without alpha) with multipliers in 1/256 and additions.
void writeColorTransform(BitWriter& w, bool alpha, const int mult[4], const int add[4]);

// Shape records after the style arrays: the bit counts, then style changes and edges.
class ShapeRecords {
  public:
    ShapeRecords(int fillBits, int lineBits);
    // A style change record; -1 leaves a style as it is.
    void change(int moveX, int moveY, int fill0 = -1, int fill1 = -1, int line = -1);
    void line(int dx, int dy);
    void curve(int controlDx, int controlDy, int anchorDx, int anchorDy);
    // A rectangle from the current point (set by change) going right, down, left and up.
    void box(int width, int height);
    Bytes finish();

  private:
    BitWriter w_;
    int fillBits_, lineBits_;
};

// A tag with its header (the long form when the body is 63 bytes or more, or when asked).
void appendTag(Bytes& out, int code, const Bytes& body, bool longForm = false);

class SwfFile {
  public:
    SwfFile(int widthPixels, int heightPixels, int version = 8, double frameRate = 12);
    void tag(int code, const Bytes& body, bool longForm = false) {
        appendTag(tags_, code, body, longForm);
    }
    void showFrame();
    // The header's frame count is the ShowFrames written unless `frameCount` is given.
    Bytes bytes(bool compressed = false, int frameCount = -1) const;

  private:
    int width_, height_, version_;
    double rate_;
    int frames_ = 0;
    Bytes tags_;
};

// Tag bodies used by several tests.
Bytes solidFill(uint8_t r, uint8_t g, uint8_t b, int alpha = -1);  // RGBA when alpha >= 0
// DefineShape `version` (1..4) of one box x..x+w, y..y+h (twips) with one fill style (its bytes).
Bytes boxShape(int version, uint16_t id, int x, int y, int w, int h, const Bytes& fill);
// PlaceObject2 of a new character (or a move of the object at `depth` when id is 0).
Bytes placeObject2(uint16_t depth, uint16_t id, const Mat* matrix = nullptr,
                   const int* mult = nullptr, const int* add = nullptr, int clipDepth = 0);
Bytes removeObject2(uint16_t depth);

// zlib compression (for CWS files and lossless bitmaps).
Bytes zlibCompress(const Bytes& data);

}  // namespace brightline::swf::test
