#include "editor/ui/program_frame.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include "comm/led_set_data.h"
#include "comm/sign_record_store.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/ui/qt_text.h"
#include "editor/element_list.h"
#include "editor/program_open.h"
#include "editor/resource_libraries.h"
#include "editor/ui/item_view.h"
#include "editor/ui/my_splitter_wnd.h"
#include "editor/ui/program_history.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/program_list_view.h"
#include "editor/ui/property_view.h"
#include "editor/ui/step_guide.h"
#include "editor/ui/thumbnail_service.h"
#include "editor/ui/timeline_view.h"

namespace brightline::ui {

namespace {

constexpr int kListRowHeight = 200;
constexpr int kScreenReserve = 368;
constexpr int kMinPropertyWidth = 180;
constexpr const char* kMsgNoTextPage =
    "The ZRT library holds no text page yet: add one first (Step (2)   Add ZRT file).";

}  // namespace

CProgramFrame::CProgramFrame(const QString& programPath, bool newProgram, bool showGuide,
                             int firstTab, PlaySession& session, OperatorMessages& messages,
                             QWidget* parent)
    : QWidget(parent), path_(programPath), messages_(messages) {
    setObjectName("CProgramFrame");
    setWindowTitle(path_);
    ProgramData& program = programData();
    openProgram(ss(path_), program, messages_);
    const std::string signName =
        appProfile().getString(kProfileSectionSet, "LED_NAME", kDefaultSignName);
    if (newProgram) {
        int width = program.ledWidth, height = program.ledHeight;
        if (readSignSize(joinPath(startFolder(), kSignListFile), signName, width, height)) {
            program.ledWidth = width;
            program.ledHeight = height;
        }
    }
    thumbnails_ = new ThumbnailService(this);
    history_ = new ProgramHistory(
        program, [this] { return save(); }, this);

    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    rows_ = new CMy_SplitterWnd(Qt::Vertical, this);
    columns_ = new CMy_SplitterWnd(Qt::Horizontal, rows_);
    property_ = new CPropertyView(firstTab, *thumbnails_, messages_, columns_);
    layout_ = new CProgram_Layout_view(program, session, *thumbnails_, signName, columns_);
    columns_->addWidget(property_);
    columns_->addWidget(layout_);
    programList_ = new CProgramMenuView(program, *thumbnails_, messages_, rows_);
    rows_->addWidget(columns_);
    rows_->addWidget(programList_);
    connect(toolbar->addAction("Add Resource "), &QAction::triggered, property_,
            &CPropertyView::addResource);
    connect(toolbar->addAction("Del Resource "), &QAction::triggered, property_,
            &CPropertyView::deleteResources);
    connect(toolbar->addAction("Set Delay"), &QAction::triggered, this,
            &CProgramFrame::setDelayOfSelected);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 768;
    rows_->setPaneSizes(
        {std::max(kMinPropertyWidth + 20, screenHeight - kScreenReserve), kListRowHeight});
    const int clientWidth = parent ? parent->width() : 1024;
    columns_->setPaneSizes(
        {std::max(100, clientWidth - std::max(program.ledWidth, kMinPropertyWidth)),
         program.ledWidth});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(rows_, 1);

    wireViews();
    layout_->initialUpdate();
    history_->reset();

    if (showGuide && appProfile().getInt(kProfileSectionSet, "SHOW_STEP_PROGRAM", 0) == 0) {
        guide_ = new CStepGuide(this);
        guide_->setWindowFlag(Qt::Window);
        connect(guide_, &CStepGuide::stepChosen, this, &CProgramFrame::guideStep,
                Qt::QueuedConnection);
        guide_->show();
    }
}

CProgramFrame::~CProgramFrame() = default;

void CProgramFrame::wireViews() {
    CProgram_Menu_view* items = programList_->itemView();
    CProgram_Menu_Time_view* timeline = programList_->timelineView();
    auto commit = [this](const QString& what, bool save) { history_->commit(what, save); };
    connect(layout_, &CProgram_Layout_view::areaSelected, this, [this, items, timeline](int slot) {
        selectedArea_ = slot;
        items->selectArea(slot);
        timeline->setCurrentArea(slot);
    });
    connect(layout_, &CProgram_Layout_view::areaCountChanged, timeline,
            &CProgram_Menu_Time_view::setAreaCount);
    connect(
        layout_, &CProgram_Layout_view::edited, this,
        [this](const QString& what, bool save, int merge) { history_->commit(what, save, merge); });
    connect(items, &CProgram_Menu_view::edited, this, commit);
    connect(timeline, &CProgram_Menu_Time_view::edited, this, commit);
    connect(items, &CProgram_Menu_view::elementShown, this, &CProgramFrame::showElement);
    connect(timeline, &CProgram_Menu_Time_view::elementShown, this, &CProgramFrame::showElement);
    connect(items, &CProgram_Menu_view::edited, timeline, &CProgram_Menu_Time_view::refresh);
    connect(timeline, &CProgram_Menu_Time_view::edited, items, &CProgram_Menu_view::refresh);
    connect(items, &CProgram_Menu_view::openMediumRequested, this,
            &CProgramFrame::openMediumRequested);
    connect(property_, &CPropertyView::openMediumRequested, this,
            &CProgramFrame::openMediumRequested);
    connect(property_, &CPropertyView::tabChanged, this, &CProgramFrame::propertyTabChanged);
    connect(history_, &ProgramHistory::restored, this, [this, items, timeline] {
        layout_->programRestored();
        items->refresh();
        timeline->refresh();
    });
}

QUndoStack* CProgramFrame::undoStack() const {
    return history_->stack();
}

void CProgramFrame::showElement(int area, int index) {
    if (!layout_) return;
    const CElement* element = findElement(programData(), area, index);
    layout_->showElementInArea(area, element ? element->path : std::string(),
                               element ? element->thumbIndex : -1);
}

void CProgramFrame::setProgramPath(const QString& path) {
    path_ = path;
    setWindowTitle(path_);
}

bool CProgramFrame::save() {
    std::string error;
    if (saveProgram(ss(path_), programData(), &error)) {
        if (history_) history_->markSaved();
        return true;
    }
    messages_.show(OperatorMessage{ss(path_) + " could not be saved: " + error, "Error",
                                   MessageIcon::Error, MessageButtons::Ok});
    return false;
}

void CProgramFrame::setDelayOfSelected() {
    CProgram_Menu_view* items = programList_->itemView();
    items->setDelayOf(items->selectedIndex());
}

void CProgramFrame::insertFirstTextPage() {
    property_->setCurrentTab(kTabTextPage);
    LibraryList library;
    library.load(joinPath(startFolder(), kTextPageLibrary));
    if (library.shownCount() == 0) {
        messages_.show(kMsgNoTextPage, "INFO", MessageIcon::Information);
        return;
    }
    const int index = insertElement(programData(), droppedItem(library.shownPath(0), 0), 0, 1);
    CProgram_Menu_view* items = programList_->itemView();
    items->refresh();
    programList_->timelineView()->refresh();
    showElement(0, index);
    history_->commit("Add " + qs(fileNameOf(library.shownPath(0))), true);
}

void CProgramFrame::guideStep(int step) {
    if (closing_) return;  // a step queued just before the frame closed
    switch (step) {
        case 1: {
            const QString path = qs(startFolder()) + "/NEWTXT.ZRT";
            QFile::remove(path);
            emit openMediumRequested(path);
            break;
        }
        case 2:
            property_->setCurrentTab(kTabTextPage);
            property_->addResource();
            break;
        case 3:
            insertFirstTextPage();
            break;
        case 4:
            layout_->setStripVisible(true);
            layout_->play();
            break;
        case 5:
            layout_->send();
            break;
        default:
            break;
    }
}

void CProgramFrame::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    if (guide_) guide_->close();
    // An area format, a dividing line or a sign size not written yet is not dropped unasked.
    if (history_->unsavedEdits() &&
        messages_.show(OperatorMessage{"Save changes to " + ss(path_), "Save changes",
                                       MessageIcon::Question, MessageButtons::YesNo}) ==
            MessageAnswer::Yes)
        save();
    // The layout view cancels and waits for a running Make, then stops the preview.
    delete layout_;
    layout_ = nullptr;
    programData().clearLists();
    if (!closedByOwner_) emit closed(this);
    event->accept();
}

}  // namespace brightline::ui
