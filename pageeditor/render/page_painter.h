#pragma once
// Draws a laid-out text page: each character in its run's font and colour at the position the
// layout and the width bytes give; contour runs as the characters' outline path, filled with
// the text colour and stroked with a solid pen of the outline width (round joins) in the
// outline colour; pictures standing on the line's baseline. Behind the text the page is black
// (an unlit sign).
//
// Used for the page pictures and by the editor window; the same document gives the same
// pixels. Use from the thread that owns the QGuiApplication.
#include <QImage>
#include <QRect>

#include "pageeditor/render/qt_font_catalog.h"
#include "pageeditor/text_layout.h"
#include "pageeditor/text_page.h"

class QPainter;

namespace brightline::pageeditor {

class PagePainter {
  public:
    explicit PagePainter(QtFontCatalog& fonts) : fonts_(fonts) {}

    // Draws what of the page falls in `area` (canvas pixels). The painter's coordinates are
    // canvas pixels (an editor scales or translates it for zoom and scrolling).
    void paint(QPainter& painter, const TextPage& page, const TextLayout& layout,
               const QRect& area);
    // Page `index` (from 0): the canvas band or strip of exactly the page size, as an RGB32
    // image. A null image when the page size is not a picture size the clips accept.
    QImage renderPage(const TextPage& page, const TextLayout& layout, int index);

  private:
    QtFontCatalog& fonts_;
};

// A picture table entry as an image: 32-, 24- and 16-bit (5-6-5) bits, rows top first. A null
// image for other depths or for bits that do not hold the described rows.
QImage pictureImage(const PictureEntry& picture);

// A COLORREF (0x00BBGGRR) as a colour.
QColor colorFromRef(uint32_t ref);

}  // namespace brightline::pageeditor
