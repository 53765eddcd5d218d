#pragma once
// The page as the operator edits it: the canvas drawn as the page pictures will be (the same
// painter), at zoom 1 or 2 pixel for pixel, with scroll bars, the page edges marked by dashed
// lines, the selection inverted and the caret blinking.
//
// Input is forwarded to the PageEditor: a click places the caret, a drag or Shift selects, the
// arrows, Home, End, Page Up and Page Down move the caret (Shift extends the selection,
// Ctrl+Home and Ctrl+End go to the ends of the text), Backspace and Delete delete, Return
// breaks the line, typed text and input-method text are inserted (tab, carriage return and
// other control characters are not text; Ctrl combinations never type). The input method's
// composition stands at the caret in the current font.
//
// The view's size hint is the canvas at its zoom, no larger than `maximum` (the largest page
// the screen shows). User interface thread only.
#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>

#include "pageeditor/caret_motion.h"

namespace brightline::ui {

class PageEditor;

class PageView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit PageView(PageEditor& editor, QWidget* parent = nullptr);

    int zoom() const;
    // The largest area the view asks for (viewport pixels).
    void setMaximumCanvasView(const QSize& maximum);
    QSize sizeHint() const override;
    // Scrolls to the start of the canvas.
    void scrollToStart();
    // Canvas pixels under a viewport point, and the viewport point of a canvas point.
    QPoint canvasPoint(const QPoint& viewportPoint) const;
    QPoint viewportPoint(const QPoint& canvasPoint) const;
    // The caret's rectangle in viewport pixels.
    QRect caretRect() const;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void documentChanged();
    void caretMoved();
    void updateScrollBars();
    void ensureCaretVisible();
    void restartBlink();
    // Moves the caret to `pos`; with `extend` the selection runs from the anchor to it.
    void moveCaret(int32_t pos, bool extend);
    void moveCaret(pageeditor::CaretMove move, bool extend);
    void deleteBackward(bool forward);
    void paintSelection(QPainter& painter, const QRect& area) const;
    void paintPageEdges(QPainter& painter) const;

    PageEditor& editor_;
    QSize maximum_{1792, 896};
    int32_t anchor_ = 0;   // where a Shift selection started
    int32_t goalX_ = -1;   // canvas x that Up and Down keep; -1: the caret's own
    bool caretOn_ = true;  // blink phase
    QTimer blink_;
    QString preedit_;
};

}  // namespace brightline::ui
