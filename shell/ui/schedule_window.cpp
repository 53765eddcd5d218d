#include "shell/ui/schedule_window.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <ctime>

#include "common/folders.h"
#include "common/paths.h"
#include "common/ui/qt_text.h"
#include "shell/schedule_compiler.h"
#include "shell/ui/schedule_entry_dialog.h"

namespace brightline::ui {

namespace {

constexpr int kProgramColumnWidth = 160;
constexpr int kScheduleColumnLess = 180;
constexpr int kRowHeight = 24;
constexpr int kToolbarStrip = 60;
constexpr int kCheckedDays = 30;

// The row image: a small clock face.
QIcon rowIcon() {
    QPixmap pixmap(kRowHeight, kRowHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 0, 0), 2));
    p.setBrush(QColor(255, 240, 230));
    p.drawEllipse(QRectF(3, 3, 18, 18));
    p.drawLine(QPointF(12, 12), QPointF(12, 6));
    p.drawLine(QPointF(12, 12), QPointF(16, 14));
    return QIcon(pixmap);
}

QDateTime askMoment(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Preview at");
    auto* label = new QLabel("Play the schedule as the sign would from:", &dialog);
    auto* edit = new QDateTimeEdit(QDateTime::currentDateTime(), &dialog);
    edit->setObjectName("previewMoment");
    edit->setCalendarPopup(true);
    edit->setDisplayFormat("yyyy-MM-dd HH:mm:ss");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return {};
    return edit->dateTime();
}

CivilTime nowLocal() {
    return civilTimeOf(QDateTime::currentDateTime());
}

}  // namespace

CivilTime civilTimeOf(const QDateTime& moment) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    return civilFromSeconds(
        secondsFromCivil(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()));
}

ScheduleWindow::ScheduleWindow(const QString& path, std::vector<CAT_Data>& entries,
                               OperatorMessages& messages, QWidget* parent)
    : QFrame(parent), path_(path), entries_(entries), messages_(messages) {
    setObjectName("ScheduleWindow");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    list_ = new QTableWidget(0, 2, this);
    list_->setHorizontalHeaderLabels({"Program", "Schedule"});
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setIconSize(QSize(kRowHeight, kRowHeight));
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setColumnWidth(0, kProgramColumnWidth);
    list_->setWordWrap(false);
    list_->setTextElideMode(Qt::ElideLeft);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);

    auto* checks = new QWidget(this);
    auto* checksLabel = new QLabel(
        QString("What the sign will do in the next %1 days (warnings only; sending stays "
                "possible):")
            .arg(kCheckedDays),
        checks);
    findingsList_ = new QListWidget(checks);
    findingsList_->setObjectName("scheduleFindings");
    findingsList_->setWordWrap(true);
    auto* checksLayout = new QVBoxLayout(checks);
    checksLayout->setContentsMargins(0, 4, 0, 0);
    checksLayout->addWidget(checksLabel);
    checksLayout->addWidget(findingsList_);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(list_);
    split->addWidget(checks);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName("scheduleToolbar");
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setFixedHeight(kToolbarStrip);
    QStyle* s = style();
    toolbar_->addAction(s->standardIcon(QStyle::SP_FileDialogNewFolder), kAddSchedule, this,
                        &ScheduleWindow::addSchedule);
    toolbar_->addAction(s->standardIcon(QStyle::SP_TrashIcon), kDelSchedule, this,
                        &ScheduleWindow::deleteSchedule);
    toolbar_->addSeparator();
    toolbar_->addAction(s->standardIcon(QStyle::SP_MediaPlay), kPreviewAt, this,
                        &ScheduleWindow::previewAt);
    toolbar_->addAction(s->standardIcon(QStyle::SP_DialogCloseButton), kCloseSchedule, this,
                        [this] { emit closeRequested(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 20, 10, 0);
    layout->setSpacing(0);
    layout->addWidget(split, 1);
    layout->addWidget(toolbar_);

    menuTimer_ = new QTimer(this);
    menuTimer_->setSingleShot(true);
    connect(menuTimer_, &QTimer::timeout, this, [this] {
        if (QMenu* menu = contextMenuFor(menuRow_)) menu->popup(menuAt_);
    });

    checkOptions_ = [this] {
        ScheduleCheckOptions o;
        o.scheduleFolder = folderOf(ss(path_));
        const CivilTime today = nowLocal();
        o.fromYear = today.year;
        o.fromMonth = today.month;
        o.fromDay = today.day;
        o.days = kCheckedDays;
        return o;
    };
    chooseProgram_ = [this] {
        return QFileDialog::getOpenFileName(this, "Open", qs(startFolder()),
                                            "Program File (*.ZPF *.zpf)");
    };
    chooseMoment_ = [this] { return askMoment(this); };

    std::string error;
    switch (loadSchedule(ss(path_), entries_, &error)) {
        case ScheduleLoadResult::Loaded:
        case ScheduleLoadResult::NotOpened:  // a new schedule
            break;
        case ScheduleLoadResult::WrongMark: {
            std::string text = kScheduleTypeError;
            text.replace(text.find("%s"), 2, ss(path_));
            messages_.show(OperatorMessage{text, "", MessageIcon::None, MessageButtons::Ok});
            break;
        }
        case ScheduleLoadResult::Corrupt:
            messages_.show(OperatorMessage{ss(path_) + " could not be read: " + error, "Warning!",
                                           MessageIcon::Warning, MessageButtons::Ok});
            break;
    }
    fillList();
    select(entries_.empty() ? -1 : 0);
    check();
}

ScheduleWindow::~ScheduleWindow() = default;

QAction* ScheduleWindow::action(const char* caption) const {
    for (QAction* a : toolbar_->actions())
        if (a->text() == caption) return a;
    return nullptr;
}

void ScheduleWindow::setCheckOptions(std::function<ScheduleCheckOptions()> options) {
    checkOptions_ = std::move(options);
    check();
}

void ScheduleWindow::check() {
    ScheduleCheckOptions options = checkOptions_();
    if (options.scheduleFolder.empty()) options.scheduleFolder = folderOf(ss(path_));
    findings_ = checkSchedule(entries_, options);
    findingsList_->clear();
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const ScheduleFinding& f : findings_)
        findingsList_->addItem(new QListWidgetItem(warning, qs(f.text)));
    if (findings_.empty())
        findingsList_->addItem(new QListWidgetItem(
            style()->standardIcon(QStyle::SP_DialogApplyButton),
            QString("Nothing to warn about: one program plays at every minute of the next %1 "
                    "days.")
                .arg(options.days)));
}

void ScheduleWindow::fillList() {
    list_->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) setRow(row);
}

void ScheduleWindow::setRow(int row) {
    static const QIcon icon = rowIcon();
    const CAT_Data& e = entries_[static_cast<size_t>(row)];
    auto* program = new QTableWidgetItem(icon, qs(e.programPath));
    auto* schedule = new QTableWidgetItem(qs(describeScheduleEntry(e)));
    program->setToolTip(qs(e.programPath));
    for (QTableWidgetItem* item : {program, schedule}) item->setForeground(Qt::red);
    list_->setItem(row, 0, program);
    list_->setItem(row, 1, schedule);
}

void ScheduleWindow::select(int row) {
    if (row < 0 || row >= list_->rowCount()) {
        list_->clearSelection();
        return;
    }
    list_->setCurrentCell(row, 0);
    list_->selectRow(row);
}

int ScheduleWindow::selectedRow() const {
    const QList<QTableWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return -1;
    const int row = selected.front()->row();
    return row < static_cast<int>(entries_.size()) ? row : -1;
}

bool ScheduleWindow::save() {
    std::string error;
    if (saveSchedule(ss(path_), entries_, &error)) return true;
    messages_.show(OperatorMessage{ss(path_) + " could not be saved: " + error, "Error",
                                   MessageIcon::Error, MessageButtons::Ok});
    return false;
}

bool ScheduleWindow::saveAs(const QString& path) {
    path_ = path;
    const bool saved = save();
    check();
    return saved;
}

void ScheduleWindow::changedAndSave() {
    save();
    check();
    emit changed();
}

void ScheduleWindow::showDialog(const CAT_Data& entry, std::function<void(const CAT_Data&)> done) {
    if (dialog_) return;
    auto* dialog = new CScheduleDialog(entry, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog_ = dialog;
    // Finished comes first: from then on another dialog may open.
    connect(dialog, &QDialog::finished, this, [this] { dialog_ = nullptr; });
    connect(dialog, &QDialog::accepted, this, [dialog, done] { done(dialog->entry()); });
    dialog->open();
}

void ScheduleWindow::addSchedule() {
    const QString program = chooseProgram_();
    if (program.isEmpty()) return;
    showDialog(newScheduleEntry(ss(program), nowLocal()), [this](const CAT_Data& e) {
        entries_.push_back(e);
        list_->setRowCount(static_cast<int>(entries_.size()));
        setRow(static_cast<int>(entries_.size()) - 1);
        select(static_cast<int>(entries_.size()) - 1);
        changedAndSave();
    });
}

void ScheduleWindow::deleteSchedule() {
    const int row = selectedRow();
    if (row < 0) return;
    entries_.erase(entries_.begin() + row);
    list_->removeRow(row);
    select(std::min(row, list_->rowCount() - 1));
    changedAndSave();
}

void ScheduleWindow::editSchedule() {
    const int row = selectedRow();
    if (row < 0) return;
    showDialog(entries_[static_cast<size_t>(row)], [this, row](const CAT_Data& e) {
        if (row >= static_cast<int>(entries_.size())) return;
        entries_[static_cast<size_t>(row)] = e;
        setRow(row);
        select(row);
        changedAndSave();
    });
}

void ScheduleWindow::openProgram() {
    const int row = selectedRow();
    const std::string program =
        row < 0 ? std::string()
                : scheduleProgramPath(folderOf(ss(path_)),
                                      entries_[static_cast<size_t>(row)].programPath);
    emit openProgramRequested(qs(program));
}

void ScheduleWindow::moveUp() {
    const int row = selectedRow();
    if (row < 1) return;
    std::swap(entries_[static_cast<size_t>(row)], entries_[static_cast<size_t>(row - 1)]);
    setRow(row);
    setRow(row - 1);
    select(row - 1);
    changedAndSave();
}

void ScheduleWindow::moveDown() {
    const int row = selectedRow();
    if (row < 0 || row + 1 >= static_cast<int>(entries_.size())) return;
    std::swap(entries_[static_cast<size_t>(row)], entries_[static_cast<size_t>(row + 1)]);
    setRow(row);
    setRow(row + 1);
    select(row + 1);
    list_->setFocus();
    changedAndSave();
}

void ScheduleWindow::previewAt() {
    const QDateTime moment = chooseMoment_();
    if (moment.isValid()) emit previewRequested(civilTimeOf(moment));
}

QMenu* ScheduleWindow::contextMenuFor(int row) {
    if (row < 0 || row >= list_->rowCount()) return nullptr;
    select(row);
    delete menu_;
    menu_ = new QMenu(this);
    menu_->addAction("Open Program (Space)", this, &ScheduleWindow::openProgram);
    menu_->addAction("Edit Schedule (Enter)", this, &ScheduleWindow::editSchedule);
    menu_->addAction("MoveUp (Left)", this, &ScheduleWindow::moveUp);
    menu_->addAction("MoveDown (Right)", this, &ScheduleWindow::moveDown);
    return menu_;
}

bool ScheduleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::Resize) {
        list_->setColumnWidth(1, std::max(80, list_->width() - kScheduleColumnLess));
        return false;
    }
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Delete:
                deleteSchedule();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                editSchedule();
                return true;
            case Qt::Key_Space:
                openProgram();
                return true;
            case Qt::Key_Left:
                moveUp();
                return true;
            case Qt::Key_Right:
                moveDown();
                return true;
            default:
                return false;
        }
    }
    if (watched == list_->viewport() && (event->type() == QEvent::MouseButtonDblClick ||
                                         event->type() == QEvent::MouseButtonRelease)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonDblClick) {
            const int row = list_->rowAt(mouse->position().toPoint().y());
            if (row < 0) return true;
            select(row);
            if (mouse->button() == Qt::RightButton) {
                menuTimer_->stop();
                openProgram();
            } else if (mouse->button() == Qt::LeftButton) {
                editSchedule();
            }
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::RightButton) {
            const int row = list_->rowAt(mouse->position().toPoint().y());
            if (row < 0) return false;  // outside the rows: no menu
            menuRow_ = row;
            menuAt_ = mouse->globalPosition().toPoint();
            menuTimer_->start(QApplication::doubleClickInterval());
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace brightline::ui
