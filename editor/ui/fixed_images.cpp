#include "editor/ui/fixed_images.h"

#include <QPainter>
#include <QPainterPath>

namespace brightline::ui {

namespace {

QPixmap canvas(int width, int height, const QColor& fill) {
    QPixmap pixmap(width, height);
    pixmap.fill(fill);
    return pixmap;
}

QFont boldFont(int pixels) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// Picture `index` of an effect list's strip of 96 x 72 pictures, or null when it has none there.
QPixmap fromStrip(bool entry, int index) {
    static QPixmap in(":/effects/move_in.png"), out(":/effects/move_out.png");
    const QPixmap& strip = entry ? in : out;
    if (index < 0 || (index + 1) * kThumbWidth > strip.width()) return QPixmap();
    return strip.copy(index * kThumbWidth, 0, kThumbWidth, kThumbHeight);
}

}  // namespace

QPixmap placeholderImage() {
    static const QPixmap image = [] {
        QPixmap p = canvas(kThumbWidth, kThumbHeight, QColor(90, 90, 90));
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(200, 200, 200), 2));
        painter.setBrush(QColor(60, 60, 60));
        painter.drawRect(QRectF(22, 14, 52, 40));
        // A picture frame with a torn corner and a question mark.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(90, 90, 90));
        painter.drawPolygon(QPolygonF({QPointF(58, 13), QPointF(75, 13), QPointF(75, 30)}));
        painter.setPen(QColor(230, 200, 60));
        painter.setFont(boldFont(26));
        painter.drawText(QRect(22, 14, 52, 40), Qt::AlignCenter, "?");
        return p;
    }();
    return image;
}

QPixmap clockImage() {
    static const QPixmap image = [] {
        QPixmap p = canvas(kThumbWidth, kThumbHeight, Qt::black);
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF c(48, 36);
        painter.setPen(QPen(QColor(250, 200, 40), 3));
        painter.setBrush(QColor(30, 30, 60));
        painter.drawEllipse(c, 28, 28);
        painter.setPen(QPen(QColor(250, 200, 40), 2));
        for (int h = 0; h < 12; ++h) {
            painter.save();
            painter.translate(c);
            painter.rotate(h * 30);
            painter.drawLine(QPointF(0, -24), QPointF(0, -20));
            painter.restore();
        }
        painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c, c + QPointF(0, -18));
        painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c, c + QPointF(12, 6));
        return p;
    }();
    return image;
}

QPixmap flashImage() {
    static const QPixmap image = [] {
        QPixmap p = canvas(kThumbWidth, kThumbHeight, QColor(40, 0, 0));
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(200, 20, 20));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(24, 12, 48, 48), 8, 8);
        painter.setPen(Qt::white);
        painter.setFont(boldFont(38));
        painter.drawText(QRect(24, 10, 48, 48), Qt::AlignCenter, "f");
        return p;
    }();
    return image;
}

QPixmap loadingImage() {
    static const QPixmap image = [] {
        QPixmap p = canvas(kThumbWidth, kThumbHeight, QColor(215, 215, 215));
        QPainter painter(&p);
        painter.setPen(QColor(150, 150, 150));
        painter.setBrush(QColor(150, 150, 150));
        for (int i = 0; i < 3; ++i) painter.drawEllipse(QPointF(36 + 12 * i, 36), 3, 3);
        return p;
    }();
    return image;
}

QPixmap noEffectImage() {
    static const QPixmap image = [] {
        QPixmap p = canvas(kThumbWidth, kThumbHeight, QColor(230, 230, 230));
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(170, 30, 30), 5));
        painter.drawEllipse(QPointF(48, 36), 22, 22);
        painter.drawLine(QPointF(33, 51), QPointF(63, 21));
        return p;
    }();
    return image;
}

QPixmap noExitImage() {
    static const QPixmap image = noEffectImage().scaled(
        kNoExitWidth, kNoExitHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QPixmap moveInImage(int index) {
    QPixmap p = fromStrip(true, index);
    return p.isNull() ? noEffectImage() : p;
}

QPixmap moveOutImage(int index) {
    QPixmap p = fromStrip(false, index);
    return p.isNull() ? noExitImage() : p;
}

}  // namespace brightline::ui
