#include "tools/fontgen/glyph_canvas.h"

namespace brightline::fontgen {

void GlyphCanvas::inkColumns(int& first, int& last) const {
    first = width_;
    last = -1;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (at(x, y)) {
                if (x < first) first = x;
                if (x > last) last = x;
            }
}

void GlyphCanvas::shift(int dx) {
    std::vector<uint8_t> moved(ink_.size(), 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            int to = x + dx;
            if (at(x, y) && to >= 0 && to < width_) moved[y * width_ + to] = 1;
        }
    ink_.swap(moved);
}

void GlyphCanvas::embolden() {
    const std::vector<uint8_t> before = ink_;
    auto was = [&](int x, int y) { return x < width_ && before[y * width_ + x] != 0; };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x + 1 < width_; ++x)
            if (was(x, y) && !was(x + 1, y) && !was(x + 2, y)) ink_[y * width_ + x + 1] = 1;
}

std::vector<uint8_t> GlyphCanvas::pack() const {
    int bytesPerRow = (width_ + 7) / 8;
    std::vector<uint8_t> out(static_cast<size_t>(bytesPerRow) * height_, 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (at(x, y)) out[y * bytesPerRow + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return out;
}

}  // namespace brightline::fontgen
