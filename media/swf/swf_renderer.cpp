#include "media/swf/swf_renderer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace brightline::swf {
namespace {

cairo_matrix_t toCairo(const Matrix& m) {
    cairo_matrix_t c;
    cairo_matrix_init(&c, m.a, m.b, m.c, m.d, m.tx, m.ty);
    return c;
}

Matrix inverse(const Matrix& m) {
    const double det = m.a * m.d - m.b * m.c;
    Matrix r;
    r.a = m.d / det;
    r.b = -m.b / det;
    r.c = -m.c / det;
    r.d = m.a / det;
    r.tx = -(r.a * m.tx + r.c * m.ty);
    r.ty = -(r.b * m.tx + r.d * m.ty);
    return r;
}

struct PatternDeleter {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using Pattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;
struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// A copy of premultiplied pixels with a colour transform applied.
Image transformImage(const Image& in, const ColorTransform& t) {
    Image out = in;
    for (uint32_t& p : out.pixels) {
        const uint32_t a = p >> 24;
        Rgba c{0, 0, 0, uint8_t(a)};
        if (a > 0) {
            c.r = uint8_t(std::min<uint32_t>(255, ((p >> 16) & 0xFF) * 255 / a));
            c.g = uint8_t(std::min<uint32_t>(255, ((p >> 8) & 0xFF) * 255 / a));
            c.b = uint8_t(std::min<uint32_t>(255, (p & 0xFF) * 255 / a));
        }
        c = t.apply(c);
        p = (uint32_t(c.a) << 24) | (uint32_t(c.r * c.a / 255) << 16) |
            (uint32_t(c.g * c.a / 255) << 8) | uint32_t(c.b * c.a / 255);
    }
    return out;
}

class Renderer {
  public:
    Renderer(Player& player, cairo_t* cr, const Matrix& stage)
        : player_(player), cr_(cr), stage_(stage) {}

    void drawTimeline(const Timeline& t, const Matrix& m, const ColorTransform& cx) {
        drawRange(t.objects.begin(), t.objects.end(), m, cx);
    }

  private:
    using Iterator = std::map<uint16_t, DisplayObject>::const_iterator;

    void drawRange(Iterator it, Iterator end, const Matrix& m, const ColorTransform& cx) {
        while (it != end) {
            const DisplayObject& o = it->second;
            ++it;
            if (o.clipDepth == 0) {
                if (o.visible) drawObject(o, m, cx);
                continue;
            }
            // A mask: the objects above it, up to its clip depth, show only where it is drawn.
            Iterator last = it;
            while (last != end && last->first <= o.clipDepth) ++last;
            if (maskMode_) {  // inside a mask only the outlines count
                drawRange(it, last, m, cx);
                it = last;
                continue;
            }
            cairo_push_group(cr_);
            maskMode_ = true;
            drawObject(o, m, cx);
            maskMode_ = false;
            Pattern mask(cairo_pop_group(cr_));
            cairo_push_group(cr_);
            drawRange(it, last, m, cx);
            cairo_pop_group_to_source(cr_);
            cairo_mask(cr_, mask.get());
            it = last;
        }
    }

    void drawObject(const DisplayObject& o, const Matrix& parent, const ColorTransform& parentCx) {
        if (o.definition < 0) return;
        const Matrix m = parent * o.matrix;
        if (!m.invertible()) return;
        const ColorTransform cx = parentCx * o.colorTransform;
        const Character& ch = player_.movie().definitions[size_t(o.definition)];
        if (const auto* shape = std::get_if<Shape>(&ch.body)) {
            drawShape(*shape, m, cx, nullptr);
        } else if (const auto* morph = std::get_if<MorphShape>(&ch.body)) {
            drawShape(morphShapeAt(*morph, o.ratio / 65535.0), m, cx, nullptr);
        } else if (const auto* text = std::get_if<Text>(&ch.body)) {
            drawText(*text, m, cx);
        } else if (std::holds_alternative<Sprite>(ch.body)) {
            if (o.sprite) drawTimeline(*o.sprite, m, cx);
        } else if (const auto* video = std::get_if<VideoStreamDefinition>(&ch.body)) {
            const Image* image = player_.videoImage(o.characterId);
            if (image) {
                const double w = video->width > 0 ? video->width : image->width;
                const double h = video->height > 0 ? video->height : image->height;
                drawImage(*image,
                          m * Matrix::scaling(kTwipsPerPixel * w / image->width,
                                              kTwipsPerPixel * h / image->height),
                          cx, true);
            }
        } else if (std::holds_alternative<BitmapDefinition>(ch.body)) {
            const Image* image = player_.bitmap(o.characterId);
            if (image)
                drawImage(*image, m * Matrix::scaling(kTwipsPerPixel, kTwipsPerPixel), cx, true);
        }
    }

    void setMatrix(const Matrix& m) {
        const cairo_matrix_t c = toCairo(stage_ * m);
        cairo_set_matrix(cr_, &c);
    }

    static void addPath(cairo_t* cr, const Path& path) {
        double x = 0, y = 0;
        for (const PathCommand& c : path) {
            switch (c.op) {
                case PathCommand::Move:
                    cairo_move_to(cr, c.x, c.y);
                    break;
                case PathCommand::Line:
                    cairo_line_to(cr, c.x, c.y);
                    break;
                case PathCommand::Curve:
                    // The quadratic through (cx, cy) as the cubic that traces it.
                    cairo_curve_to(cr, x + 2.0 / 3 * (c.cx - x), y + 2.0 / 3 * (c.cy - y),
                                   c.x + 2.0 / 3 * (c.cx - c.x), c.y + 2.0 / 3 * (c.cy - c.y), c.x,
                                   c.y);
                    break;
            }
            x = c.x;
            y = c.y;
        }
    }

    void setColor(Rgba c) {
        cairo_set_source_rgba(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
    }

    // Makes `fill` the source, in the shape space now set; false when it draws nothing.
    bool setFill(const FillStyle& fill, const ColorTransform& cx) {
        if (maskMode_) {
            cairo_set_source_rgba(cr_, 1, 1, 1, 1);
            return true;
        }
        if (fill.kind == FillKind::Solid) {
            setColor(cx.apply(fill.color));
            return true;
        }
        // Gradients are built on the unit square (-1..1) rather than on the format's 32768-twip
        // square: pixman's fixed-point gradient space overflows past 32767.
        const Matrix patternSpace = fill.kind == FillKind::Bitmap
                                        ? fill.matrix
                                        : fill.matrix * Matrix::scaling(16384, 16384);
        if (!patternSpace.invertible()) return false;
        const cairo_matrix_t toPattern = toCairo(inverse(patternSpace));
        Pattern pattern;
        if (fill.kind == FillKind::Bitmap) {
            const Image* image = player_.bitmap(fill.bitmapId);
            if (!image) return false;
            if (!cx.identity()) {
                scratch_ = transformImage(*image, cx);
                image = &scratch_;
            }
            Surface surface(makeSurface(*image));
            pattern.reset(cairo_pattern_create_for_surface(surface.get()));
            cairo_pattern_set_extend(pattern.get(),
                                     fill.repeat ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
            cairo_pattern_set_filter(pattern.get(),
                                     fill.smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
            cairo_pattern_set_matrix(pattern.get(), &toPattern);
            // The source borrows the pixels: callers drop it (dropSource) once they have drawn.
            cairo_set_source(cr_, pattern.get());
            return true;
        }
        if (fill.stops.empty()) return false;
        if (fill.kind == FillKind::LinearGradient)
            pattern.reset(cairo_pattern_create_linear(-1, 0, 1, 0));
        else
            pattern.reset(cairo_pattern_create_radial(
                fill.kind == FillKind::FocalGradient ? fill.focalPoint : 0, 0, 0, 0, 0, 1));
        for (const GradientStop& s : fill.stops) {
            const Rgba c = cx.apply(s.color);
            cairo_pattern_add_color_stop_rgba(pattern.get(), s.offset, c.r / 255.0, c.g / 255.0,
                                              c.b / 255.0, c.a / 255.0);
        }
        cairo_pattern_set_extend(pattern.get(),
                                 fill.spread == SpreadMode::Reflect  ? CAIRO_EXTEND_REFLECT
                                 : fill.spread == SpreadMode::Repeat ? CAIRO_EXTEND_REPEAT
                                                                     : CAIRO_EXTEND_PAD);
        cairo_pattern_set_matrix(pattern.get(), &toPattern);
        cairo_set_source(cr_, pattern.get());
        return true;
    }

    // A Cairo surface over the image's pixels (borrowed: draw with it before the image goes).
    cairo_surface_t* makeSurface(const Image& image) {
        return cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.pixels.data())),
            CAIRO_FORMAT_ARGB32, image.width, image.height, image.width * 4);
    }

    void drawShape(const Shape& shape, const Matrix& m, const ColorTransform& cx,
                   const Rgba* glyphColor) {
        setMatrix(m);
        for (const StyleGroup& g : shape.groups) {
            for (size_t i = 0; i < g.fills.size() && i < g.fillPaths.size(); ++i) {
                if (g.fillPaths[i].empty()) continue;
                const bool drawn = glyphColor && !maskMode_
                                       ? (setColor(cx.apply(*glyphColor)), true)
                                       : setFill(g.fills[i], cx);
                if (!drawn) continue;
                cairo_new_path(cr_);
                addPath(cr_, g.fillPaths[i]);
                cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
                cairo_fill(cr_);
                dropSource();
            }
            if (maskMode_) continue;
            for (size_t i = 0; i < g.lines.size() && i < g.linePaths.size(); ++i) {
                if (g.linePaths[i].empty()) continue;
                strokeLine(g.lines[i], g.linePaths[i], m, cx);
            }
        }
    }

    void strokeLine(const LineStyle& line, const Path& path, const Matrix& m,
                    const ColorTransform& cx) {
        if (line.hasFill ? !setFill(line.fill, cx) : (setColor(cx.apply(line.color)), false))
            return;
        // Lines thinner than one pixel on the picture are drawn one pixel wide.
        const Matrix device = stage_ * m;
        const double pixelsPerUnit =
            std::sqrt(std::fabs(device.a * device.d - device.b * device.c));
        double width = line.width;
        if (width * pixelsPerUnit < 1) width = 1 / pixelsPerUnit;
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, line.cap == LineCap::None     ? CAIRO_LINE_CAP_BUTT
                                : line.cap == LineCap::Square ? CAIRO_LINE_CAP_SQUARE
                                                              : CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr_, line.join == LineJoin::Bevel   ? CAIRO_LINE_JOIN_BEVEL
                                 : line.join == LineJoin::Miter ? CAIRO_LINE_JOIN_MITER
                                                                : CAIRO_LINE_JOIN_ROUND);
        cairo_set_miter_limit(cr_, line.miterLimit);
        cairo_new_path(cr_);
        addPath(cr_, path);
        cairo_stroke(cr_);
        dropSource();
    }

    void drawText(const Text& text, const Matrix& m, const ColorTransform& cx) {
        const Matrix base = m * text.matrix;
        for (const TextRun& run : text.runs) {
            const Character* ch = player_.character(run.fontId);
            const Font* font = ch ? std::get_if<Font>(&ch->body) : nullptr;
            if (!font || run.height <= 0) continue;
            const double scale = run.height / font->emSize;
            for (const TextGlyph& g : run.glyphs) {
                if (g.index < 0 || size_t(g.index) >= font->glyphs.size()) continue;
                const Matrix gm =
                    base * Matrix::translation(g.x, run.y) * Matrix::scaling(scale, scale);
                if (gm.invertible()) drawShape(font->glyphs[size_t(g.index)], gm, cx, &run.color);
            }
        }
    }

    // An image whose pixels are one unit each in the space of `m`.
    void drawImage(const Image& image, const Matrix& m, const ColorTransform& cx, bool smooth) {
        if (image.empty() || !m.invertible()) return;
        setMatrix(m);
        cairo_new_path(cr_);
        cairo_rectangle(cr_, 0, 0, image.width, image.height);
        if (maskMode_) {
            cairo_set_source_rgba(cr_, 1, 1, 1, 1);
            cairo_fill(cr_);
            return;
        }
        Image transformed;
        const Image* shown = &image;
        if (!cx.identity()) {
            transformed = transformImage(image, cx);
            shown = &transformed;
        }
        Surface surface(makeSurface(*shown));
        Pattern pattern(cairo_pattern_create_for_surface(surface.get()));
        cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern.get(), smooth ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
        cairo_set_source(cr_, pattern.get());
        cairo_fill(cr_);
        dropSource();
    }

    void dropSource() { cairo_set_source_rgb(cr_, 0, 0, 0); }

    Player& player_;
    cairo_t* cr_;
    Matrix stage_;
    bool maskMode_ = false;
    Image scratch_;  // a colour-transformed bitmap while a fill draws with it
};

}  // namespace

bool renderFrame(Player& player, int width, int height, const RenderOptions& options,
                 media::Picture& out, std::string* error) {
    if (!media::pictureSizeAllowed(width, height)) {
        if (error)
            *error = "the picture size " + std::to_string(width) + " x " + std::to_string(height) +
                     " is out of range";
        return false;
    }
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        if (error) *error = "could not allocate the picture";
        return false;
    }
    cairo_t* cr = cairo_create(surface.get());
    const Rgba bg = options.movieBackground ? player.backgroundColor() : options.background;
    cairo_set_source_rgb(cr, bg.r / 255.0, bg.g / 255.0, bg.b / 255.0);
    cairo_paint(cr);

    const Movie& movie = player.movie();
    const Rect& stage = movie.frameSize;
    const double sw = stage.width() > 0 ? stage.width() : width * kTwipsPerPixel;
    const double sh = stage.height() > 0 ? stage.height() : height * kTwipsPerPixel;
    const Matrix toPicture =
        Matrix::scaling(width / sw, height / sh) * Matrix::translation(-stage.xMin, -stage.yMin);
    if (player.currentFrame() >= 0)
        Renderer(player, cr, toPicture).drawTimeline(player.root(), Matrix(), ColorTransform());
    const cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = std::string("drawing failed: ") + cairo_status_to_string(status);
        return false;
    }
    cairo_surface_flush(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    out = media::Picture(width, height);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < width; ++x) out.at(x, y) = row[x] & 0xFFFFFFu;
    }
    return true;
}

}  // namespace brightline::swf
