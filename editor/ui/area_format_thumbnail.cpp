#include "editor/ui/area_format_thumbnail.h"

#include <QPainter>

#include "editor/area_format.h"

namespace brightline::ui {

QPixmap areaFormatThumbnail(int format) {
    QPixmap pixmap(kThumbWidth, kThumbHeight);
    pixmap.fill(Qt::black);
    RegionLines lines{};
    applyAreaFormat(format, kThumbWidth, kThumbHeight, lines);
    const AreaLayout layout = computeAreas(format, kThumbWidth, kThumbHeight, lines);
    QPainter p(&pixmap);
    static const QColor fills[] = {QColor(40, 60, 110), QColor(110, 50, 40), QColor(40, 100, 60)};
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    for (int i = 0; i < layout.areaCount; ++i) {
        const Rect& r = layout.areas[static_cast<size_t>(i)];
        QRect area(r.left, r.top, r.right - r.left, r.bottom - r.top);
        p.fillRect(area.adjusted(1, 1, -1, -1), fills[i % 3]);
        p.setPen(Qt::white);
        p.drawText(area.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(i));
    }
    p.setPen(QPen(Qt::green, 2));
    for (int i = 0; i < lineCountOf(format); ++i) {
        const Rect& b = lines[static_cast<size_t>(i)].band;
        if (lines[static_cast<size_t>(i)].horizontal)
            p.drawLine(b.left + 3, b.top + 3, b.right - 3, b.bottom - 3);
        else
            p.drawLine(b.left + 3, b.top + 3, b.left + 3, b.bottom - 3);
    }
    p.setPen(QPen(Qt::red, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(1, 1, kThumbWidth - 2, kThumbHeight - 2));
    return pixmap;
}

}  // namespace brightline::ui
