#pragma once
// The largest sign face the sign's memory takes: width x height at most 65,536 pixels, sides in
// multiples of 8.

namespace brightline {

// The largest side allowed next to `otherSide`: 65536 / otherSide rounded down to a multiple of
// 8. An other side below 1 counts as 1.
inline int signSideLimit(int otherSide) {
    if (otherSide < 1) otherSide = 1;
    return (65536 / otherSide) / 8 * 8;
}

}  // namespace brightline
