#include "media/swf/swf_shape.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace brightline::swf {
namespace {

// Coordinates are kept well inside 32 bits so sums of them cannot overflow.
constexpr int64_t kCoordinateLimit = int64_t(1) << 30;

int32_t clampCoordinate(int64_t v) {
    return int32_t(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

struct Edge {
    int32_t x0, y0, cx, cy, x1, y1;
    bool curve;
    Edge reversed() const { return Edge{x1, y1, cx, cy, x0, y0, curve}; }
};

// One group while its records are read.
struct GroupBuilder {
    StyleGroup group;
    std::vector<std::vector<Edge>> fillEdges;
    // Where the stroke of each line style ended, to continue it rather than start anew.
    int lastLine = 0;
    int32_t lastX = 0, lastY = 0;

    explicit GroupBuilder(StyleGroup g) : group(std::move(g)) {
        fillEdges.resize(group.fills.size());
        group.linePaths.resize(group.lines.size());
    }

    void addEdge(const Edge& e, int fill0, int fill1, int line) {
        if (fill0 != fill1) {
            if (fill0 > 0 && size_t(fill0) <= fillEdges.size())
                fillEdges[size_t(fill0 - 1)].push_back(e);
            if (fill1 > 0 && size_t(fill1) <= fillEdges.size())
                fillEdges[size_t(fill1 - 1)].push_back(e.reversed());
        }
        if (line > 0 && size_t(line) <= group.linePaths.size()) {
            Path& path = group.linePaths[size_t(line - 1)];
            if (lastLine != line || lastX != e.x0 || lastY != e.y0 || path.empty())
                path.push_back(PathCommand{PathCommand::Move, e.x0, e.y0, 0, 0});
            path.push_back(PathCommand{e.curve ? PathCommand::Curve : PathCommand::Line, e.x1, e.y1,
                                       e.cx, e.cy});
            lastLine = line;
            lastX = e.x1;
            lastY = e.y1;
        } else {
            lastLine = 0;
        }
    }

    // Joins each fill's edges end to start into contours.
    StyleGroup finish() {
        group.fillPaths.resize(group.fills.size());
        for (size_t f = 0; f < fillEdges.size(); ++f) {
            const std::vector<Edge>& edges = fillEdges[f];
            std::unordered_map<uint64_t, std::vector<size_t>> starts;
            auto key = [](int32_t x, int32_t y) {
                return (uint64_t(uint32_t(x)) << 32) | uint32_t(y);
            };
            for (size_t i = edges.size(); i-- > 0;)
                starts[key(edges[i].x0, edges[i].y0)].push_back(i);
            std::vector<bool> used(edges.size(), false);
            Path& path = group.fillPaths[f];
            for (size_t first = 0; first < edges.size(); ++first) {
                if (used[first]) continue;
                path.push_back(
                    PathCommand{PathCommand::Move, edges[first].x0, edges[first].y0, 0, 0});
                size_t cur = first;
                for (;;) {
                    used[cur] = true;
                    const Edge& e = edges[cur];
                    path.push_back(PathCommand{e.curve ? PathCommand::Curve : PathCommand::Line,
                                               e.x1, e.y1, e.cx, e.cy});
                    auto it = starts.find(key(e.x1, e.y1));
                    if (it == starts.end()) break;
                    std::vector<size_t>& candidates = it->second;
                    while (!candidates.empty() && used[candidates.back()]) candidates.pop_back();
                    if (candidates.empty()) break;
                    cur = candidates.back();
                    candidates.pop_back();
                }
            }
        }
        fillEdges.clear();
        return std::move(group);
    }
};

bool readGradient(SwfReader& r, int version, bool focal, FillStyle& out, FillStyle* morphEnd,
                  std::string& error) {
    r.align();
    const int spread = int(r.ub(2));
    r.ub(2);  // interpolation mode: colours are always mixed in sRGB here
    const int count = int(r.ub(4));
    out.spread = spread == 1   ? SpreadMode::Reflect
                 : spread == 2 ? SpreadMode::Repeat
                               : SpreadMode::Pad;
    for (int i = 0; i < count; ++i) {
        for (FillStyle* to : {&out, morphEnd}) {
            if (!to) continue;
            GradientStop stop;
            stop.offset = r.u8() / 255.0;
            stop.color = version >= 3 ? r.rgba() : r.rgb();
            to->stops.push_back(stop);
        }
    }
    if (focal && !morphEnd) out.focalPoint = std::clamp(r.fixed8(), -1.0, 1.0);
    if (!r.ok()) {
        error = "a gradient is cut short";
        return false;
    }
    return true;
}

bool readFillArray(SwfReader& r, int version, std::vector<FillStyle>& out, std::string& error) {
    size_t count = r.u8();
    if (count == 0xFF && version >= 2) count = r.u16();
    for (size_t i = 0; i < count; ++i) {
        FillStyle f;
        if (!readFillStyle(r, version, f, error)) return false;
        out.push_back(std::move(f));
    }
    return true;
}

// A LINESTYLE (version 1..3) or LINESTYLE2 (4) record; with `morphEnd` a morph line style, whose
// widths and colours (or fill) come twice.
bool readLineStyle(SwfReader& r, int version, LineStyle& out, std::string& error,
                   LineStyle* morphEnd = nullptr) {
    out.width = r.u16();
    if (morphEnd) morphEnd->width = r.u16();
    if (version >= 4) {
        const int startCap = int(r.ub(2));
        const int join = int(r.ub(2));
        out.hasFill = r.ub(1) != 0;
        r.ub(1);  // no horizontal scaling
        r.ub(1);  // no vertical scaling
        r.ub(1);  // pixel hinting
        r.ub(5);
        r.ub(1);  // no close
        r.ub(2);  // end cap: one cap style is used for both ends
        out.cap = startCap == 1 ? LineCap::None : startCap == 2 ? LineCap::Square : LineCap::Round;
        out.join = join == 1 ? LineJoin::Bevel : join == 2 ? LineJoin::Miter : LineJoin::Round;
        if (join == 2) out.miterLimit = std::max(1.0, r.u16() / 256.0);
    }
    if (out.hasFill) {
        if (!readFillStyle(r, version, out.fill, error, morphEnd ? &morphEnd->fill : nullptr))
            return false;
    } else {
        out.color = version >= 3 ? r.rgba() : r.rgb();
        if (morphEnd) morphEnd->color = r.rgba();
    }
    if (morphEnd) {
        morphEnd->hasFill = out.hasFill;
        morphEnd->cap = out.cap;
        morphEnd->join = out.join;
        morphEnd->miterLimit = out.miterLimit;
    }
    if (!r.ok()) {
        error = "a line style is cut short";
        return false;
    }
    return true;
}

bool readLineArray(SwfReader& r, int version, std::vector<LineStyle>& out, std::string& error) {
    size_t count = r.u8();
    if (count == 0xFF && version >= 2) count = r.u16();
    for (size_t i = 0; i < count; ++i) {
        LineStyle l;
        if (!readLineStyle(r, version, l, error)) return false;
        out.push_back(std::move(l));
    }
    return true;
}

// The shape records after the style arrays and bit counts of the first group.
bool readRecords(SwfReader& r, int version, bool glyph, StyleGroup first, Shape& out,
                 std::string& error) {
    int fillBits = int(r.ub(4));
    int lineBits = int(r.ub(4));
    GroupBuilder builder(std::move(first));
    int64_t x = 0, y = 0;
    int fill0 = 0, fill1 = 0, line = 0;
    for (;;) {
        if (!r.ok()) {
            error = "the shape's edges are cut short";
            return false;
        }
        if (r.ub(1) == 0) {
            const uint32_t flags = r.ub(5);
            if (flags == 0) break;
            if (flags & 0x01) {
                const int bits = int(r.ub(5));
                x = r.sb(bits);
                y = r.sb(bits);
                builder.lastLine = 0;
            }
            const bool set0 = flags & 0x02, set1 = flags & 0x04, setLine = flags & 0x08;
            if (set0) fill0 = int(r.ub(fillBits));
            if (set1) fill1 = int(r.ub(fillBits));
            if (setLine) line = int(r.ub(lineBits));
            if (setLine) builder.lastLine = 0;
            if (flags & 0x10) {
                if (glyph) {
                    error = "a glyph replaces its styles";
                    return false;
                }
                out.groups.push_back(builder.finish());
                StyleGroup next;
                if (!readFillArray(r, version, next.fills, error) ||
                    !readLineArray(r, version, next.lines, error))
                    return false;
                fillBits = int(r.ub(4));
                lineBits = int(r.ub(4));
                builder = GroupBuilder(std::move(next));
                if (!set0) fill0 = 0;
                if (!set1) fill1 = 0;
                if (!setLine) line = 0;
            }
            continue;
        }
        const bool straight = r.ub(1) != 0;
        const int bits = int(r.ub(4)) + 2;
        Edge e{};
        e.x0 = clampCoordinate(x);
        e.y0 = clampCoordinate(y);
        if (straight) {
            int64_t dx = 0, dy = 0;
            if (r.ub(1)) {
                dx = r.sb(bits);
                dy = r.sb(bits);
            } else if (r.ub(1)) {
                dy = r.sb(bits);
            } else {
                dx = r.sb(bits);
            }
            x = clampCoordinate(x + dx);
            y = clampCoordinate(y + dy);
            e.curve = false;
        } else {
            const int64_t cx = clampCoordinate(x + r.sb(bits));
            const int64_t cy = clampCoordinate(y + r.sb(bits));
            x = clampCoordinate(cx + r.sb(bits));
            y = clampCoordinate(cy + r.sb(bits));
            e.cx = int32_t(cx);
            e.cy = int32_t(cy);
            e.curve = true;
        }
        e.x1 = int32_t(x);
        e.y1 = int32_t(y);
        builder.addEdge(e, fill0, fill1, glyph ? 0 : line);
    }
    out.groups.push_back(builder.finish());
    r.align();
    return true;
}

}  // namespace

bool readFillStyle(SwfReader& r, int version, FillStyle& out, std::string& error,
                   FillStyle* morphEnd) {
    const int type = r.u8();
    switch (type) {
        case 0x00:
            out.kind = FillKind::Solid;
            out.color = version >= 3 ? r.rgba() : r.rgb();
            if (morphEnd) morphEnd->color = r.rgba();
            break;
        case 0x10:
        case 0x12:
        case 0x13:
            out.kind = type == 0x10   ? FillKind::LinearGradient
                       : type == 0x12 ? FillKind::RadialGradient
                                      : FillKind::FocalGradient;
            // A tweened gradient has no focal point.
            if (morphEnd && type == 0x13) out.kind = FillKind::RadialGradient;
            out.matrix = r.matrix();
            if (morphEnd) morphEnd->matrix = r.matrix();
            if (!readGradient(r, version, type == 0x13, out, morphEnd, error)) return false;
            break;
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43:
            out.kind = FillKind::Bitmap;
            out.bitmapId = r.u16();
            out.matrix = r.matrix();
            if (morphEnd) morphEnd->matrix = r.matrix();
            out.repeat = type == 0x40 || type == 0x42;
            out.smooth = type == 0x40 || type == 0x41;
            break;
        default:
            error = "unknown fill style type " + std::to_string(type);
            return false;
    }
    if (morphEnd) {
        morphEnd->kind = out.kind;
        morphEnd->spread = out.spread;
        morphEnd->bitmapId = out.bitmapId;
        morphEnd->repeat = out.repeat;
        morphEnd->smooth = out.smooth;
    }
    if (!r.ok()) {
        error = "a fill style is cut short";
        return false;
    }
    return true;
}

bool readShapeWithStyle(SwfReader& r, int version, Shape& out, std::string& error) {
    StyleGroup first;
    if (!readFillArray(r, version, first.fills, error) ||
        !readLineArray(r, version, first.lines, error))
        return false;
    return readRecords(r, version, false, std::move(first), out, error);
}

bool readGlyphShape(SwfReader& r, Shape& out, std::string& error) {
    StyleGroup first;
    first.fills.resize(1);
    return readRecords(r, 1, true, std::move(first), out, error);
}

namespace {

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

Rgba lerp(Rgba a, Rgba b, double t) {
    auto c = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(lerp(x, y, t))); };
    return Rgba{c(a.r, b.r), c(a.g, b.g), c(a.b, b.b), c(a.a, b.a)};
}

FillStyle lerp(const FillStyle& a, const FillStyle& b, double t) {
    FillStyle f = a;
    f.color = lerp(a.color, b.color, t);
    f.matrix = Matrix{lerp(a.matrix.a, b.matrix.a, t),   lerp(a.matrix.b, b.matrix.b, t),
                      lerp(a.matrix.c, b.matrix.c, t),   lerp(a.matrix.d, b.matrix.d, t),
                      lerp(a.matrix.tx, b.matrix.tx, t), lerp(a.matrix.ty, b.matrix.ty, t)};
    for (size_t i = 0; i < f.stops.size() && i < b.stops.size(); ++i) {
        f.stops[i].offset = lerp(a.stops[i].offset, b.stops[i].offset, t);
        f.stops[i].color = lerp(a.stops[i].color, b.stops[i].color, t);
    }
    return f;
}

// SHAPE records without new styles, as absolute records.
bool readMorphRecords(SwfReader& r, std::vector<MorphRecord>& out, std::string& error) {
    const int fillBits = int(r.ub(4));
    const int lineBits = int(r.ub(4));
    int64_t x = 0, y = 0;
    for (;;) {
        if (!r.ok()) {
            error = "the morph shape's edges are cut short";
            return false;
        }
        MorphRecord rec;
        if (r.ub(1) == 0) {
            const uint32_t flags = r.ub(5);
            if (flags == 0) break;
            if (flags & 0x10) {
                error = "a morph shape replaces its styles";
                return false;
            }
            if (flags & 0x01) {
                const int bits = int(r.ub(5));
                x = r.sb(bits);
                y = r.sb(bits);
                rec.move = true;
            }
            if (flags & 0x02) rec.fill0 = int(r.ub(fillBits));
            if (flags & 0x04) rec.fill1 = int(r.ub(fillBits));
            if (flags & 0x08) rec.line = int(r.ub(lineBits));
        } else {
            const bool straight = r.ub(1) != 0;
            const int bits = int(r.ub(4)) + 2;
            if (straight) {
                rec.kind = MorphRecord::Line;
                if (r.ub(1)) {
                    x = clampCoordinate(x + r.sb(bits));
                    y = clampCoordinate(y + r.sb(bits));
                } else if (r.ub(1)) {
                    y = clampCoordinate(y + r.sb(bits));
                } else {
                    x = clampCoordinate(x + r.sb(bits));
                }
            } else {
                rec.kind = MorphRecord::Curve;
                const int64_t cx = clampCoordinate(x + r.sb(bits));
                const int64_t cy = clampCoordinate(y + r.sb(bits));
                x = clampCoordinate(cx + r.sb(bits));
                y = clampCoordinate(cy + r.sb(bits));
                rec.cx = int32_t(cx);
                rec.cy = int32_t(cy);
            }
        }
        rec.x = clampCoordinate(x);
        rec.y = clampCoordinate(y);
        out.push_back(rec);
    }
    r.align();
    return true;
}

}  // namespace

bool readMorphShape(SwfReader& r, int version, MorphShape& out, std::string& error) {
    r.rect();  // start bounds
    r.rect();  // end bounds
    if (version >= 2) {
        r.rect();
        r.rect();
        r.u8();
    }
    const uint32_t offset = r.u32();
    const size_t base = r.position();
    // Morph colours are always RGBA; DefineMorphShape2 has the LINESTYLE2 layout.
    size_t count = r.u8();
    if (count == 0xFF) count = r.u16();
    for (size_t i = 0; i < count && r.ok(); ++i) {
        MorphFillStyle f;
        if (!readFillStyle(r, 3, f.start, error, &f.end)) return false;
        out.fills.push_back(std::move(f));
    }
    count = r.u8();
    if (count == 0xFF) count = r.u16();
    for (size_t i = 0; i < count && r.ok(); ++i) {
        MorphLineStyle l;
        if (!readLineStyle(r, version >= 2 ? 4 : 3, l.start, error, &l.end)) return false;
        out.lines.push_back(std::move(l));
    }
    if (!r.ok()) {
        error = "the morph styles are cut short";
        return false;
    }
    if (!readMorphRecords(r, out.start, error)) return false;
    if (offset > r.position() + r.remaining() - base) {
        error = "the end edges start past the end of the tag";
        return false;
    }
    SwfReader end(r.data() + base + offset, r.position() + r.remaining() - base - offset);
    return readMorphRecords(end, out.end, error);
}

Shape morphShapeAt(const MorphShape& morph, double t) {
    StyleGroup styles;
    for (const MorphFillStyle& f : morph.fills) styles.fills.push_back(lerp(f.start, f.end, t));
    for (const MorphLineStyle& l : morph.lines) {
        LineStyle line = l.start;
        line.width = uint16_t(std::lround(lerp(l.start.width, l.end.width, t)));
        line.color = lerp(l.start.color, l.end.color, t);
        if (line.hasFill) line.fill = lerp(l.start.fill, l.end.fill, t);
        styles.lines.push_back(line);
    }
    GroupBuilder builder(std::move(styles));
    int fill0 = 0, fill1 = 0, line = 0;
    double sx = 0, sy = 0, ex = 0, ey = 0;  // pen positions in the start and end shapes
    size_t j = 0;
    auto pen = [&](double a, double b) { return int32_t(std::lround(lerp(a, b, t))); };
    for (const MorphRecord& s : morph.start) {
        if (s.kind == MorphRecord::Style) {
            if (s.fill0 >= 0) fill0 = s.fill0;
            if (s.fill1 >= 0) fill1 = s.fill1;
            if (s.line >= 0) line = s.line;
            builder.lastLine = 0;
            if (!s.move) continue;
            while (j < morph.end.size() && !morph.end[j].move) ++j;
            if (j >= morph.end.size()) break;
            sx = s.x;
            sy = s.y;
            ex = morph.end[j].x;
            ey = morph.end[j].y;
            ++j;
            continue;
        }
        while (j < morph.end.size() && morph.end[j].kind == MorphRecord::Style) ++j;
        if (j >= morph.end.size()) break;
        const MorphRecord& e = morph.end[j++];
        // A straight edge tweened with a curve is a curve through its own middle.
        const double scx = s.kind == MorphRecord::Curve ? s.cx : (sx + s.x) / 2;
        const double scy = s.kind == MorphRecord::Curve ? s.cy : (sy + s.y) / 2;
        const double ecx = e.kind == MorphRecord::Curve ? e.cx : (ex + e.x) / 2;
        const double ecy = e.kind == MorphRecord::Curve ? e.cy : (ey + e.y) / 2;
        Edge edge{pen(sx, ex),
                  pen(sy, ey),
                  pen(scx, ecx),
                  pen(scy, ecy),
                  pen(s.x, e.x),
                  pen(s.y, e.y),
                  s.kind == MorphRecord::Curve || e.kind == MorphRecord::Curve};
        builder.addEdge(edge, fill0, fill1, line);
        sx = s.x;
        sy = s.y;
        ex = e.x;
        ey = e.y;
    }
    Shape shape;
    shape.groups.push_back(builder.finish());
    return shape;
}

}  // namespace brightline::swf
