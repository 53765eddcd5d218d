#include "editor/ui/item_view.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include "common/paths.h"
#include "common/ui/qt_text.h"
#include "editor/element_list.h"
#include "editor/ui/fixed_images.h"
#include "editor/ui/item_dialogs.h"
#include "editor/ui/property_view.h"
#include "editor/ui/thumbnail_service.h"

namespace brightline::ui {

namespace {

const QColor kGround(157, 184, 235);
const QColor kEmptyBackground(0, 128, 196);
const QColor kHighlight(255, 140, 0);
const QColor kSelection(200, 0, 0);
const QSize kThumbSize(kThumbWidth, kThumbHeight);

QRect qrect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// A red label on a white patch, readable over any picture.
void drawLabel(QPainter& p, QPoint topLeft, const QString& text) {
    const QRect box(topLeft, QSize(p.fontMetrics().horizontalAdvance(text) + 4, 11));
    p.fillRect(box, Qt::white);
    p.setPen(Qt::red);
    p.drawText(box, Qt::AlignCenter, text);
}

QString hms(int seconds) {
    seconds = std::max(seconds, 0);
    return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace

CProgram_Menu_view::CProgram_Menu_view(ProgramData& program, ThumbnailService& thumbnails,
                                       OperatorMessages& messages, QWidget* parent)
    : QAbstractScrollArea(parent), program_(program), thumbnails_(thumbnails), messages_(messages) {
    setObjectName("CProgram_Menu_view");
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(kItemSlotPitch);
    horizontalScrollBar()->setPageStep(kItemSlotPitch);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&thumbnails_, &ThumbnailService::ready, viewport(), [this] { viewport()->update(); });
    refresh();
}

int CProgram_Menu_view::count() const {
    if (area_ < 0 || area_ >= kAreaSlots) return 0;
    return std::min(static_cast<int>(program_.areaLists[static_cast<size_t>(area_)].size()),
                    kMaxItemSlots + 1);
}

void CProgram_Menu_view::selectArea(int slot) {
    if (slot < 0 || slot >= kAreaSlots) return;
    if (slot != area_) selected_ = -1;
    area_ = slot;
    refresh();
}

void CProgram_Menu_view::refresh() {
    if (selected_ >= count()) selected_ = count() - 1;
    updateScrollRange();
    viewport()->update();
}

void CProgram_Menu_view::selectElement(int index) {
    selected_ = index >= 0 && index < count() ? index : -1;
    viewport()->update();
}

void CProgram_Menu_view::updateScrollRange() {
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, itemScrollWidth(count()) - viewport()->width()));
}

int CProgram_Menu_view::viewX(int contentX) const {
    return contentX - horizontalScrollBar()->value();
}

ItemHit CProgram_Menu_view::hitAt(const QPoint& p) const {
    return itemAt(p.x() + horizontalScrollBar()->value(), p.y(), count());
}

// --- Painting ------------------------------------------------------------------------------

void CProgram_Menu_view::drawCard(QPainter& p, int index) {
    const CElement& element =
        program_.areaLists[static_cast<size_t>(area_)][static_cast<size_t>(index)];
    const QRect card = qrect(itemCardRect(index)).translated(-horizontalScrollBar()->value(), 0);
    if (card.right() < 0 || card.left() > viewport()->width() + 160) return;
    QFont small = p.font();
    small.setPixelSize(10);
    p.setFont(small);
    if (element.path.empty()) {
        p.fillRect(card, kEmptyBackground);
    } else {
        p.fillRect(card, Qt::black);
        p.drawPixmap(card, mediumPicture(thumbnails_, element.path, kThumbSize));
        p.setPen(Qt::white);
        p.drawText(card.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop,
                   qs(fileTitleOf(fileNameOf(element.path))));
    }
    const QRect under(card.left() - 20, card.bottom() + 2, card.width() + 40, 14);
    if (index == 0) {
        p.setPen(Qt::yellow);
        p.drawText(under, Qt::AlignHCenter | Qt::AlignTop, "Background");
    } else {
        p.setPen(Qt::blue);
        p.drawText(under, Qt::AlignHCenter | Qt::AlignTop, "Stop " + hms(element.hold));
        // The entry effect in the lower-left third of the card.
        const QRect in(card.left(), card.top() + card.height() * 2 / 3, card.width() / 3,
                       card.height() / 3);
        p.drawPixmap(in, element.moveIn < 0 ? noEffectImage() : moveInImage(element.moveIn));
        drawLabel(p, in.topLeft() + QPoint(0, -11), "In");
        const QRect exit = qrect(exitBoxRect(index)).translated(-horizontalScrollBar()->value(), 0);
        p.drawPixmap(exit, element.moveOut < 0 ? noExitImage() : moveOutImage(element.moveOut));
        drawLabel(p, exit.bottomLeft() + QPoint(0, 2), "Out");
        const bool exitLit = (hover_.kind == ItemHit::ExitBox && hover_.index == index) ||
                             (dropTarget_.kind == ItemHit::ExitBox && dropTarget_.index == index);
        if (exitLit) {
            p.setPen(QPen(kHighlight, 3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(exit.adjusted(-2, -2, 1, 1));
        }
    }
    const bool lit = (hover_.kind == ItemHit::Card && hover_.index == index) ||
                     (dropTarget_.kind == ItemHit::Card && dropTarget_.index == index);
    p.setBrush(Qt::NoBrush);
    if (index == selected_) {
        p.setPen(QPen(kSelection, 2));
        p.drawRect(card.adjusted(-3, -3, 2, 2));
    }
    if (lit) {
        p.setPen(QPen(kHighlight, 3));
        p.drawRect(card.adjusted(-1, -1, 0, 0));
    }
}

void CProgram_Menu_view::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), kGround);
    for (int index = 0; index < count(); ++index) drawCard(p, index);
    if (insertSlot_ > 0) {
        const int x = viewX(itemInsertMarkX(insertSlot_));
        p.fillRect(QRect(x - 2, kBackgroundCard.top, 4, kBackgroundCard.height()), Qt::blue);
    }
}

void CProgram_Menu_view::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

// --- Mouse and keyboard --------------------------------------------------------------------

void CProgram_Menu_view::mouseMoveEvent(QMouseEvent* event) {
    const ItemHit hit = hitAt(event->position().toPoint());
    if (hit.kind != hover_.kind || hit.index != hover_.index) {
        hover_ = hit;
        viewport()->update();
    }
}

void CProgram_Menu_view::leaveEvent(QEvent*) {
    hover_ = ItemHit();
    viewport()->update();
}

void CProgram_Menu_view::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const ItemHit hit = hitAt(event->position().toPoint());
    if (hit.kind != ItemHit::Card) return;
    selectElement(hit.index);
    emit elementShown(area_, hit.index);
}

void CProgram_Menu_view::mouseDoubleClickEvent(QMouseEvent* event) {
    const ItemHit hit = hitAt(event->position().toPoint());
    if (hit.kind != ItemHit::Card) return;
    selectElement(hit.index);
    emit elementShown(area_, hit.index);
    const CElement* element = findElement(program_, area_, hit.index);
    if (element && !element->path.empty()) emit openMediumRequested(qs(element->path));
}

QMenu* CProgram_Menu_view::contextMenuFor(int index) {
    const CElement* element = findElement(program_, area_, index);
    if (!element) return nullptr;
    auto* menu = new QMenu(this);
    if (speedOffered(*element))
        connect(menu->addAction("Set Speed"), &QAction::triggered, this,
                [this, index] { setSpeedOf(index); });
    connect(menu->addAction("Set Delay"), &QAction::triggered, this,
            [this, index] { setDelayOf(index); });
    connect(menu->addAction("Del Program"), &QAction::triggered, this,
            [this, index] { deleteElementAt(index); });
    return menu;
}

void CProgram_Menu_view::contextMenuEvent(QContextMenuEvent* event) {
    const ItemHit hit = hitAt(event->pos());
    if (hit.kind != ItemHit::Card) return;
    selectElement(hit.index);
    QMenu* menu = contextMenuFor(hit.index);
    if (!menu) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CProgram_Menu_view::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        deleteElementAt(selected_);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CProgram_Menu_view::setSpeedOf(int index) {
    const CElement* element = findElement(program_, area_, index);
    if (!element) return;
    auto* dialog = new CSetSpeedDialog(speedChoice(*element), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const int area = area_;
    connect(dialog, &QDialog::accepted, this, [this, dialog, area, index] {
        CElement* element = findElement(program_, area, index);
        if (!element) return;
        element->speed = dialog->speed();
        viewport()->update();
        emit edited("Set Speed", true);
    });
    dialog->open();
}

void CProgram_Menu_view::setDelayOf(int index) {
    const CElement* element = findElement(program_, area_, index);
    if (!element) {
        messages_.show("Select an item whose delay is to be set first.", "INFO",
                       MessageIcon::Information);
        return;
    }
    auto* dialog = new CSetDelayDialog(element->hold, messages_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const int area = area_;
    connect(dialog, &QDialog::accepted, this, [this, dialog, area, index] {
        CElement* element = findElement(program_, area, index);
        if (!element) return;
        element->hold = dialog->delay();  // the other elements keep their start
        refresh();
        emit edited("Set Delay", true);
    });
    dialog->open();
}

void CProgram_Menu_view::deleteElementAt(int index) {
    if (!deleteElement(program_, area_, index)) return;
    const int shown = shownAfterDelete(program_, area_, index);
    selected_ = shown;
    refresh();
    emit elementShown(area_, shown);
    emit edited("Delete", true);
}

// --- Drops from the property view ----------------------------------------------------------

void CProgram_Menu_view::clearDropMarks() {
    dropTarget_ = ItemHit();
    insertSlot_ = -1;
    viewport()->update();
}

void CProgram_Menu_view::dragEnterEvent(QDragEnterEvent* event) {
    const auto entry = propertyEntryOfDrag(event->mimeData());
    if (entry && entry->tab != kTabAreaFormat)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CProgram_Menu_view::dragMoveEvent(QDragMoveEvent* event) {
    const auto entry = propertyEntryOfDrag(event->mimeData());
    const QPoint at = event->position().toPoint();
    const ItemHit hit = hitAt(at);
    dropTarget_ = ItemHit();
    insertSlot_ = -1;
    bool accepted = false;
    if (entry && entry->tab == kTabMoveIn && hit.kind == ItemHit::Card) {
        dropTarget_ = hit;
        accepted = true;
    } else if (entry && entry->tab == kTabMoveOut && hit.kind == ItemHit::ExitBox) {
        dropTarget_ = hit;
        accepted = true;
    } else if (entry && isLibraryTab(entry->tab) && hit.kind != ItemHit::ExitBox) {
        if (hit.kind == ItemHit::Card && hit.index == 0)
            dropTarget_ = hit;
        else
            insertSlot_ = itemInsertSlot(at.x() + horizontalScrollBar()->value(), count());
        accepted = count() > 0;
    }
    viewport()->update();
    if (accepted)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CProgram_Menu_view::dragLeaveEvent(QDragLeaveEvent*) {
    clearDropMarks();
}

void CProgram_Menu_view::dropEvent(QDropEvent* event) {
    const auto entry = propertyEntryOfDrag(event->mimeData());
    const ItemHit target = dropTarget_;
    const int slot = insertSlot_;
    clearDropMarks();
    if (!entry) return;
    if (entry->tab == kTabMoveIn || entry->tab == kTabMoveOut) {
        CElement* element = findElement(program_, area_, target.index);
        if (!element) return;
        if (entry->tab == kTabMoveIn)
            setEntryEffect(*element, entry->entry);
        else
            setExitEffect(*element, entry->entry);
        event->acceptProposedAction();
        refresh();
        emit edited(entry->tab == kTabMoveIn ? "Entry effect" : "Exit effect", true);
        return;
    }
    if (!isLibraryTab(entry->tab)) return;
    int shown = -1;
    if (target.kind == ItemHit::Card && target.index == 0) {
        CElement* background = findElement(program_, area_, 0);
        if (!background) return;
        takeAsBackground(*background, entry->path, entry->entry);
        shown = 0;
    } else if (slot > 0) {
        shown = insertElement(program_, droppedItem(entry->path, entry->entry), area_, slot);
    }
    if (shown < 0) return;
    event->acceptProposedAction();
    selected_ = shown;
    refresh();
    emit elementShown(area_, shown);
    emit edited(qs("Add " + fileNameOf(entry->path)), true);
}

}  // namespace brightline::ui
