#pragma once
#include <cstdint>

#include "common/archive_reader.h"
#include "common/byte_writer.h"

namespace brightline {

// A rectangle as the stored files hold it: left, top, right, bottom (int32 each, 16 raw bytes).
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// Left and top inclusive, right and bottom exclusive.
inline bool contains(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

inline void writeRect(ByteWriter& out, const Rect& r) {
    out.i32(r.left);
    out.i32(r.top);
    out.i32(r.right);
    out.i32(r.bottom);
}

inline Rect readRect(ByteReader& in) {
    Rect r;
    r.left = in.i32();
    r.top = in.i32();
    r.right = in.i32();
    r.bottom = in.i32();
    return r;
}

}  // namespace brightline
