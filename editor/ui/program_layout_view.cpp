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
#include "editor/program_data.h"
#include "editor/script_maker.h"
#include "editor/ui/make_job.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/property_view.h"

namespace brightline::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

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

CProgram_Layout_view::CProgram_Layout_view(OperatorMessages& messages, const std::string& signName,
                                           QWidget* parent)
    : QWidget(parent),
      messages_(messages),
      signName_(signName),
      make_(std::make_unique<MakeJob>(this, messages)) {
    setObjectName("CProgram_Layout_view");
    setMouseTracking(true);
    setAcceptDrops(true);
    buildToolbar();
    // Wide enough for its own toolbar, whatever the sign's width.
    setMinimumSize(std::max(300, toolbar_->sizeHint().width()), 300);
}

CProgram_Layout_view::~CProgram_Layout_view() {
    // Cancel a running Make first and wait for it (it stops before the next element and its
    // conversion within a frame), then the preview's show.
    make_.reset();
    delete preview_;
    preview_ = nullptr;
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
    ProgramData& program = programData();
    canvasWidth_ = program.ledWidth;
    canvasHeight_ = program.ledHeight;
    widthEdit_->setText(QString::number(program.ledWidth));
    heightEdit_->setText(QString::number(program.ledHeight));
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const auto& list = program.areaLists[static_cast<size_t>(slot)];
        shown_[static_cast<size_t>(slot)] =
            list.empty() ? ShownElement{} : ShownElement{list[0].path, list[0].thumbIndex};
    }
    computeLayout();
    recomputeOrigin();
    backgroundStale_ = true;
    update();
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
    layout_ = computeAreas(programData().areaFormat, canvasWidth_, canvasHeight_,
                           programData().regionLines);
    if (selected_ >= layout_.areaCount) selected_ = 0;
    emit areaCountChanged(layout_.areaCount);
}

void CProgram_Layout_view::applyFormat(int format) {
    ProgramData& program = programData();
    program.areaFormat = normalAreaFormat(format);
    applyAreaFormat(program.areaFormat, canvasWidth_, canvasHeight_, program.regionLines);
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
}

void CProgram_Layout_view::setHeightText(const QString& text) {
    const int typed = text.toInt();
    const int height = limitSignHeight(typed, canvasWidth_);
    if (typed > signSideLimit(canvasWidth_)) heightEdit_->setText(QString::number(height));
    applySignSize(canvasWidth_, height);
}

void CProgram_Layout_view::applySignSize(int width, int height) {
    canvasWidth_ = width;
    canvasHeight_ = height;
    programData().ledWidth = width;
    programData().ledHeight = height;
    applyFormat(programData().areaFormat);
    recomputeOrigin();
    backgroundStale_ = true;
    if (preview_) preview_->setGeometry(faceRect());
    storeSignSize();
    update();
}

void CProgram_Layout_view::storeSignSize() {
    SignRecordValues values;
    values.width = programData().ledWidth;
    values.height = programData().ledHeight;
    storeSignRecord(joinPath(startFolder(), kSignListFile), signName_, values);
}

void CProgram_Layout_view::setSizeControlsEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(widthEdit_), widthUpDown_,
                       static_cast<QWidget*>(heightEdit_), heightUpDown_})
        w->setEnabled(enabled);
}

// --- Play, Stop, Send -----------------------------------------------------------------------

bool CProgram_Layout_view::makeRunning() const {
    return make_ && make_->running();
}

QString CProgram_Layout_view::statusText() const {
    if (making_ && !statusTextSet_) return kMakingText;
    if (statusTextSet_) return statusText_;
    if (playing_) return kPlayingText;
    return QString();
}

void CProgram_Layout_view::setStripVisible(bool visible) {
    stripVisible_ = visible;
    update();
}

void CProgram_Layout_view::makeStatus(const std::string& text) {
    if (text == kMakingText) {
        making_ = true;
        statusTextSet_ = false;
    } else {
        statusTextSet_ = true;
        statusText_ = qs(text);
    }
    update();
}

void CProgram_Layout_view::play() {
    if (preview_ || makeRunning()) return;
    active_ = true;
    setSizeControlsEnabled(false);
    previewed_ = false;
    making_ = true;
    playing_ = false;
    statusTextSet_ = false;
    stripVisible_ = true;
    update();
    const bool grey = appProfile().getInt(kProfileSectionSet, "GRAY", 0) == 1;
    make_->start(
        programData(), workspaceFolder(), grey, -1,
        [this](const std::string& text) { makeStatus(text); },
        [this](int count, bool cancelled, const ProgramData& made) {
            lastMakeResult_ = count;
            if (cancelled) {
                emit makeEnded(0);
                return;
            }
            // Make sets a background's hold and speed to 0; the program keeps that.
            ProgramData& program = programData();
            for (int slot = 0; slot < kAreaSlots; ++slot) {
                auto& list = program.areaLists[static_cast<size_t>(slot)];
                const auto& from = made.areaLists[static_cast<size_t>(slot)];
                if (!list.empty() && !from.empty() && list[0].path == from[0].path) {
                    list[0].hold = from[0].hold;
                    list[0].speed = from[0].speed;
                }
            }
            making_ = false;
            playing_ = true;
            statusTextSet_ = false;
            if (active_) {
                preview_ = new PreviewWindow(this);
                preview_->setGeometry(faceRect());
                preview_->show();
                preview_->start("run.at", workspaceFolder());
                previewed_ = true;
                program.needsMake = false;
            }
            update();
            emit makeEnded(count);
        });
}

void CProgram_Layout_view::stop() {
    making_ = false;
    playing_ = false;
    statusTextSet_ = false;
    if (make_) make_->cancel();
    delete preview_;
    preview_ = nullptr;
    setSizeControlsEnabled(true);
    active_ = false;
    update();
}

void CProgram_Layout_view::send() {
    if (previewed_ && lastMakeResult_ != 0 && !programData().needsMake) {
        stop();
        emit sendShowRequested(lastMakeResult_);
        return;
    }
    messages_.show(OperatorMessage{kMsgNotMade, "INFO", MessageIcon::Error, MessageButtons::Ok});
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
    if (element.path.empty()) return;
    const std::string ext = extensionUpper(element.path);
    if (ext == ".JPG" || ext == ".BMP" || ext == ".PNG") {
        QImage image(qs(element.path));
        if (!image.isNull()) p.drawImage(area, image);
    } else if (ext == ".AVI" || ext == ".ZRT" || ext == ".TIM") {
        // The library thumbnail stands in: the kind and name on a dark card.
        p.fillRect(area, QColor(40, 40, 60));
        p.setPen(Qt::lightGray);
        p.drawText(area.adjusted(4, 18, -2, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   qs(fileNameOf(element.path)));
    }
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
    const RegionLines& lines = programData().regionLines;
    for (int i = 0; i < lineCountOf(programData().areaFormat); ++i) {
        const CRegion_Line& line = lines[static_cast<size_t>(i)];
        const Rect& b = line.band;
        if (line.horizontal)
            p.drawLine(o.x() + b.left + 3, o.y() + b.top + 3, o.x() + b.right - 3,
                       o.y() + b.bottom - 3);
        else
            p.drawLine(o.x() + b.left + 3, o.y() + b.top + 3, o.x() + b.left + 3,
                       o.y() + b.bottom - 3);
    }
    const QString status = statusText();
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
    if (preview_) preview_->setGeometry(faceRect());
    update();
}

// --- Mouse -----------------------------------------------------------------------------------

void CProgram_Layout_view::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int x = pos.x() - origin_.x();
    const int y = pos.y() - origin_.y();
    ProgramData& program = programData();
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
        const int line = lineAt(program.areaFormat, program.regionLines, x, y);
        if (line < 0)
            setCursor(Qt::ArrowCursor);
        else
            setCursor(program.regionLines[static_cast<size_t>(line)].horizontal
                          ? Qt::SizeVerCursor
                          : Qt::SizeHorCursor);
        return;
    }
    for (int i = 0; i < lineCountOf(program.areaFormat); ++i) {
        if (program.regionLines[static_cast<size_t>(i)].selected == 1) {
            dragLine(program.areaFormat, program.regionLines, i, x, y);
            break;
        }
    }
    update();
}

void CProgram_Layout_view::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_) return;
    const QPoint pos = event->position().toPoint();
    ProgramData& program = programData();
    const int line = lineAt(program.areaFormat, program.regionLines, pos.x() - origin_.x(),
                            pos.y() - origin_.y());
    if (line >= 0) {
        program.regionLines[static_cast<size_t>(line)].selected = 1;
        dragging_ = true;
    }
}

void CProgram_Layout_view::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    ProgramData& program = programData();
    if (dragging_) {
        for (CRegion_Line& line : program.regionLines) line.selected = 0;
        dragging_ = false;
        setCursor(Qt::ArrowCursor);
        computeLayout();
        update();
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
}

}  // namespace brightline::ui
