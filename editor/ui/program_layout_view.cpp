#include "editor/ui/program_layout_view.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "comm/led_set_data.h"
#include "comm/sign_record_store.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/sign_size.h"
#include "common/ui/qt_text.h"
#include "editor/compact_program.h"
#include "editor/medium_kind.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/program_history.h"
#include "editor/ui/property_view.h"
#include "editor/ui/thumbnail_service.h"

namespace brightline::ui {

namespace {

constexpr int kWidthRange = 1024;
constexpr int kHeightRange = 512;
constexpr int kUpDownStep = 8;

// Play, Stop and Send as small pictures: a triangle, a square, an arrow into a sign.
QIcon toolIcon(int which) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (which == 0) {
        p.setBrush(QColor(30, 150, 40));
        p.drawPolygon(QPolygon({QPoint(6, 3), QPoint(21, 12), QPoint(6, 21)}));
    } else if (which == 1) {
        p.setBrush(QColor(190, 30, 30));
        p.drawRect(5, 5, 14, 14);
    } else {
        p.setBrush(Qt::black);
        p.drawRect(12, 4, 11, 16);
        p.setBrush(QColor(30, 90, 200));
        p.drawPolygon(QPolygon({QPoint(1, 9), QPoint(8, 9), QPoint(8, 5), QPoint(13, 12),
                                QPoint(8, 19), QPoint(8, 15), QPoint(1, 15)}));
    }
    return QIcon(pixmap);
}

// The edit's up-down control: two small arrows that step the edit by 8 within 0..range.
QWidget* upDown(QWidget* parent, QLineEdit* edit, int range,
                const std::function<void(const QString&)>& changed) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (int direction : {1, -1}) {
        auto* button = new QToolButton(box);
        button->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        button->setFixedSize(16, 12);
        button->setAutoRepeat(true);
        QObject::connect(button, &QToolButton::clicked, box, [edit, range, direction, changed] {
            const int value = std::clamp(edit->text().toInt() + direction * kUpDownStep, 0, range);
            edit->setText(QString::number(value));
            changed(edit->text());
        });
        column->addWidget(button);
    }
    return box;
}

}  // namespace

CProgram_Layout_view::CProgram_Layout_view(ProgramData& program, PlaySession& session,
                                           ThumbnailService& thumbnails,
                                           const std::string& signName, QWidget* parent)
    : QWidget(parent),
      program_(program),
      session_(session),
      thumbnails_(thumbnails),
      signName_(signName) {
    setObjectName("CProgram_Layout_view");
    setMouseTracking(true);
    setAcceptDrops(true);
    buildToolbar();
    connect(&session_, &PlaySession::stateChanged, this,
            &CProgram_Layout_view::sessionStateChanged);
    connect(&session_, &PlaySession::statusChanged, this, [this] { update(); });
    connect(&thumbnails_, &ThumbnailService::ready, this, [this] { update(); });
    // Wide enough for its own toolbar, whatever the sign's width.
    setMinimumSize(std::max(300, toolbar_->sizeHint().width()), 300);
}

CProgram_Layout_view::~CProgram_Layout_view() {
    // A running Make is cancelled and waited for (it stops before the next element, a clip
    // conversion within a frame), then the preview laid over this view stops.
    disconnect(&session_, nullptr, this, nullptr);
    session_.cancel();
}

void CProgram_Layout_view::buildToolbar() {
    toolbar_ = new QWidget(this);
    toolbar_->setObjectName("layoutToolbar");
    toolbar_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(toolbar_);
    row->setContentsMargins(4, 2, 4, 2);
    auto tool = [this, row](const char* text, int icon) {
        auto* button = new QToolButton(toolbar_);
        button->setText(text);
        button->setIcon(toolIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        row->addWidget(button);
        return button;
    };
    play_ = tool("Play", 0);
    stop_ = tool("Stop", 1);
    send_ = tool("Send", 2);
    connect(play_, &QToolButton::clicked, this, &CProgram_Layout_view::play);
    connect(stop_, &QToolButton::clicked, this, &CProgram_Layout_view::stop);
    connect(send_, &QToolButton::clicked, this, &CProgram_Layout_view::send);
    row->addSpacing(12);

    auto sizeEdit = [this](int range, void (CProgram_Layout_view::*handler)(const QString&),
                           QWidget*& upDownBox) {
        auto* edit = new QLineEdit(toolbar_);
        edit->setMaxLength(3);
        edit->setFixedWidth(44);
        connect(edit, &QLineEdit::textEdited, this, handler);
        upDownBox = upDown(toolbar_, edit, range,
                           [this, handler](const QString& text) { (this->*handler)(text); });
        return edit;
    };
    widthEdit_ = sizeEdit(kWidthRange, &CProgram_Layout_view::setWidthText, widthUpDown_);
    row->addWidget(widthEdit_);
    row->addWidget(widthUpDown_);
    row->addWidget(new QLabel("LED Width", toolbar_));
    row->addSpacing(8);
    heightEdit_ = sizeEdit(kHeightRange, &CProgram_Layout_view::setHeightText, heightUpDown_);
    row->addWidget(heightEdit_);
    row->addWidget(heightUpDown_);
    row->addWidget(new QLabel("LED Height", toolbar_));
    row->addStretch();
}

void CProgram_Layout_view::initialUpdate() {
    canvasWidth_ = program_.ledWidth;
    canvasHeight_ = program_.ledHeight;
    widthEdit_->setText(QString::number(program_.ledWidth));
    heightEdit_->setText(QString::number(program_.ledHeight));
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const auto& list = program_.areaLists[static_cast<size_t>(slot)];
        shown_[static_cast<size_t>(slot)] =
            list.empty() ? ShownElement{} : ShownElement{list[0].path, list[0].thumbIndex};
    }
    thumbnails_.setClockFace(QSize(canvasWidth_, canvasHeight_));
    computeLayout();
    recomputeOrigin();
    backgroundStale_ = true;
    update();
}

void CProgram_Layout_view::programRestored() {
    const bool resized = program_.ledWidth != canvasWidth_ || program_.ledHeight != canvasHeight_;
    initialUpdate();
    if (resized) storeSignSize();
}

int CProgram_Layout_view::clientHeight() const {
    return std::max(0, height() - kLayoutToolbarHeight);
}

QRect CProgram_Layout_view::faceRect() const {
    return QRect(origin_.x(), origin_.y(), canvasWidth_, canvasHeight_);
}

void CProgram_Layout_view::recomputeOrigin() {
    origin_ = QPoint((width() - canvasWidth_) / 2, (clientHeight() - 26 - canvasHeight_) / 2);
}

void CProgram_Layout_view::computeLayout() {
    layout_ = computeAreas(program_.areaFormat, canvasWidth_, canvasHeight_, program_.regionLines);
    if (selected_ >= layout_.areaCount) selected_ = 0;
    emit areaCountChanged(layout_.areaCount);
}

void CProgram_Layout_view::applyFormat(int format) {
    applyAreaFormat(program_, format);  // the canvas is the program's sign size
    computeLayout();
    update();
}

void CProgram_Layout_view::selectArea(int slot) {
    selected_ = slot;
    emit areaSelected(slot);
    update();
}

void CProgram_Layout_view::showElementInArea(int slot, const std::string& path, int thumbIndex) {
    if (slot < 0 || slot >= kAreaSlots) return;
    shown_[static_cast<size_t>(slot)] = ShownElement{path, thumbIndex};
    update();
}

void CProgram_Layout_view::setWidthText(const QString& text) {
    const int typed = text.toInt();  // non-numeric text reads as 0
    const int width = limitSignWidth(typed, canvasHeight_);
    // A value above the limit is replaced by it in the edit too.
    if (typed > signSideLimit(canvasHeight_)) widthEdit_->setText(QString::number(width));
    applySignSize(width, canvasHeight_);
    emit edited("Sign width", false, ProgramHistory::kSignSizeEdit);
}

void CProgram_Layout_view::setHeightText(const QString& text) {
    const int typed = text.toInt();
    const int height = limitSignHeight(typed, canvasWidth_);
    if (typed > signSideLimit(canvasWidth_)) heightEdit_->setText(QString::number(height));
    applySignSize(canvasWidth_, height);
    emit edited("Sign height", false, ProgramHistory::kSignSizeEdit);
}

void CProgram_Layout_view::applySignSize(int width, int height) {
    canvasWidth_ = width;
    canvasHeight_ = height;
    program_.ledWidth = width;
    program_.ledHeight = height;
    applyFormat(program_.areaFormat);
    thumbnails_.setClockFace(QSize(width, height));
    recomputeOrigin();
    backgroundStale_ = true;
    if (PreviewWindow* preview = session_.preview()) preview->setGeometry(faceRect());
    storeSignSize();
    update();
}

void CProgram_Layout_view::storeSignSize() {
    SignRecordValues values;
    values.width = program_.ledWidth;
    values.height = program_.ledHeight;
    storeSignRecord(joinPath(startFolder(), kSignListFile), signName_, values);
}

void CProgram_Layout_view::setSizeControlsEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(widthEdit_), widthUpDown_,
                       static_cast<QWidget*>(heightEdit_), heightUpDown_})
        w->setEnabled(enabled);
}

// --- Play, Stop, Send -----------------------------------------------------------------------

void CProgram_Layout_view::setStripVisible(bool visible) {
    stripVisible_ = visible;
    update();
}

void CProgram_Layout_view::sessionStateChanged(PlaySession::State state) {
    setSizeControlsEnabled(state == PlaySession::State::Idle);
    if (state == PlaySession::State::Making) stripVisible_ = true;
    update();
}

void CProgram_Layout_view::play() {
    session_.play(*this);
}

void CProgram_Layout_view::stop() {
    session_.stop();
}

void CProgram_Layout_view::send() {
    session_.send();
}

// --- Painting --------------------------------------------------------------------------------

void CProgram_Layout_view::drawBackground() {
    background_ = QPixmap(std::max(1, width()), std::max(1, clientHeight()));
    background_.fill(Qt::black);
    QPainter p(&background_);
    const QRect face = faceRect();
    p.setPen(QPen(Qt::red, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRect(face.left() - 2, face.top() - 2, face.width() + 4, face.height() + 4));
    p.setPen(QPen(QColor(128, 128, 128), 1));
    for (int k = 1; k <= canvasWidth_ / 8 - 1; ++k) {
        const int x = face.left() + 8 * k;
        p.drawLine(x, face.top(), x, face.top() + canvasHeight_ - 1);
    }
    for (int k = 1; k <= canvasHeight_ / 8 - 1; ++k) {
        const int y = face.top() + 8 * k;
        p.drawLine(face.left(), y, face.left() + canvasWidth_ - 1, y);
    }
    backgroundStale_ = false;
}

void CProgram_Layout_view::drawElement(QPainter& p, const QRect& area,
                                       const ShownElement& element) {
    if (element.path.empty() || area.width() < 1 || area.height() < 1) return;
    if (mediumKindOf(element.path) == MediumKind::None) return;
    // Stretched into the area, as the sign shows a picture.
    p.drawPixmap(area, mediumPicture(thumbnails_, element.path, area.size()));
}

void CProgram_Layout_view::paintEvent(QPaintEvent*) {
    if (backgroundStale_ || background_.isNull()) drawBackground();
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
    const QPoint o = origin_;
    for (int slot = 0; slot < layout_.areaCount; ++slot) {
        const Rect& r = layout_.areas[static_cast<size_t>(slot)];
        const QRect area(o.x() + r.left, o.y() + r.top, r.right - r.left, r.bottom - r.top);
        drawElement(p, area, shown_[static_cast<size_t>(slot)]);
        const QString label = QString::number(slot);
        const QRect box = p.fontMetrics().boundingRect(label).adjusted(-2, 0, 2, 0);
        const QRect labelRect(area.topLeft(), box.size());
        p.fillRect(labelRect, Qt::white);
        p.setPen(slot == selected_ ? Qt::red : Qt::black);
        p.drawText(labelRect, Qt::AlignCenter, label);
    }
    p.setPen(QPen(Qt::green, 3));
    const RegionLines& lines = program_.regionLines;
    for (int i = 0; i < lineCountOf(program_.areaFormat); ++i) {
        const CRegion_Line& line = lines[static_cast<size_t>(i)];
        const Rect& b = line.band;
        if (line.horizontal)
            p.drawLine(o.x() + b.left + 3, o.y() + b.top + 3, o.x() + b.right - 3,
                       o.y() + b.bottom - 3);
        else
            p.drawLine(o.x() + b.left + 3, o.y() + b.top + 3, o.x() + b.left + 3,
                       o.y() + b.bottom - 3);
    }
    const QString status = session_.statusText();
    if (stripVisible_) {
        const QRect strip(0, clientHeight() - kStatusStripHeight, width(), kStatusStripHeight);
        p.fillRect(strip, Qt::black);
        if (!status.isEmpty()) {
            p.setPen(Qt::green);
            p.drawText(strip.adjusted(std::max(0, o.x()), 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                       status);
        }
    }
    p.setPen(Qt::white);
    p.drawText(QRect(2, 0, width(), 20), Qt::AlignLeft | Qt::AlignTop, qs(signName_));
}

void CProgram_Layout_view::resizeEvent(QResizeEvent*) {
    backgroundStale_ = true;
    recomputeOrigin();
    computeLayout();
    toolbar_->setGeometry(0, height() - kLayoutToolbarHeight, width(), kLayoutToolbarHeight);
    if (PreviewWindow* preview = session_.preview()) preview->setGeometry(faceRect());
    update();
}

// --- Mouse -----------------------------------------------------------------------------------

void CProgram_Layout_view::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int x = pos.x() - origin_.x();
    const int y = pos.y() - origin_.y();
    if (!faceRect().contains(pos)) {
        if (tooltipShown_) {
            QToolTip::hideText();
            tooltipShown_ = false;
        }
        if (!dragging_) return;
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), QString("(%1,%2)").arg(x).arg(y),
                           this);
        tooltipShown_ = true;
    }
    if (!dragging_) {
        const int line = lineAt(program_.areaFormat, program_.regionLines, x, y);
        if (line < 0)
            setCursor(Qt::ArrowCursor);
        else
            setCursor(program_.regionLines[static_cast<size_t>(line)].horizontal
                          ? Qt::SizeVerCursor
                          : Qt::SizeHorCursor);
        return;
    }
    for (int i = 0; i < lineCountOf(program_.areaFormat); ++i) {
        if (program_.regionLines[static_cast<size_t>(i)].selected == 1) {
            // Outside the face, or where an area would vanish, the line stays.
            dragLine(program_.areaFormat, canvasWidth_, canvasHeight_, program_.regionLines, i, x,
                     y);
            break;
        }
    }
    update();
}

void CProgram_Layout_view::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_) return;
    const QPoint pos = event->position().toPoint();
    const int line = lineAt(program_.areaFormat, program_.regionLines, pos.x() - origin_.x(),
                            pos.y() - origin_.y());
    if (line >= 0) {
        program_.regionLines[static_cast<size_t>(line)].selected = 1;
        dragging_ = true;
    }
}

void CProgram_Layout_view::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (dragging_) {
        for (CRegion_Line& line : program_.regionLines) line.selected = 0;
        dragging_ = false;
        setCursor(Qt::ArrowCursor);
        computeLayout();
        update();
        emit edited("Move a dividing line", false, ProgramHistory::kNoMerge);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const int slot = areaAt(layout_, pos.x() - origin_.x(), pos.y() - origin_.y());
    if (slot >= 0) selectArea(slot);
}

void CProgram_Layout_view::leaveEvent(QEvent*) {
    if (tooltipShown_) {
        QToolTip::hideText();
        tooltipShown_ = false;
    }
}

void CProgram_Layout_view::dragEnterEvent(QDragEnterEvent* event) {
    if (areaFormatOfDrag(event->mimeData()) >= 0) event->acceptProposedAction();
}

void CProgram_Layout_view::dragMoveEvent(QDragMoveEvent* event) {
    if (areaFormatOfDrag(event->mimeData()) >= 0) event->acceptProposedAction();
}

void CProgram_Layout_view::dropEvent(QDropEvent* event) {
    const int format = areaFormatOfDrag(event->mimeData());
    if (format < 0) return;
    applyFormat(format);
    event->acceptProposedAction();
    emit edited(QString("Area format %1").arg(format), false, ProgramHistory::kNoMerge);
}

}  // namespace brightline::ui
