#include "pageeditor/ui/page_view.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "pageeditor/dbcs_text.h"
#include "pageeditor/render/page_painter.h"
#include "pageeditor/ui/page_editor.h"

namespace brightline::ui {

using namespace pageeditor;

namespace {

const QColor kOutsideCanvas(80, 80, 80);
const QColor kPageEdge(0, 170, 255);
constexpr int kBlinkMs = 500;
// Room kept beside the caret when scrolling to it (canvas pixels).
constexpr int kCaretMargin = 8;
// How wide a selected line break is drawn (canvas pixels).
constexpr int kSelectedBreakWidth = 4;

}  // namespace

PageView::PageView(PageEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), editor_(editor) {
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    blink_.setInterval(kBlinkMs);
    connect(&blink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        viewport()->update(caretRect().adjusted(-1, -1, 1, 1));
    });
    connect(&editor_, &PageEditor::changed, this, &PageView::documentChanged);
    connect(&editor_, &PageEditor::caretMoved, this, &PageView::caretMoved);
    updateScrollBars();
}

int PageView::zoom() const {
    return editor_.document().zoom() ? 2 : 1;
}

void PageView::setMaximumCanvasView(const QSize& maximum) {
    maximum_ = maximum;
    updateGeometry();
}

QSize PageView::sizeHint() const {
    const CanvasSize c = editor_.document().layout().canvas;
    const int z = zoom();
    const bool wide = int64_t(c.width) * z > maximum_.width();
    const bool tall = int64_t(c.height) * z > maximum_.height();
    QSize size(int(std::min<int64_t>(int64_t(c.width) * z, maximum_.width())),
               int(std::min<int64_t>(int64_t(c.height) * z, maximum_.height())));
    if (wide) size.rheight() += horizontalScrollBar()->sizeHint().height();
    if (tall) size.rwidth() += verticalScrollBar()->sizeHint().width();
    return size + QSize(2 * frameWidth(), 2 * frameWidth());
}

void PageView::scrollToStart() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

QPoint PageView::canvasPoint(const QPoint& p) const {
    const int z = zoom();
    const int x = p.x() + horizontalScrollBar()->value();
    const int y = p.y() + verticalScrollBar()->value();
    return QPoint(x >= 0 ? x / z : (x - z + 1) / z, y >= 0 ? y / z : (y - z + 1) / z);
}

QPoint PageView::viewportPoint(const QPoint& p) const {
    const int z = zoom();
    return QPoint(p.x() * z - horizontalScrollBar()->value(),
                  p.y() * z - verticalScrollBar()->value());
}

QRect PageView::caretRect() const {
    const TextDocument& doc = editor_.document();
    const CaretPoint c =
        doc.layout().caretAt(doc.page(), doc.caret(), doc.currentFont().metrics.height());
    const int z = zoom();
    return QRect(viewportPoint(QPoint(c.x, c.top)), QSize(z, std::max(1, c.height) * z));
}

void PageView::updateScrollBars() {
    const CanvasSize c = editor_.document().layout().canvas;
    const int z = zoom();
    const QSize vp = viewport()->size();
    const auto span = [](int64_t canvas, int view) {
        return int(std::clamp<int64_t>(canvas - view, 0, INT32_MAX));
    };
    horizontalScrollBar()->setRange(0, span(int64_t(c.width) * z, vp.width()));
    horizontalScrollBar()->setPageStep(vp.width());
    horizontalScrollBar()->setSingleStep(16 * z);
    verticalScrollBar()->setRange(0, span(int64_t(c.height) * z, vp.height()));
    verticalScrollBar()->setPageStep(vp.height());
    verticalScrollBar()->setSingleStep(16 * z);
}

void PageView::ensureCaretVisible() {
    const QRect r = caretRect();
    const QRect vp = viewport()->rect();
    const int margin = kCaretMargin * zoom();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (r.left() - margin < vp.left())
        h->setValue(h->value() + r.left() - margin);
    else if (r.right() + margin > vp.right())
        h->setValue(h->value() + r.right() + margin - vp.right());
    if (r.top() < vp.top())
        v->setValue(v->value() + r.top());
    else if (r.bottom() > vp.bottom())
        v->setValue(v->value() + std::min(r.bottom() - vp.bottom(), r.top()));
}

void PageView::restartBlink() {
    caretOn_ = true;
    if (hasFocus()) blink_.start();
}

void PageView::documentChanged() {
    updateScrollBars();
    updateGeometry();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
}

void PageView::caretMoved() {
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
}

// --- drawing ---------------------------------------------------------------------------------

void PageView::paintEvent(QPaintEvent* event) {
    const TextDocument& doc = editor_.document();
    const CanvasSize c = doc.layout().canvas;
    const int z = zoom();
    QPainter p(viewport());
    p.fillRect(event->rect(), kOutsideCanvas);

    const QRect canvas(0, 0, c.width, c.height);
    const QRect wanted(canvasPoint(event->rect().topLeft()),
                       canvasPoint(event->rect().bottomRight()));
    const QRect visible = wanted.adjusted(0, 0, 1, 1) & canvas;
    if (!visible.isEmpty()) {
        // Drawn at the page's own size, as the page pictures are, then shown pixel for pixel.
        QImage image(visible.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter ip(&image);
        ip.translate(-visible.topLeft());
        PagePainter(editor_.fonts()).paint(ip, doc.page(), doc.layout(), visible);
        paintSelection(ip, visible);
        ip.end();
        p.drawImage(QRect(viewportPoint(visible.topLeft()), visible.size() * z), image);
    }
    paintPageEdges(p);

    const QRect caret = caretRect();
    if (!preedit_.isEmpty()) {
        // The input method's composition, in the current font at the caret, underlined.
        const FontEntry& font = doc.currentFont();
        QFont f = editor_.fonts().qfont(font.font);
        f.setUnderline(true);
        p.save();
        p.translate(caret.topLeft());
        p.scale(z, z);
        p.setFont(f);
        const QRectF box(0, 0, QFontMetricsF(f).horizontalAdvance(preedit_),
                         std::max(1, font.metrics.height()));
        p.fillRect(box, Qt::black);
        p.setPen(colorFromRef(doc.currentStyle().textColor));
        p.drawText(QPointF(0, font.metrics.ascent), preedit_);
        p.restore();
    }
    if (caretOn_ && hasFocus()) {
        p.setCompositionMode(QPainter::CompositionMode_Difference);
        p.fillRect(caret, Qt::white);
    }
}

void PageView::paintSelection(QPainter& painter, const QRect& area) const {
    const TextDocument& doc = editor_.document();
    if (!doc.hasSelection()) return;
    const TextRange sel = doc.selection();
    const TextPage& page = doc.page();
    for (const LineBox& line : doc.layout().lines) {
        const int32_t from = std::max(sel.start, line.start), to = std::min(sel.end, line.end);
        if (from >= to) continue;
        if (line.top > area.bottom() || int64_t(line.top) + line.height < area.top()) continue;
        int64_t x = line.x, width = 0;
        for (int32_t i = line.start; i < to; i += int32_t(characterLength(page.text, size_t(i)))) {
            // A selected break that ends the line shows as a little room after it.
            const bool endingBreak = page.text[size_t(i)] == kLineBreak && i + 1 == line.end;
            const int32_t w = endingBreak ? kSelectedBreakWidth : characterAdvance(page, size_t(i));
            (i < from ? x : width) += w;
        }
        // Inverted, as the sign's colours stay readable in it.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(QRectF(double(x), line.top, double(width), std::max(1, line.height)),
                         Qt::white);
        painter.restore();
    }
}

void PageView::paintPageEdges(QPainter& painter) const {
    const TextDocument& doc = editor_.document();
    const PageGeometry& g = doc.page().geometry;
    const CanvasSize c = doc.layout().canvas;
    const int length = g.pageLength();
    if (length <= 0) return;
    const bool horizontal = g.layout == PageLayout::Horizontal;
    const QRect view = viewport()->rect();
    const QPoint end = viewportPoint(QPoint(c.width, c.height));
    const QPoint start = viewportPoint(QPoint(0, 0));
    painter.setPen(QPen(kPageEdge, 1, Qt::DashLine));
    // The first page edge in view, then every one up to the end of the canvas.
    const int first = std::max(
        1,
        (horizontal ? canvasPoint(view.topLeft()).x() : canvasPoint(view.topLeft()).y()) / length);
    for (int64_t k = first;; ++k) {
        const int64_t along = k * length;
        if (along >= (horizontal ? c.width : c.height)) break;
        const QPoint at = viewportPoint(horizontal ? QPoint(int(along), 0) : QPoint(0, int(along)));
        if (horizontal) {
            if (at.x() > view.right()) break;
            painter.drawLine(at.x(), start.y(), at.x(), end.y() - 1);
        } else {
            if (at.y() > view.bottom()) break;
            painter.drawLine(start.x(), at.y(), end.x() - 1, at.y());
        }
    }
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
}

// --- input -----------------------------------------------------------------------------------

void PageView::moveCaret(int32_t pos, bool extend) {
    TextDocument& doc = editor_.document();
    if (!extend) {
        doc.clearSelection();
        doc.setCaret(pos);
    } else {
        int32_t anchor = doc.caret();
        if (doc.hasSelection())
            anchor = doc.caret() == doc.selectionEnd() ? doc.selectionStart() : doc.selectionEnd();
        doc.select(std::min(anchor, pos), std::max(anchor, pos));
        doc.setCaret(pos);
    }
    editor_.announceCaretMove();
}

void PageView::moveCaret(CaretMove move, bool extend) {
    TextDocument& doc = editor_.document();
    const bool vertical = move == CaretMove::Up || move == CaretMove::Down;
    if (!vertical) goalX_ = -1;
    if (vertical && goalX_ < 0) goalX_ = doc.layout().caretAt(doc.page(), doc.caret()).x;
    // Left or Right with a selection and no Shift: to the selection's edge.
    if (!extend && doc.hasSelection() && (move == CaretMove::Left || move == CaretMove::Right)) {
        moveCaret(move == CaretMove::Left ? doc.selectionStart() : doc.selectionEnd(), false);
        return;
    }
    moveCaret(movedCaret(doc.page(), doc.layout(), doc.caret(), move, goalX_), extend);
}

void PageView::deleteBackward(bool forward) {
    TextDocument& doc = editor_.document();
    TextRange range = doc.selection();
    if (range.empty()) {
        range = forward ? TextRange{doc.caret(), doc.nextPosition(doc.caret())}
                        : TextRange{doc.previousPosition(doc.caret()), doc.caret()};
    }
    if (range.empty()) return;
    editor_.edit(EditKind::Other, [&] { doc.deleteRange(range.start, range.end); });
}

void PageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    const TextDocument& doc = editor_.document();
    const QPoint at = canvasPoint(event->position().toPoint());
    goalX_ = -1;
    moveCaret(doc.layout().positionAt(doc.page(), at.x(), at.y()),
              event->modifiers() & Qt::ShiftModifier);
}

void PageView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const TextDocument& doc = editor_.document();
    const QPoint at = canvasPoint(event->position().toPoint());
    moveCaret(doc.layout().positionAt(doc.page(), at.x(), at.y()), true);
}

void PageView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    TextDocument& doc = editor_.document();
    switch (event->key()) {
        case Qt::Key_Left:
            return moveCaret(CaretMove::Left, shift);
        case Qt::Key_Right:
            return moveCaret(CaretMove::Right, shift);
        case Qt::Key_Up:
            return moveCaret(CaretMove::Up, shift);
        case Qt::Key_Down:
            return moveCaret(CaretMove::Down, shift);
        case Qt::Key_Home:
            return moveCaret(ctrl ? CaretMove::DocumentStart : CaretMove::Home, shift);
        case Qt::Key_End:
            return moveCaret(ctrl ? CaretMove::DocumentEnd : CaretMove::End, shift);
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            // One page length along the layout, at the same place on the page.
            const CaretPoint c = doc.layout().caretAt(doc.page(), doc.caret());
            const int step =
                (event->key() == Qt::Key_PageUp ? -1 : 1) * doc.page().geometry.pageLength();
            const bool horizontal = doc.page().geometry.layout == PageLayout::Horizontal;
            goalX_ = -1;
            return moveCaret(doc.layout().positionAt(doc.page(), horizontal ? c.x + step : c.x,
                                                     horizontal ? c.top : c.top + step),
                             shift);
        }
        case Qt::Key_Backspace:
            return deleteBackward(false);
        case Qt::Key_Delete:
            return deleteBackward(true);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!ctrl && !alt) editor_.typeText(QString(QChar(kLineBreak)));
            return;
        case Qt::Key_Escape:
            if (doc.hasSelection()) moveCaret(doc.caret(), false);
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return;  // not text here, and the focus stays
        default:
            break;
    }
    // Ctrl or Alt combinations are commands (the menus' keys), never text; Ctrl with Alt is how
    // some keyboards type characters.
    if (ctrl != alt) {
        event->ignore();
        return;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        event->ignore();
        return;
    }
    goalX_ = -1;
    editor_.typeText(text);
}

void PageView::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) {
        goalX_ = -1;
        editor_.typeText(event->commitString());
    }
    preedit_ = event->preeditString();
    viewport()->update();
    event->accept();
}

QVariant PageView::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle:
        case Qt::ImAnchorRectangle:
            return caretRect().translated(viewport()->pos());
        case Qt::ImFont: {
            QFont f = editor_.fonts().qfont(editor_.document().currentFont().font);
            f.setPixelSize(std::max(1, f.pixelSize() * zoom()));
            return f;
        }
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition:
            return 0;
        case Qt::ImSurroundingText:
        case Qt::ImCurrentSelection:
            return QString();
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void PageView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void PageView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    viewport()->update();
}

bool PageView::focusNextPrevChild(bool) {
    return false;
}

}  // namespace brightline::ui
