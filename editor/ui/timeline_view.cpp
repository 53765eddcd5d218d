#include "editor/ui/timeline_view.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "common/ui/qt_text.h"
#include "editor/element_list.h"
#include "editor/medium_kind.h"
#include "editor/program_list_geometry.h"
#include "editor/ui/fixed_images.h"
#include "editor/ui/property_view.h"
#include "editor/ui/thumbnail_service.h"

namespace brightline::ui {

namespace {

const QColor kRowColour(255, 0, 235);
constexpr int kTickPitch = 20;
constexpr int kLabelPitch = 100;
constexpr int kScrollMargin = 200;
const QSize kThumbSize(kThumbWidth, kThumbHeight);

QString clockText(int seconds) {
    seconds = std::max(seconds, 0);
    return QString::asprintf("%02d:%02d.%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

QString barText(const CElement& element, int seconds) {
    return qs(element.path) + "   Show " + clockText(seconds);
}

}  // namespace

CProgram_Menu_Time_view::CProgram_Menu_Time_view(ProgramData& program, ThumbnailService& thumbnails,
                                                 QWidget* parent)
    : QAbstractScrollArea(parent), program_(program), thumbnails_(thumbnails) {
    setObjectName("CProgram_Menu_Time_view");
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setPageStep(50);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&thumbnails_, &ThumbnailService::ready, viewport(), [this] { viewport()->update(); });
}

int CProgram_Menu_Time_view::scroll() const {
    return horizontalScrollBar()->value();
}

const std::vector<CElement>* CProgram_Menu_Time_view::list(int area) const {
    if (area < 0 || area >= std::min(areaCount_, kAreaSlots)) return nullptr;
    return &program_.areaLists[static_cast<size_t>(area)];
}

QRect CProgram_Menu_Time_view::rowRect(int row) const {
    const Rect r = timelineRowRect(row, areaCount_, viewport()->width(), viewport()->height());
    return QRect(r.left, r.top, r.width(), r.height());
}

QRect CProgram_Menu_Time_view::barRect(int area, int index) const {
    const std::vector<CElement>* elements = list(area);
    if (!elements || index < 0 || static_cast<size_t>(index) >= elements->size()) return QRect();
    const Rect row = timelineRowRect(area, areaCount_, viewport()->width(), viewport()->height());
    const Rect bar = timelineBarRect((*elements)[static_cast<size_t>(index)], row);
    return QRect(bar.left - scroll(), bar.top, bar.width(), bar.height());
}

void CProgram_Menu_Time_view::setAreaCount(int count) {
    areaCount_ = std::clamp(count, 1, kAreaSlots);
    if (area_ >= areaCount_) setCurrent(0, -1);
    refresh();
}

void CProgram_Menu_Time_view::setCurrentArea(int area) {
    if (area >= 0 && area < areaCount_ && area != area_) setCurrent(area, -1);
    viewport()->update();
}

void CProgram_Menu_Time_view::setCurrent(int area, int element) {
    const bool areaChanged = area != area_;
    area_ = area;
    element_ = element;
    if (areaChanged) emit currentAreaChanged(area_);
}

void CProgram_Menu_Time_view::refresh() {
    updateScrollRange();
    viewport()->update();
}

void CProgram_Menu_Time_view::updateScrollRange() {
    int end = 0;
    for (int area = 0; area < areaCount_; ++area)
        for (const CElement& e : *list(area)) end = std::max(end, e.start + e.hold);
    horizontalScrollBar()->setRange(0, std::max(0, end + kScrollMargin - viewport()->width()));
}

void CProgram_Menu_Time_view::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

// --- Painting ------------------------------------------------------------------------------

void CProgram_Menu_Time_view::drawRuler(QPainter& p) {
    const QRect ruler(0, 0, viewport()->width(), kRulerHeight);
    p.fillRect(ruler, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(ruler.adjusted(0, 0, -1, -1));
    const int first = scroll() / kTickPitch * kTickPitch;
    for (int t = first; t - scroll() < ruler.width(); t += kTickPitch) {
        const int x = t - scroll();
        p.drawLine(x, 0, x, 2);
        p.drawLine(x, kRulerHeight - 3, x, kRulerHeight - 1);
        if (t % kLabelPitch == 0)
            p.drawText(QPoint(x + 1, 2 + p.fontMetrics().ascent()),
                       t == 0 ? QString("00.00") : clockText(t));
    }
}

void CProgram_Menu_Time_view::drawRow(QPainter& p, int row) {
    const QRect rect = rowRect(row);
    p.fillRect(rect, kRowColour);
    if (row == area_) {
        p.setPen(QPen(QColor(120, 0, 110), 2));
        p.drawRect(rect.adjusted(1, 1, -1, -1));
    }
    const std::vector<CElement>& elements = *list(row);
    for (size_t i = 0; i < elements.size(); ++i) {
        const CElement& element = elements[i];
        const QRect bar = barRect(row, static_cast<int>(i));
        if (bar.right() < 0 || bar.left() > viewport()->width()) continue;
        if (!element.path.empty() && bar.width() > 2) {
            // The medium's picture at the bar's left: as high as the row less 2 pixels.
            const int h = std::max(1, rect.height() - 2);
            int w = h * 4 / 3;
            if (mediumKindOf(element.path) == MediumKind::Picture) {
                const ThumbnailService::Entry* e = thumbnails_.find(qs(element.path), kThumbSize);
                if (e && !e->failed && e->sourceSize.height() > 0)
                    w = std::max(1, e->sourceSize.width() / e->sourceSize.height()) * h;
            }
            w = std::min(w, bar.width() - 2);
            p.drawPixmap(QRect(bar.left() + 1, rect.top() + 1, w, h),
                         mediumPicture(thumbnails_, element.path, kThumbSize));
        }
        const bool current = row == area_ && static_cast<int>(i) == element_;
        p.setPen(QPen(current ? Qt::red : Qt::black, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(bar.adjusted(1, 1, -1, -1));
    }
    if (markArea_ == row) {
        const int x = markX_ - scroll();
        p.setPen(QPen(Qt::green, 4));
        p.drawLine(x, rect.top() + 2, x, rect.bottom() - 2);
        p.drawLine(x - 5, rect.top() + 2, x + 5, rect.top() + 2);
        p.drawLine(x - 5, rect.bottom() - 2, x + 5, rect.bottom() - 2);
    }
}

void CProgram_Menu_Time_view::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().window());
    QFont small = p.font();
    small.setPixelSize(10);
    p.setFont(small);
    drawRuler(p);
    for (int row = 0; row < areaCount_; ++row) drawRow(p, row);
    if (resizing_) {
        const QRect bar = barRect(resizeArea_, resizeElement_);
        QRect focus = bar;
        focus.setRight(focusRight_ - scroll());
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(focus);
    }
}

// --- Mouse and keyboard --------------------------------------------------------------------

void CProgram_Menu_Time_view::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    const int x = at.x() + scroll();
    if (resizing_) {
        const CElement* element = findElement(program_, resizeArea_, resizeElement_);
        resizeMoved_ = true;
        if (element && x > element->start + kMinBarSeconds) {
            focusRight_ = x;
            QToolTip::showText(global, barText(*element, x - element->start), viewport());
            viewport()->update();
        }
        return;
    }
    if (at.y() < kRulerHeight) {
        QToolTip::showText(global, clockText(x), viewport());
        return;
    }
    const int row = timelineRowAt(at.y(), areaCount_, viewport()->height());
    const std::vector<CElement>* elements = list(row);
    resizeReady_ = elements && row == area_ && onTimelineGrip(*elements, element_, x);
    if (resizeReady_) {
        setCursor(Qt::SizeHorCursor);
        QToolTip::showText(global, "move", viewport());
        return;
    }
    unsetCursor();
    const int bar = elements ? timelineBarAt(*elements, x) : -1;
    if (bar < 0) {
        QToolTip::hideText();
        hoverArea_ = hoverElement_ = -1;
        return;
    }
    const CElement& element = (*elements)[static_cast<size_t>(bar)];
    QToolTip::showText(global, barText(element, element.hold), viewport());
    if (row != hoverArea_ || bar != hoverElement_) {
        hoverArea_ = row;
        hoverElement_ = bar;
        emit elementShown(row, bar);
    }
}

void CProgram_Menu_Time_view::leaveEvent(QEvent*) {
    hoverArea_ = hoverElement_ = -1;
    unsetCursor();
}

void CProgram_Menu_Time_view::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    const int x = at.x() + scroll();
    const int row = timelineRowAt(at.y(), areaCount_, viewport()->height());
    const std::vector<CElement>* elements = list(row);
    if (!elements) return;
    if (row == area_ && onTimelineGrip(*elements, element_, x)) {
        resizing_ = true;
        resizeMoved_ = false;
        resizeArea_ = row;
        resizeElement_ = element_;
        const CElement& element = (*elements)[static_cast<size_t>(element_)];
        focusRight_ = element.start + element.hold;
        viewport()->update();
        return;
    }
    const int bar = timelineBarAt(*elements, x);
    setCurrent(row, bar >= 0 ? bar : static_cast<int>(elements->size()));
    if (bar >= 0) emit elementShown(row, bar);
    viewport()->update();
}

void CProgram_Menu_Time_view::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    const int row = timelineRowAt(at.y(), areaCount_, viewport()->height());
    if (resizing_) {
        resizing_ = false;
        unsetCursor();
        QToolTip::hideText();
        // A press on the grip without a drag is no resize.
        if (resizeMoved_ &&
            resizeElement(program_, resizeArea_, resizeElement_, at.x() + scroll())) {
            refresh();
            emit edited("Resize", true);
        }
    }
    if (row >= 0 && row != area_) setCurrent(row, -1);
    viewport()->update();
}

void CProgram_Menu_Time_view::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Delete) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (!deleteElement(program_, area_, element_)) return;
    const int shown = shownAfterDelete(program_, area_, element_);
    element_ = shown;
    refresh();
    emit elementShown(area_, shown);
    emit edited("Delete", true);
}

// --- Drops from the property view ----------------------------------------------------------

void CProgram_Menu_Time_view::dragEnterEvent(QDragEnterEvent* event) {
    const auto entry = propertyEntryOfDrag(event->mimeData());
    if (entry && isLibraryTab(entry->tab))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CProgram_Menu_Time_view::dragMoveEvent(QDragMoveEvent* event) {
    const auto entry = propertyEntryOfDrag(event->mimeData());
    const QPoint at = event->position().toPoint();
    const int row = timelineRowAt(at.y(), areaCount_, viewport()->height());
    const std::vector<CElement>* elements = list(row);
    if (!entry || !isLibraryTab(entry->tab) || !elements) {
        markArea_ = -1;
        viewport()->update();
        event->ignore();
        return;
    }
    markArea_ = row;
    markX_ = timelineInsertMarkX(*elements, timelineInsertIndex(*elements, at.x() + scroll()));
    viewport()->update();
    event->acceptProposedAction();
}

void CProgram_Menu_Time_view::dragLeaveEvent(QDragLeaveEvent*) {
    markArea_ = -1;
    viewport()->update();
}

void CProgram_Menu_Time_view::dropEvent(QDropEvent* event) {
    markArea_ = -1;
    const auto entry = propertyEntryOfDrag(event->mimeData());
    const QPoint at = event->position().toPoint();
    const int row = timelineRowAt(at.y(), areaCount_, viewport()->height());
    const std::vector<CElement>* elements = list(row);
    if (!entry || !isLibraryTab(entry->tab) || !elements) {
        viewport()->update();
        return;
    }
    const int index = insertElement(program_, droppedItem(entry->path, entry->entry), row,
                                    timelineInsertIndex(*elements, at.x() + scroll()));
    if (index < 0) return;
    event->acceptProposedAction();
    setCurrent(row, index);
    refresh();
    emit elementShown(row, index);
    emit edited(qs("Add " + entry->path), true);
}

}  // namespace brightline::ui
