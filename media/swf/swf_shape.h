#pragma once
// Shapes: fill styles (solid, gradients, bitmaps), line styles and the edge records of
// DefineShape 1 to 4 and of font glyphs, turned into paths ready to draw.
//
// Every edge carries the fill on each side of it (fill style 0 and fill style 1). The reader
// gathers, for each fill, the edges that bound it, keeping an edge's direction for the fill on
// its style-0 side and reversing it for the fill on its style-1 side, and joins them end to start
// into closed contours. Every contour of a fill then winds the same way around its inside, so
// the fill is drawn with the non-zero winding rule and two regions of one fill that share an
// edge show no seam.
#include <cstdint>
#include <string>
#include <vector>

#include "media/swf/swf_reader.h"
#include "media/swf/swf_types.h"

namespace brightline::swf {

struct GradientStop {
    double offset = 0;  // 0..1 along the gradient
    Rgba color;
};

enum class FillKind { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };
enum class SpreadMode { Pad, Reflect, Repeat };

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;     // Solid
    Matrix matrix;  // gradient square (-16384..16384 twips) or bitmap pixels to shape space
    std::vector<GradientStop> stops;
    SpreadMode spread = SpreadMode::Pad;
    double focalPoint = 0;  // FocalGradient: -1..1 along the x axis of the gradient circle
    uint16_t bitmapId = 0;  // Bitmap: the character, looked up when the shape is drawn
    bool repeat = true;     // Bitmap: tiled (else the edge pixels extend)
    bool smooth = true;     // Bitmap: bilinear (else nearest pixel)
};

enum class LineCap { Round, None, Square };
enum class LineJoin { Round, Bevel, Miter };

struct LineStyle {
    uint16_t width = 0;  // twips; 0 is a hairline (one pixel)
    Rgba color;
    bool hasFill = false;  // DefineShape4: the stroke is painted with `fill`
    FillStyle fill;
    LineCap cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    double miterLimit = 3;
};

// Coordinates in twips of the shape's own space.
struct PathCommand {
    enum Op : uint8_t { Move, Line, Curve };  // Curve: quadratic through (cx, cy) to (x, y)
    Op op = Move;
    int32_t x = 0, y = 0;
    int32_t cx = 0, cy = 0;
};
using Path = std::vector<PathCommand>;

// Styles replaced part-way through a shape start a new group; groups are drawn in order, each
// with its fills first and then its lines.
struct StyleGroup {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<Path> fillPaths;  // fillPaths[i]: the closed contours of fills[i]
    std::vector<Path> linePaths;  // linePaths[i]: the strokes of lines[i]
};

struct Shape {
    Rect bounds;
    std::vector<StyleGroup> groups;
};

// The SHAPEWITHSTYLE record of DefineShape `version` (1..4) at the reader's position. False with
// `error` set when the record is damaged or cut short.
bool readShapeWithStyle(SwfReader& r, int version, Shape& out, std::string& error);

// A glyph's SHAPE record (no style arrays): one implied fill, numbered 1; lines are dropped.
bool readGlyphShape(SwfReader& r, Shape& out, std::string& error);

// A FILLSTYLE record (colours RGB below version 3, RGBA from 3 on). With `morphEnd` it is a
// morph fill style: every colour, matrix and gradient stop comes twice, the second for the end.
bool readFillStyle(SwfReader& r, int version, FillStyle& out, std::string& error,
                   FillStyle* morphEnd = nullptr);

// A shape tween (DefineMorphShape, DefineMorphShape2): every style and every edge has a start
// and an end; the shape shown lies between them by the placed object's ratio.
struct MorphFillStyle {
    FillStyle start, end;
};
struct MorphLineStyle {
    LineStyle start, end;
};
// One record of the start or end edges; coordinates are absolute (where the pen is after it).
struct MorphRecord {
    enum Kind : uint8_t { Style, Line, Curve };
    Kind kind = Style;
    bool move = false;                      // Style: the pen moves to (x, y)
    int fill0 = -1, fill1 = -1, line = -1;  // Style: the new styles, -1 for unchanged
    int32_t x = 0, y = 0, cx = 0, cy = 0;
};
struct MorphShape {
    std::vector<MorphFillStyle> fills;
    std::vector<MorphLineStyle> lines;
    std::vector<MorphRecord> start, end;
};

// The body of DefineMorphShape (`version` 1) or DefineMorphShape2 (2) after its character id.
bool readMorphShape(SwfReader& r, int version, MorphShape& out, std::string& error);
// The shape at `ratio` (0 the start, 1 the end). Start and end edges are paired in order; a
// straight edge paired with a curve bends through its middle.
Shape morphShapeAt(const MorphShape& morph, double ratio);

}  // namespace brightline::swf
