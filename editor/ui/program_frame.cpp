#include "editor/ui/program_frame.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include "comm/led_set_data.h"
#include "comm/sign_record_store.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/profile.h"
#include "editor/program_open.h"
#include "editor/resource_library.h"
#include "editor/ui/my_splitter_wnd.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/property_view.h"
#include "editor/ui/step_guide.h"

namespace brightline::ui {

namespace {

constexpr int kListRowHeight = 200;
constexpr int kScreenReserve = 368;
constexpr int kMinPropertyWidth = 180;
constexpr int kTextPageTab = 5;

std::string ss(const QString& s) {
    return s.toStdString();
}

}  // namespace

CProgramFrame::CProgramFrame(const QString& programPath, bool newProgram, bool showGuide,
                             int firstTab, OperatorMessages& messages, QWidget* parent)
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

    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(toolbar->addAction("Add Resource "), &QAction::triggered, this,
            [this] { notAvailable("Adding to a resource library"); });
    connect(toolbar->addAction("Del Resource "), &QAction::triggered, this,
            [this] { notAvailable("Deleting from a resource library"); });
    connect(toolbar->addAction("Set Delay"), &QAction::triggered, this,
            [this] { notAvailable("Setting the delay of an item"); });

    rows_ = new CMy_SplitterWnd(Qt::Vertical, this);
    columns_ = new CMy_SplitterWnd(Qt::Horizontal, rows_);
    property_ = new CPropertyView(firstTab, columns_);
    layout_ = new CProgram_Layout_view(messages_, signName, columns_);
    columns_->addWidget(property_);
    columns_->addWidget(layout_);
    programList_ = new QLabel(rows_);
    programList_->setObjectName("CProgramMenuView");
    programList_->setAutoFillBackground(true);
    rows_->addWidget(columns_);
    rows_->addWidget(programList_);

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

    layout_->initialUpdate();
    connect(layout_, &CProgram_Layout_view::sendShowRequested, this,
            &CProgramFrame::sendShowRequested);
    connect(layout_, &CProgram_Layout_view::areaSelected, this,
            [this](int slot) { selectedArea_ = slot; });
    connect(property_, &CPropertyView::tabChanged, this, &CProgramFrame::propertyTabChanged);

    if (showGuide && appProfile().getInt(kProfileSectionSet, "SHOW_STEP_PROGRAM", 0) == 0) {
        guide_ = new CStepGuide(this);
        guide_->setWindowFlag(Qt::Window);
        connect(guide_, &CStepGuide::stepChosen, this, &CProgramFrame::guideStep,
                Qt::QueuedConnection);
        guide_->show();
    }
}

CProgramFrame::~CProgramFrame() = default;

void CProgramFrame::setProgramPath(const QString& path) {
    path_ = path;
    setWindowTitle(path_);
}

bool CProgramFrame::save() {
    std::string error;
    if (saveProgram(ss(path_), programData(), &error)) return true;
    messages_.show(OperatorMessage{ss(path_) + " could not be saved: " + error, "Error",
                                   MessageIcon::Error, MessageButtons::Ok});
    return false;
}

void CProgramFrame::notAvailable(const char* what) {
    messages_.show(OperatorMessage{std::string(what) + " is not available yet.", "INFO",
                                   MessageIcon::Information, MessageButtons::Ok});
}

void CProgramFrame::guideStep(int step) {
    if (closing_) return;  // a step queued just before the frame closed
    switch (step) {
        case 1: {
            const QString path = QString::fromStdString(startFolder()) + "/NEWTXT.ZRT";
            QFile::remove(path);
            emit textPageEditorRequested(path);
            break;
        }
        case 2:
            property_->setCurrentTab(kTextPageTab);
            notAvailable("Adding a text page to the library");
            break;
        case 3: {
            property_->setCurrentTab(kTextPageTab);
            std::vector<std::string> library;
            loadLibrary(joinPath(startFolder(), kTextPageLibrary), library);
            if (library.empty()) break;
            CElement element;
            element.path = library[0];
            element.thumbIndex = 0;
            element.hold = 3;
            auto& list = programData().areaLists[0];
            list.insert(list.begin() + std::min<size_t>(1, list.size()), element);
            save();
            break;
        }
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
    // The layout view cancels and waits for a running Make, then stops the preview.
    delete layout_;
    layout_ = nullptr;
    programData().clearLists();
    if (!closedByOwner_) emit closed(this);
    event->accept();
}

}  // namespace brightline::ui
