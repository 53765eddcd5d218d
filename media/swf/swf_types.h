#pragma once
// The small records every Flash movie is built from: colours, rectangles and matrices in twips
// (1/20 of a pixel), colour transforms, and the names of the tag codes.
#include <cstdint>
#include <string>

namespace brightline::swf {

inline constexpr double kTwipsPerPixel = 20.0;

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Twips; xMax and yMax are exclusive bounds as stored (xMax may be below xMin in damaged files).
struct Rect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    int32_t width() const { return xMax - xMin; }
    int32_t height() const { return yMax - yMin; }
};

// x' = a x + c y + tx, y' = b x + d y + ty (translation in twips).
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    // This matrix applied after `inner`.
    Matrix operator*(const Matrix& inner) const;
    // False when the matrix squashes the plane (nothing drawn through it is visible).
    bool invertible() const;
    static Matrix translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Matrix scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
};

// Each channel c (0..255) becomes c * mult + add, clamped to 0..255. Index 0 red, 1 green,
// 2 blue, 3 alpha.
struct ColorTransform {
    double mult[4] = {1, 1, 1, 1};
    double add[4] = {0, 0, 0, 0};

    bool identity() const;
    Rgba apply(Rgba c) const;
    // This transform applied after `inner`.
    ColorTransform operator*(const ColorTransform& inner) const;
};

// How the renderer treats a tag.
enum class TagHandling {
    Drawn,     // read and drawn
    Ignored,   // read past: it changes nothing in a picture (actions, sound, metadata)
    NotDrawn,  // read past although it would change the picture: reported
    Unknown,   // a code this reader does not know: reported
};

// The tag's name ("DefineShape3") or "Tag<code>" for an unknown code.
std::string tagName(int code);
TagHandling tagHandling(int code);

}  // namespace brightline::swf
