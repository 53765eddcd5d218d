#include "pageeditor/render/page_painter.h"

#include <algorithm>
#include <map>

#include <QPainter>
#include <QPainterPath>

#include "media/picture.h"
#include "pageeditor/dbcs_text.h"

namespace brightline::pageeditor {
namespace {

// Wider outlines than this are taken as this (a corrupt file must not stall the drawing).
constexpr int kMaxOutlineWidth = 64;

}  // namespace

QColor colorFromRef(uint32_t ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

QImage pictureImage(const PictureEntry& picture) {
    const PictureInfo& info = picture.info;
    const std::vector<uint8_t>& bits = picture.data();
    const int bytesPerPixel = info.bitsPerPixel / 8;
    if (info.width <= 0 || info.height <= 0 || !media::pictureSizeAllowed(info.width, info.height))
        return QImage();
    if (info.bitsPerPixel != 32 && info.bitsPerPixel != 24 && info.bitsPerPixel != 16)
        return QImage();
    if (int64_t(info.stride) < int64_t(info.width) * bytesPerPixel ||
        int64_t(info.stride) * info.height > int64_t(bits.size()))
        return QImage();
    QImage image(info.width, info.height, QImage::Format_RGB32);
    for (int y = 0; y < info.height; ++y) {
        const uint8_t* row = bits.data() + size_t(y) * size_t(info.stride);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < info.width; ++x) {
            const uint8_t* p = row + size_t(x) * size_t(bytesPerPixel);
            if (bytesPerPixel == 2) {
                const int v = p[0] | p[1] << 8;
                const int r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                out[x] = qRgb(r * 255 / 31, g * 255 / 63, b * 255 / 31);
            } else {
                out[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

void PagePainter::paint(QPainter& painter, const TextPage& page, const TextLayout& layout,
                        const QRect& area) {
    std::map<int32_t, QImage> pictures;
    const std::string& text = page.text;
    for (const LineBox& line : layout.lines) {
        if (line.empty() || line.top > area.bottom() ||
            int64_t(line.top) + line.height <= area.top())
            continue;
        const int baseline = line.top + line.ascent;  // the line starts within the area
        int64_t x = line.x;
        for (size_t i = size_t(line.start); i < size_t(line.end);) {
            const size_t n = characterLength(text, i);
            const int w = characterAdvance(page, i);
            const StyleRun* run = page.runAt(int32_t(i));
            if (x > area.right()) break;
            const bool visible = x + w >= area.left();
            if (run && visible && text[i] != kLineBreak) {
                if (run->kind == kRunPicture) {
                    if (const PictureEntry* p = page.picture(run->resourceId)) {
                        auto it = pictures.find(p->id);
                        if (it == pictures.end())
                            it = pictures.emplace(p->id, pictureImage(*p)).first;
                        if (!it->second.isNull())
                            painter.drawImage(QPoint(int(x), baseline - it->second.height()),
                                              it->second);
                    }
                } else {
                    const FontEntry* f = page.font(run->resourceId);
                    if (!f && !page.fonts.empty()) f = &page.fonts.front();
                    const LogFont lf = f ? f->font : defaultLogFont();
                    const QFont& font = fonts_.qfont(lf);
                    const QString ch = characterText(text.substr(i, n));
                    if (run->contour) {
                        QPainterPath path;
                        path.addText(QPointF(double(x), baseline), font, ch);
                        painter.setRenderHint(QPainter::Antialiasing,
                                              lf.quality != kNonAntialiasedQuality);
                        painter.setPen(QPen(colorFromRef(run->outlineColor),
                                            std::clamp(run->outlineWidth, 0, kMaxOutlineWidth),
                                            Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                        painter.setBrush(colorFromRef(run->textColor));
                        painter.drawPath(path);
                    } else {
                        painter.setFont(font);
                        painter.setPen(colorFromRef(run->textColor));
                        painter.drawText(QPointF(double(x), baseline), ch);
                    }
                }
            }
            x += w;
            i += n;
        }
    }
}

QImage PagePainter::renderPage(const TextPage& page, const TextLayout& layout, int index) {
    const PageGeometry& g = page.geometry;
    if (!media::pictureSizeAllowed(g.pageWidth, g.pageHeight) || index < 0) return QImage();
    QImage image(g.pageWidth, g.pageHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    const bool horizontal = g.layout == PageLayout::Horizontal;
    const int64_t along = int64_t(index) * g.pageLength();
    if (along > INT32_MAX - g.pageLength()) return image;
    const QRect area = horizontal ? QRect(int(along), 0, g.pageWidth, g.pageHeight)
                                  : QRect(0, int(along), g.pageWidth, g.pageHeight);
    QPainter painter(&image);
    painter.translate(-area.left(), -area.top());
    paint(painter, page, layout, area);
    return image;
}

}  // namespace brightline::pageeditor
