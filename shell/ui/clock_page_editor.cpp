#include "shell/ui/clock_page_editor.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "common/folders.h"
#include "common/time_zone.h"
#include "common/ui/qt_text.h"
#include "engine/content/clock_page_renderer.h"
#include "shell/file_dispatch.h"

namespace brightline::ui {

namespace {

constexpr int kFastMs = 100;
constexpr int kSlowMs = 200;
constexpr int kToolbarHeight = 52;
constexpr int kFallbackFont = 2;

int namedFontCount(const FontTable& fonts) {
    return std::max(0, fonts.count() - 1);
}

// A toolbar picture: a letter or two on a tile.
QIcon tile(const QString& text, QColor colour) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(text.size() > 1 ? 12 : 18);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

}  // namespace

// --- The preview ----------------------------------------------------------------------------

ClockPreview::ClockPreview(int signWidth, int signHeight, const FontTable& fonts, QWidget* parent)
    : QWidget(parent),
      width_(std::max(1, signWidth)),
      height_(std::max(1, signHeight)),
      fonts_(fonts),
      timeLayer_(size_t(width_) * size_t(height_), 0u),
      otherLayer_(size_t(width_) * size_t(height_), 0u) {
    setObjectName("clockPreview");
    setMinimumSize(width_ + 6, height_ + 6);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    fast_ = new QTimer(this);
    slow_ = new QTimer(this);
    connect(fast_, &QTimer::timeout, this, [this] {
        drawLayer(true);
        update();
    });
    connect(slow_, &QTimer::timeout, this, [this] {
        drawLayer(false);
        update();
    });
    fast_->start(kFastMs);
    slow_->start(kSlowMs);
}

void ClockPreview::setPage(const ClockPageDocument* page, int selected) {
    page_ = page;
    selected_ = selected;
    redraw();
}

CivilTime ClockPreview::now() const {
    const std::time_t utc =
        clock_ ? static_cast<std::time_t>(clock_->nowUtc()) : std::time(nullptr);
    std::tm local{};
    localtime_r(&utc, &local);
    return civilFromSeconds(secondsFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                             local.tm_hour, local.tm_min, local.tm_sec));
}

void ClockPreview::drawLayer(bool timeItem) {
    std::vector<uint32_t>& layer = timeItem ? timeLayer_ : otherLayer_;
    if (!page_) {
        std::fill(layer.begin(), layer.end(), 0u);
        return;
    }
    ClockPage page = clockPageOf(*page_);
    if (timeItem) {
        page.date.shown = page.week.shown = false;
        page.temperature.shown = page.title.shown = false;
    } else {
        page.time.shown = false;
    }
    const CivilTime shown = now();
    content::drawClockFields(page, shown, fonts_, layer.data(), width_, height_);
    if (!timeItem)
        content::drawClockExtras(page, std::nullopt, fonts_, layer.data(), width_, height_);
}

void ClockPreview::redraw() {
    drawLayer(false);
    drawLayer(true);
    update();
}

QImage ClockPreview::face() const {
    QImage image(width_, height_, QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width_; ++x) {
            const size_t i = size_t(y) * size_t(width_) + size_t(x);
            const uint32_t pixel = timeLayer_[i] ? timeLayer_[i] : otherLayer_[i];
            row[x] = pixel | 0xFF000000u;
        }
    }
    return image;
}

int ClockPreview::zoom() const {
    return std::max(1, std::min((width() - 6) / width_, (height() - 6) / height_));
}

void ClockPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(64, 64, 64));
    const int z = zoom();
    const QRect face((width() - width_ * z) / 2, (height() - height_ * z) / 2, width_ * z,
                     height_ * z);
    p.drawImage(face, this->face());
    p.setPen(QColor(160, 160, 160));
    p.drawRect(face.adjusted(-1, -1, 0, 0));
    if (!page_) return;
    // The selected item's frame around its characters as the sign places them (a cell and one
    // column apart), as high as the font.
    const ClockItem& item = page_->items[static_cast<size_t>(selected_)];
    if (!item.shown) return;
    const int font = fonts_.fontForIndex(item.fontIndex);
    const int chars = static_cast<int>(clockItemText(item, now()).size());
    const QRect frame(face.left() + item.x * z, face.top() + item.y * z,
                      std::max(1, chars * (fonts_.width(font) + 1) - 1) * z,
                      std::max(1, fonts_.height(font)) * z);
    p.setPen(QPen(QColor(255, 220, 0), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-1, -1, 0, 0));
}

// --- The editor -----------------------------------------------------------------------------

ClockPageEditor::ClockPageEditor(const QString& path, int signWidth, int signHeight,
                                 bool openedFromFile, const FontTable& fonts,
                                 OperatorMessages& messages, QWidget* parent)
    : QDialog(parent),
      messages_(messages),
      fonts_(fonts),
      signWidth_(signWidth),
      signHeight_(signHeight),
      path_(path),
      savedZone_(processTimeZoneVariable()) {
    setObjectName("EditZTIME");
    setWindowTitle(path_.isEmpty() ? QString("New") : path_);

    toolbar_ = new QToolBar(this);
    // At least the designed height; more where the captions under the pictures need it.
    toolbar_->setMinimumHeight(kToolbarHeight);
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* s = style();
    toolbar_->addAction(s->standardIcon(QStyle::SP_FileIcon), "New", this,
                        &ClockPageEditor::newPage);
    toolbar_->addAction(s->standardIcon(QStyle::SP_DialogOpenButton), "Open", this,
                        &ClockPageEditor::openPage);
    toolbar_->addAction(s->standardIcon(QStyle::SP_DialogSaveButton), "Save", this,
                        [this] { save(); });
    toolbar_->addAction(tile("As", QColor(40, 110, 190)), "Saveas", this, [this] { saveAs(); });
    toolbar_->addSeparator();
    toolbar_->addAction(tile("C", QColor(200, 40, 40)), "Colour", this,
                        &ClockPageEditor::chooseColour);
    toolbar_->addAction(tile("TZ", QColor(30, 140, 70)), "Zone", this, &ClockPageEditor::zone);

    preview_ = new ClockPreview(signWidth_, signHeight_, fonts_, this);

    selector_ = new QComboBox(this);
    selector_->setObjectName("clockItemSelector");
    x_ = new QSpinBox(this);
    y_ = new QSpinBox(this);
    x_->setRange(0, std::max(0, signWidth_));
    y_->setRange(0, std::max(0, signHeight_));
    format_ = new QComboBox(this);
    format_->setEditable(true);
    format_->setInsertPolicy(QComboBox::NoInsert);
    font_ = new QComboBox(this);
    for (const ClockFont& f : kClockFonts) font_->addItem(f.name, f.index);
    auto* form = new QFormLayout;
    form->addRow(selector_);
    form->addRow("X:", x_);
    form->addRow("Y:", y_);
    form->addRow(format_);
    form->addRow("font :", font_);
    auto* shows = new QVBoxLayout;
    for (int kind = 0; kind < kClockItemCount; ++kind) {
        show_[kind] = new QCheckBox(kClockShowCaptions[static_cast<size_t>(kind)], this);
        shows->addWidget(show_[kind]);
    }
    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addLayout(shows);
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(preview_, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    layout->addWidget(toolbar_);
    layout->addLayout(body, 1);

    chooseFile_ = [this](bool forSave) {
        const QString filter = "Time FILE(*.TIM) (*.TIM *.tim)";
        if (forSave) return QFileDialog::getSaveFileName(this, "Save As", path_, filter);
        return QFileDialog::getOpenFileName(this, "Open", qs(startFolder()), filter);
    };
    chooseColour_ = [this](const QColor& colour) {
        return QColorDialog::getColor(colour, this, "Colour");
    };
    startSettings_ = [] {
        const char* path = std::getenv("PATH");
        const OutsideProgram program = dateTimeSettingsProgram(path ? path : "");
        if (program.argv.empty()) return false;
        QStringList arguments;
        for (size_t i = 1; i < program.argv.size(); ++i) arguments << qs(program.argv[i]);
        return QProcess::startDetached(qs(program.argv[0]), arguments);
    };

    connect(selector_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!updating_ && index >= 0) selectItem(selector_->itemData(index).toInt());
    });
    connect(x_, &QSpinBox::valueChanged, this, [this](int value) {
        if (updating_) return;
        item().x = std::min(value, signWidth_);
        touched();
    });
    connect(y_, &QSpinBox::valueChanged, this, [this](int value) {
        if (updating_) return;
        item().y = std::min(value, signHeight_);
        touched();
    });
    connect(format_, &QComboBox::activated, this, [this](int index) {
        if (updating_) return;
        item().format = ss(format_->itemText(index));
        // Choosing from the list also takes the font list's choice.
        item().fontIndex = font_->currentData().toInt();
        touched();
    });
    connect(format_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (updating_) return;
        item().format = ss(text);
        touched();
    });
    connect(font_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating_ || index < 0) return;
        item().fontIndex = font_->itemData(index).toInt();
        touched();
    });
    for (int kind = 0; kind < kClockItemCount; ++kind) {
        connect(show_[kind], &QCheckBox::toggled, this, [this, kind](bool on) {
            if (updating_) return;
            page_.items[static_cast<size_t>(kind)].shown = on;
            refillSelector();
            touched();
        });
    }

    if (openedFromFile) {
        loadFrom(path_);
    } else {
        page_ = newClockPageDocument(currentTimeZone(), namedFontCount(fonts_));
        modified_ = true;
        refillSelector();
    }
    resize(760, 420);
}

ClockPageEditor::~ClockPageEditor() {
    if (!finished_) setProcessTimeZone(savedZone_);
}

void ClockPageEditor::setClock(std::shared_ptr<const UtcClock> clock) {
    clock_ = clock;
    preview_->setClock(std::move(clock));
    preview_->redraw();
}

QAction* ClockPageEditor::action(const char* caption) const {
    for (QAction* a : toolbar_->actions())
        if (a->text() == caption) return a;
    return nullptr;
}

QString ClockPageEditor::shownText(int kind) const {
    const std::time_t utc =
        clock_ ? static_cast<std::time_t>(clock_->nowUtc()) : std::time(nullptr);
    std::tm local{};
    localtime_r(&utc, &local);
    const CivilTime now =
        civilFromSeconds(secondsFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                          local.tm_hour, local.tm_min, local.tm_sec));
    return qs(clockItemText(page_.items[static_cast<size_t>(kind)], now));
}

void ClockPageEditor::loadFrom(const QString& path) {
    path_ = path;
    setWindowTitle(path_);
    std::string error;
    if (!loadClockPageDocument(ss(path_), namedFontCount(fonts_), page_, &error))
        messages_.show(
            OperatorMessage{error, "Warning!", MessageIcon::Warning, MessageButtons::Ok});
    applyPageZone();
    modified_ = false;
    refillSelector();
}

void ClockPageEditor::applyPageZone() {
    // A zone that cannot be set is passed over: the page still loads.
    setProcessTimeZone(posixZoneOf(page_, currentTimeZone()));
}

void ClockPageEditor::refillSelector() {
    updating_ = true;
    selector_->clear();
    for (int kind = 0; kind < kClockItemCount; ++kind) {
        show_[kind]->setChecked(page_.items[static_cast<size_t>(kind)].shown);
        if (page_.items[static_cast<size_t>(kind)].shown)
            selector_->addItem(kClockItemNames[static_cast<size_t>(kind)], kind);
    }
    updating_ = false;
    const bool any = selector_->count() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{selector_, x_, y_, format_, font_})
        w->setEnabled(any);
    if (any) {
        selector_->setCurrentIndex(0);
        selectItem(selector_->itemData(0).toInt());
    } else {
        preview_->setPage(&page_, current_);
    }
}

void ClockPageEditor::selectItem(int kind) {
    current_ = kind;
    updating_ = true;
    const ClockItem& it = item();
    x_->setValue(it.x);
    y_->setValue(it.y);
    format_->clear();
    for (const std::string& f : clockFormats(it)) format_->addItem(qs(f));
    int at = format_->findText(qs(it.format));
    if (at < 0 && !it.format.empty()) {
        format_->addItem(qs(it.format));
        at = format_->count() - 1;
    }
    format_->setCurrentIndex(at);
    format_->setEditText(qs(it.format));
    font_->setCurrentIndex(font_->findData(it.fontIndex));
    updating_ = false;
    preview_->setPage(&page_, current_);
}

void ClockPageEditor::touched() {
    modified_ = true;
    preview_->redraw();
}

void ClockPageEditor::newPage() {
    path_.clear();
    setWindowTitle("New");
    setProcessTimeZone(savedZone_);
    page_ = newClockPageDocument(currentTimeZone(), namedFontCount(fonts_));
    modified_ = true;
    refillSelector();
}

void ClockPageEditor::openPage() {
    const QString chosen = chooseFile_(false);
    if (chosen.isEmpty()) return;
    loadFrom(chosen);
}

bool ClockPageEditor::save() {
    if (path_.isEmpty()) return saveAs();
    if (!modified_) return true;
    takeZone(page_, currentTimeZone());
    std::string error;
    if (!saveClockPageDocument(ss(path_), page_, &error)) {
        messages_.show(OperatorMessage{error, "Error", MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    modified_ = false;
    return true;
}

bool ClockPageEditor::saveAs() {
    takeZone(page_, currentTimeZone());
    QString chosen = chooseFile_(true);
    // A cancelled Save As keeps the page marked as changed: closing still asks.
    if (chosen.isEmpty()) return false;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".TIM";
    std::string error;
    if (!saveClockPageDocument(ss(chosen), page_, &error)) {
        messages_.show(OperatorMessage{error, "Error", MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    path_ = chosen;
    modified_ = false;
    setWindowTitle(path_);
    return true;
}

void ClockPageEditor::chooseColour() {
    const uint32_t c = item().colour;
    const QColor chosen = chooseColour_(QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    if (!chosen.isValid()) return;
    item().colour = static_cast<uint32_t>(chosen.red()) << 16 |
                    static_cast<uint32_t>(chosen.green()) << 8 |
                    static_cast<uint32_t>(chosen.blue());
    touched();
}

void ClockPageEditor::zone() {
    takeZone(page_, currentTimeZone());
    touched();
    if (!startSettings_())
        messages_.show(OperatorMessage{noDateTimeSettingsMessage(), "Info",
                                       MessageIcon::Information, MessageButtons::Ok});
}

bool ClockPageEditor::finish() {
    if (finished_) return true;
    if (modified_) {
        const MessageAnswer answer = messages_.show(OperatorMessage{
            kMsgSaveTim, "Save", MessageIcon::Question, MessageButtons::YesNoCancel});
        if (answer == MessageAnswer::Cancel) return false;
        if (answer == MessageAnswer::Yes && !save()) return false;
    }
    finished_ = true;
    if (!setProcessTimeZone(savedZone_))
        messages_.show(OperatorMessage{kMsgZoneRestoreFailed, "Info", MessageIcon::Information,
                                       MessageButtons::Ok});
    return true;
}

void ClockPageEditor::closeEvent(QCloseEvent* event) {
    if (finish())
        event->accept();
    else
        event->ignore();
}

void ClockPageEditor::reject() {
    if (finish()) QDialog::reject();
}

void runClockPageEditor(QWidget* parent, const std::string& path, int signWidth, int signHeight,
                        bool openedFromFile, const FontTable& fonts, OperatorMessages& messages) {
    ClockPageEditor editor(qs(path), signWidth, signHeight, openedFromFile, fonts, messages,
                           parent);
    editor.exec();
}

}  // namespace brightline::ui
