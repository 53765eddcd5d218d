#pragma once
// A one-glyph pixel grid the generator draws into before packing it into ZFON rows.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brightline::fontgen {

class GlyphCanvas {
  public:
    GlyphCanvas(int width, int height) : width_(width), height_(height), ink_(width * height, 0) {}

    int width() const { return width_; }
    int height() const { return height_; }
    // Points outside the grid are ignored (clipped).
    void set(int x, int y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) ink_[y * width_ + x] = 1;
    }
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && ink_[y * width_ + x];
    }
    // Columns [first, last] that hold ink; first > last when the glyph is empty.
    void inkColumns(int& first, int& last) const;
    // Moves every pixel `dx` columns (negative: to the left); what leaves the grid is lost.
    void shift(int dx);
    // Bold by overstrike: every ink pixel also inks its right neighbour, except where that would
    // close a one-pixel gap (so "0", "#" and "M" stay open in small cells).
    void embolden();
    // Rows top first, ceil(width / 8) bytes a row, most significant bit first.
    std::vector<uint8_t> pack() const;

  private:
    int width_;
    int height_;
    std::vector<uint8_t> ink_;
};

}  // namespace brightline::fontgen
