#include "shell/ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoGroup>

#include <memory>
#include <set>

#include "comm/firmware_update.h"
#include "comm/led_set_data.h"
#include "comm/modem_connection.h"
#include "comm/modem_list.h"
#include "comm/packet.h"
#include "comm/sign_endpoint.h"
#include "comm/sign_messages.h"
#include "comm/sign_record_store.h"
#include "comm/ui/change_address_dialog.h"
#include "comm/ui/change_ip_dialog.h"
#include "comm/ui/led_set_dialog.h"
#include "comm/ui/modem_control_window.h"
#include "comm/ui/operation_windows.h"
#include "comm/ui/password_dialog.h"
#include "comm/ui/select_modem_dialog.h"
#include "comm/ui/send_to_signs_dialog.h"
#include "comm/ui/show_on_startup_dialog.h"
#include "comm/upload_names.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/time_zone.h"
#include "common/ui/file_dialog_filter.h"
#include "editor/program_data.h"
#include "editor/ui/program_frame.h"
#include "shell/logon.h"
#include "shell/schedule_compiler.h"
#include "shell/ui/clock_page_editor.h"
#include "shell/ui/edit_user_dialog.h"
#include "shell/ui/getting_started_guide.h"
#include "shell/ui/led_colour_dialog.h"
#include "shell/ui/logon_dialog.h"
#include "shell/ui/new_dialog.h"
#include "shell/ui/schedule_preview.h"
#include "shell/ui/schedule_window.h"

namespace brightline::ui {

namespace {

constexpr int kOperationTimerMs = 500;
constexpr int kFrameHeightReserve = 72;
// The schedule window: this far below the main toolbar, this high.
constexpr int kScheduleBelowToolbar = 120;
constexpr int kScheduleHeight = 480;
constexpr int kScheduleMinHeight = 240;
// The longest a running operation may take to end at shut-down; its link waits are shorter.
constexpr int kShutDownLimitMs = 60000;

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), messages_(this) {
    setObjectName("CMainFrame");
    setWindowTitle(kApplicationTitle);
    // 1. Toolbar and status bar, docking on every side.
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    mdi_ = new QMdiArea(this);
    mdi_->setBackground(QColor(128, 128, 128));
    setCentralWidget(mdi_);
    // 2.-4. The start folder, the workspace and the scratch folder.
    setStartFolder(ss(QDir::currentPath()));
    ensureFolder(workspaceFolder());
    ensureFolder(scratchFolder());
    // 5. The communication settings.
    settings_ = CommSettings::read(appProfile());
    firstSelRc_ = static_cast<int>(appProfile().getInt(kProfileSectionSet, "FIRST_SEL_RC", 0));
    windows_ = std::make_unique<OperationWindows>(this);
    workerMessages_ = std::make_unique<WorkerMessages>(this, messages_);
    operations_ = std::make_unique<SignOperations>(*workerMessages_, *windows_);
    connect(windows_.get(), &OperationWindows::verificationShown, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    configureOperations();
    operationTimer_ = new QTimer(this);
    operationTimer_->setInterval(kOperationTimerMs);
    connect(operationTimer_, &QTimer::timeout, this, [this] {
        if (operations_->finishIfDone()) {
            operationTimer_->stop();
            emit operationFinished();
        }
    });
    session_ = std::make_unique<PlaySession>(programData(), messages_, workspaceFolder());
    connect(session_.get(), &PlaySession::sendShowRequested, this, [this](int count) {
        if (!pendingSigns_.empty()) {
            startMultiSend(std::move(pendingSigns_));
            pendingSigns_.clear();
            return;
        }
        startOperation(OperationCode::SendShow, count);
    });
    // A schedule's preview window goes when its preview does.
    connect(session_.get(), &PlaySession::stateChanged, this, [this](PlaySession::State state) {
        if (state == PlaySession::State::Idle && schedulePreview_) schedulePreview_->close();
    });
    session_->setWorkspaceBusy([this] {
        return operations_->sendingWorkspace() || (multiSendWindow_ && multiSendWindow_->running());
    });
    modem_ = std::make_unique<ModemConnection>(*operations_, &appProfile());
    // 6. Ctrl+F11 for the whole application.
    auto* scan = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F11), this);
    scan->setContext(Qt::ApplicationShortcut);
    connect(scan, &QShortcut::activated, this, [this] { scanTypeDialog(); });
    // 7. The getting-started guide unless it was switched off.
    if (appProfile().getInt(kProfileSectionSet, "SHOW_STEP", 0) == 0) {
        guide_ = new CGettingStartedGuide(this);
        guide_->setWindowFlag(Qt::Window);
        connect(guide_, &CGettingStartedGuide::stepChosen, this, &CMainFrame::guideStep,
                Qt::QueuedConnection);
        guide_->show();
    }
    // 8. "FIRST_SEL_RC" was read with the settings. 9. The two built-in bitmap fonts.
    fonts_.loadBuiltIn(startFolder(), programFolder());
}

CMainFrame::~CMainFrame() {
    shutDown();
}

void CMainFrame::configureOperations() {
    const LinkSetup link = linkSetup(settings_, appProfile(), workspaceFolder(), startFolder());
    OperationEnvironment env = link.environment;
    env.chunkSize = operations_->environment().chunkSize;  // 1024 until "LED Set" sets another
    LinkSelection& selection = operations_->selection();
    selection.comPort = link.selection.comPort;
    selection.address = link.selection.address;
    selection.baudIndex = link.selection.baudIndex;
    selection.host = link.selection.host;
    if (auto endpoint = signEndpointFromEnvironment()) {
        selection.host = endpoint->host;
        env.commandPort = endpoint->commandPort;
        env.ftpPort = endpoint->ftpPort;
    }
    // The desktop reads the file list back after every send and shows what it found.
    env.verifySend = true;
    operations_->setEnvironment(env);
}

// --- Actions, menus, bars --------------------------------------------------------------------

void CMainFrame::createActions() {
    struct Row {
        Command command;
        const char* text;
    } rows[] = {
        {Command::New, "&New\tCtrl+N"},
        {Command::Open, "Open"},
        {Command::Save, "Save"},
        {Command::SaveAs, "Save As"},
        {Command::Exit, "E&xit"},
        {Command::SendFile, "Send File"},
        {Command::SendToSigns, "Send to signs\u2026"},
        {Command::GetFileList, "Get File List"},
        {Command::GetTime, "Get Time"},
        {Command::AdjustTime, "Adjust Time"},
        {Command::UpdateFirmware, "Update Firmware"},
        {Command::UpdateFirmwareFont, "Update Firmware Font"},
        {Command::ChangeAddress, "Change communication address *"},
        {Command::ShowInfoOnStartup, "Show info on startup"},
        {Command::SendReboot, "Send Reboot"},
        {Command::SetCommunication, "Set communication"},
        {Command::LedColourSet, "LED Colour Set"},
        {Command::SelectModem, "Select Modem"},
        {Command::DialHangUp, "Dial/Hang up"},
        {Command::CreateEditUser, "Create/Edit User"},
        {Command::ViewToolbar, "&Toolbar"},
        {Command::ViewStatusBar, "&Status Bar"},
        {Command::Help, "Help"},
        {Command::About, "&About"},
    };
    for (const Row& row : rows) {
        QString text = row.text;
        text = text.section('\t', 0, 0);
        auto* action = new QAction(text, this);
        const Command command = row.command;
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
        actions_[command] = action;
    }
    actions_[Command::New]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actions_[Command::ViewToolbar]->setCheckable(true);
    actions_[Command::ViewToolbar]->setChecked(true);
    actions_[Command::ViewStatusBar]->setCheckable(true);
    actions_[Command::ViewStatusBar]->setChecked(true);
    QStyle* s = style();
    actions_[Command::New]->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    actions_[Command::Open]->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    actions_[Command::Save]->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    {
        // Save with a pen over it.
        QPixmap pixmap = s->standardIcon(QStyle::SP_DialogSaveButton).pixmap(32, 32);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 120, 0), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(14, 28, 30, 12);
        p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(11, 31, 14, 28);
        actions_[Command::SaveAs]->setIcon(QIcon(pixmap));
    }
    actions_[Command::About]->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));
    actions_[Command::Help]->setIcon(s->standardIcon(QStyle::SP_DialogHelpButton));
}

void CMainFrame::createMenus() {
    auto add = [this](const char* title, std::initializer_list<Command> commands) {
        QMenu* menu = menuBar()->addMenu(title);
        for (Command c : commands) {
            if (c == Command::Exit) menu->addSeparator();
            menu->addAction(actions_[c]);
        }
    };
    add("&File", {Command::New, Command::Open, Command::Save, Command::SaveAs, Command::Exit});
    // Undo and redo of the open program's edits.
    undoGroup_ = new QUndoGroup(this);
    QMenu* edit = menuBar()->addMenu("&Edit");
    QAction* undo = undoGroup_->createUndoAction(this, "Undo");
    undo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    QAction* redo = undoGroup_->createRedoAction(this, "Redo");
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(undo);
    edit->addAction(redo);
    add("&Send", {Command::SendFile, Command::SendToSigns, Command::GetFileList, Command::GetTime,
                  Command::AdjustTime, Command::UpdateFirmware, Command::UpdateFirmwareFont,
                  Command::ChangeAddress, Command::ShowInfoOnStartup, Command::SendReboot});
    add("S&et", {Command::SetCommunication, Command::LedColourSet, Command::SelectModem,
                 Command::DialHangUp, Command::CreateEditUser});
    add("&View", {Command::ViewToolbar, Command::ViewStatusBar});
    add("&Help", {Command::Help, Command::About});
}

void CMainFrame::createToolBar() {
    toolbar_ = addToolBar("Standard");
    toolbar_->setObjectName("mainToolbar");
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setMovable(true);
    toolbar_->setFloatable(true);
    const std::pair<Command, const char*> buttons[] = {
        {Command::New, "New"},       {Command::Open, "Open"},   {Command::Save, "Save"},
        {Command::SaveAs, "Saveas"}, {Command::About, "About"}, {Command::Help, "Help"}};
    for (const auto& [command, caption] : buttons) {
        QAction* action = toolbar_->addAction(actions_[command]->icon(), caption);
        connect(action, &QAction::triggered, actions_[command], &QAction::trigger);
    }
    setDockOptions(dockOptions() | QMainWindow::AllowTabbedDocks);
}

void CMainFrame::createStatusBar() {
    statusBar()->showMessage("Ready");
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(indicator, this);
        label->setMinimumWidth(40);
        label->setAlignment(Qt::AlignCenter);
        statusBar()->addPermanentWidget(label);
    }
}

void CMainFrame::run(Command command) {
    switch (command) {
        case Command::New:
            newDialog();
            break;
        case Command::Open:
            openDialog();
            break;
        case Command::Save:
            save();
            break;
        case Command::SaveAs:
            saveAs();
            break;
        case Command::Exit:
            close();
            break;
        case Command::SendFile:
            sendFile();
            break;
        case Command::SendToSigns:
            sendToSigns();
            break;
        case Command::GetFileList:
            startOperation(OperationCode::GetFileList, 1);
            break;
        case Command::GetTime:
            startOperation(OperationCode::GetTime, 1);
            break;
        case Command::AdjustTime:
            startOperation(OperationCode::SetTime, 1);
            break;
        case Command::SendReboot:
            startOperation(OperationCode::Reboot, 1);
            break;
        case Command::UpdateFirmware:
            updateDialog(false);
            break;
        case Command::UpdateFirmwareFont:
            updateDialog(true);
            break;
        case Command::ChangeAddress:
            changeAddress();
            break;
        case Command::ShowInfoOnStartup:
            showOnStartupDialog();
            break;
        case Command::SetCommunication:
            ledSetDialog();
            break;
        case Command::LedColourSet:
            ledColourSet();
            break;
        case Command::SelectModem:
            selectModem();
            break;
        case Command::DialHangUp:
            connectModem();
            break;
        case Command::CreateEditUser:
            editUsers();
            break;
        case Command::ViewToolbar:
            toolbar_->setVisible(actions_[command]->isChecked());
            break;
        case Command::ViewStatusBar:
            statusBar()->setVisible(actions_[command]->isChecked());
            break;
        case Command::Help:
            help();
            break;
        case Command::About:
            about();
            break;
    }
}

void CMainFrame::notAvailable(const QString& what) {
    messages_.show(OperatorMessage{ss(what) + " is not available yet in this version.", "INFO",
                                   MessageIcon::Information, MessageButtons::Ok});
}

// --- Files -----------------------------------------------------------------------------------

void CMainFrame::newDialog() {
    auto* dialog = new CNewDialog(appProfile(), startFolder(), messages_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        newFile(dialog->kind(), ss(dialog->location()), ss(dialog->name()));
    });
    dialog->open();
}

void CMainFrame::newFile(FileKind kind, const std::string& location, const std::string& name) {
    ChosenFile file;
    file.folder = withTrailingSeparator(location);
    file.title = name;
    file.kind = kind;
    file.openedFromFile = false;
    runFileHandler(file, file.pathWith("ZRT"), true);
}

void CMainFrame::openDialog() {
    const QString path = QFileDialog::getOpenFileName(this, "Open", qs(startFolder()),
                                                      dialogFilter(openDialogFilters()));
    if (!path.isEmpty()) openFile(ss(path));
}

void CMainFrame::ledSetDialog() {
    CLedSetDialog dialog(settings_, joinPath(startFolder(), kSignListFile), this);
    if (dialog.exec() != QDialog::Accepted) return;
    adoptSignSettings(dialog.chosen());
}

void CMainFrame::adoptSignSettings(const CLED_Set_Data& chosen) {
    settings_.ledName = chosen.name;
    settings_.width = chosen.width;
    settings_.height = chosen.height;
    settings_.port = chosen.port;
    settings_.address = chosen.address;
    if (chosen.baudIndex >= 0 && chosen.baudIndex <= 7) settings_.baudIndex = chosen.baudIndex;
    // A chunk size index that is none of the six choices (the default record's 6, or no
    // selection) keeps the one in force.
    if (chosen.mtuIndex >= 0 && chosen.mtuIndex <= 5) settings_.mtuIndex = chosen.mtuIndex;
    settings_.ip = chosen.ip;
    settings_.host = chosen.host;
    settings_.writeLedSet(appProfile());
    configureOperations();
    OperationEnvironment env = operations_->environment();
    env.chunkSize = chunkSizeForIndex(settings_.mtuIndex);
    operations_->setEnvironment(env);
}

void CMainFrame::showOnStartupDialog() {
    CShowOnStartupDialog dialog(*operations_, settings_.boot, this);
    dialog.exec();
    if (dialog.confirmed()) {
        settings_.boot = dialog.params();
        settings_.writeBootParams(appProfile());
    }
}

void CMainFrame::changeAddress() {
    auto* password = new CPasswordDialog(messages_, this);
    password->setAttribute(Qt::WA_DeleteOnClose);
    connect(password, &QDialog::accepted, this, &CMainFrame::openAddressDialog);
    password->open();
}

void CMainFrame::openAddressDialog() {
    // The values last given to a sign are the profile's (a changed address stores them there).
    CommSettings shown = CommSettings::read(appProfile());
    const LinkSelection& selection = operations_->selection();
    shown.address = selection.address;
    shown.baudIndex = selection.baudIndex;
    shown.ip = settings_.ip;
    if (selection.comPort != 0) {
        auto* dialog = new CChangeAddressDialog(shown, selection.held, messages_, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // Posted, as message 2034 is: the dialog's Send has returned before the operation starts.
        connect(
            dialog, &CChangeAddressDialog::sendRequested, this,
            [this](const AddressChange& change) {
                operations_->setPendingAddressChange(change);
                startOperation(OperationCode::SetAddress, 1);
            },
            Qt::QueuedConnection);
        // Modeless: it stays open beside the progress, the messages and a modem window.
        dialog->show();
        return;
    }
    auto* dialog = new CChangeIpDialog(*operations_, shown, selection.host, messages_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (!dialog->changed()) return;
        adoptChangedIp(settings_, appProfile(), joinPath(startFolder(), kSignListFile),
                       *dialog->changed(), dialog->newHost());
        configureOperations();
    });
    dialog->open();
}

void CMainFrame::selectModem() {
    auto* dialog = new CSelectModemDialog(installedModems(), appProfile(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void CMainFrame::connectModem() {
    if (modemWindow_) {
        modemWindow_->raise();
        modemWindow_->activateWindow();
        return;
    }
    const int port =
        static_cast<int>(appProfile().getInt(kProfileSectionSet, "SELECT_MODEM_PORT", -1));
    if (port <= 0) {
        messages_.show(kMsgNoModemChosen, "INFO", MessageIcon::Information);
        return;
    }
    if (operations_->runState() != RunState::Idle) return;  // the link is in use
    if (!modem_->connect(port, serialDeviceForPort(appProfile(), port))) return;
    modemWindow_ = new CModemControlWindow(*modem_, appProfile(), this);
    modemWindow_->setAttribute(Qt::WA_DeleteOnClose);
    // Posted, as message 2035 is: the window has finished closing when the link is released.
    connect(modemWindow_, &CModemControlWindow::closed, this, &CMainFrame::releaseModem,
            Qt::QueuedConnection);
    modemWindow_->show();
}

void CMainFrame::releaseModem() {
    modem_->release();
    if (modemWindow_) modemWindow_->close();
}

void CMainFrame::scanTypeDialog() {
    CScanTypeDialog dialog(*operations_, this);
    dialog.exec();
}

void CMainFrame::updateDialog(bool font) {
    QFileDialog dialog(this, font ? "Update Firmware Font" : "Update Firmware", qs(programFolder()),
                       font ? "Firmware FONT Update File(*.WFN)" : "Firmware update File(*.WOS)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(font ? "WFN" : "WOS");
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    updateFromFile(font, ss(dialog.selectedFiles().front()));
}

bool CMainFrame::updateFromFile(bool font, const std::string& path) {
    // Preparing the update empties the workspace folder: not while a Make writes it or an
    // upload reads it.
    if (session_->state() == PlaySession::State::Making) {
        messages_.show(kMsgMakeRunning, "INFO", MessageIcon::Information);
        return false;
    }
    if (operations_->sendingWorkspace()) {
        messages_.show(kMsgWorkspaceSending, "INFO", MessageIcon::Information);
        return false;
    }
    if (!prepareUpdate(font ? UpdateKind::Font : UpdateKind::Firmware, path, workspaceFolder(),
                       messages_))
        return false;
    return startOperation(font ? OperationCode::UpdateFont : OperationCode::UpdateFirmware, 1);
}

void CMainFrame::openFile(const std::string& path) {
    runFileHandler(chosenFileOf(path), path, false);
}

void CMainFrame::openMedium(const std::string& path) {
    const ChosenFile file = chosenFileOf(path);
    if (file.kind == FileKind::Program || file.kind == FileKind::Schedule) return;
    runFileHandler(file, path, false);
}

void CMainFrame::runFileHandler(const ChosenFile& file, const std::string& path, bool newProgram) {
    switch (file.kind) {
        case FileKind::Program:
            openProgram(file, newProgram);
            break;
        // A chosen file keeps its name as it is (Linux names are case-sensitive); a new one gets
        // the kind's extension.
        case FileKind::Schedule:
            openSchedule(file.openedFromFile ? path : file.pathWith("AT"));
            break;
        case FileKind::ClockPage:
            openClockPage(file.openedFromFile ? path : file.pathWith("TIM"), file.openedFromFile);
            break;
        case FileKind::TextPage:
            startOutside(textPageEditorFor(path, programFolder(),
                                           qEnvironmentVariable("PATH").toStdString()));
            break;
        case FileKind::Bmp:
        case FileKind::Jpg:
        case FileKind::Png:
            startOutside(pictureEditorFor(path, appProfile()));
            break;
        case FileKind::Ztx:
        case FileKind::None:
            break;
    }
}

bool CMainFrame::openProgram(const ChosenFile& file, bool newProgram) {
    if (!closeProgram()) return false;
    const QString path = qs(file.pathWith("ZPF"));
    auto* frame =
        new CProgramFrame(path, newProgram, newProgram, firstSelRc_, *session_, messages_);
    connect(frame, &CProgramFrame::closed, this, &CMainFrame::programFrameClosed,
            Qt::QueuedConnection);
    connect(frame, &CProgramFrame::openMediumRequested, this,
            [this](const QString& medium) { openMedium(ss(medium)); });
    undoGroup_->addStack(frame->undoStack());
    undoGroup_->setActiveStack(frame->undoStack());
    connect(frame, &CProgramFrame::propertyTabChanged, this,
            [this](int tab) { firstSelRc_ = tab; });
    QMdiSubWindow* window = mdi_->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setGeometry(0, 0, mdi_->width(), std::max(200, mdi_->height() - kFrameHeightReserve));
    window->show();
    programWindow_ = window;
    programFrame_ = frame;
    updateCaption();
    return true;
}

bool CMainFrame::closeProgram() {
    if (!programFrame_) return true;
    programFrame_->markClosedByOwner();
    QMdiSubWindow* window = programWindow_;
    if (window && !window->close()) return false;
    programFrame_ = nullptr;
    programWindow_ = nullptr;
    updateCaption();
    return true;
}

void CMainFrame::programFrameClosed(CProgramFrame* frame) {
    if (programFrame_ == frame || !programFrame_) {
        programFrame_ = nullptr;
        programWindow_ = nullptr;
    }
    updateCaption();
}

void CMainFrame::updateCaption() {
    setWindowTitle(scheduleWindow_ ? scheduleWindow_->path() : QString(kApplicationTitle));
}

// --- Schedules -------------------------------------------------------------------------------

void CMainFrame::openSchedule(const std::string& path) {
    if (scheduleWindow_) return;
    auto* window = new ScheduleWindow(qs(path), schedule_, messages_, this);
    window->setCheckOptions([this, window] {
        ScheduleCheckOptions options;
        options.scheduleFolder = folderOf(ss(window->path()));
        options.ledWidth = settings_.width;
        options.ledHeight = settings_.height;
        const CivilTime today = civilTimeOf(QDateTime::currentDateTime());
        options.fromYear = today.year;
        options.fromMonth = today.month;
        options.fromDay = today.day;
        return options;
    });
    connect(window, &ScheduleWindow::closeRequested, this, &CMainFrame::closeSchedule,
            Qt::QueuedConnection);
    connect(window, &ScheduleWindow::openProgramRequested, this, [this](const QString& program) {
        if (!closeProgram() || program.isEmpty()) return;
        openProgram(chosenFileOf(ss(program)), false);
    });
    connect(window, &ScheduleWindow::previewRequested, this, &CMainFrame::previewSchedule);
    scheduleWindow_ = window;
    placeScheduleWindow();
    window->show();
    window->raise();
    updateCaption();
}

void CMainFrame::closeSchedule() {
    if (!scheduleWindow_) return;
    delete scheduleWindow_.data();
    scheduleWindow_ = nullptr;
    updateCaption();
}

void CMainFrame::placeScheduleWindow() {
    if (!scheduleWindow_) return;
    const QRect bar = toolbar_->isVisible() ? toolbar_->geometry() : QRect(0, 0, 0, 0);
    // Its designed place under the toolbar; in a small main window it moves up and shrinks so
    // that its own toolbar stays above the status bar.
    const int bottom = statusBar()->isVisible() ? statusBar()->geometry().top() : height();
    const int below = bar.bottom() + 1;
    const int height = std::max(kScheduleMinHeight, std::min(kScheduleHeight, bottom - below));
    const int top = std::max(below, std::min(below + kScheduleBelowToolbar, bottom - height));
    scheduleWindow_->setGeometry(bar.left(), top, std::max(200, width() - bar.left()), height);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeScheduleWindow();
}

MakeJob::Work CMainFrame::scheduleWork() const {
    // The work owns its copies: the window may change or close the list while it runs.
    const std::vector<CAT_Data> entries = schedule_;
    const std::string folder = scheduleWindow_ ? folderOf(ss(scheduleWindow_->path())) : "";
    const int width = settings_.width;
    const int height = settings_.height;
    return [entries, folder, width, height](MakeRun& run) {
        ScheduleCompileContext context;
        context.workspace = run.workspace();
        context.zone = currentTimeZone();
        context.ledWidth = width;
        context.ledHeight = height;
        context.cancelled = [&run] { return run.cancelled(); };
        context.makeEntry = [&](const CAT_Data& entry, int k) {
            return makeScheduleEntry(entry, k, folder, run.workspace(), run.media(), run.messages(),
                                     [&run](ScriptMaker& maker) { run.configure(maker); });
        };
        return compileSchedule(entries, context, run.messages());
    };
}

bool CMainFrame::makeAndSendSchedule() {
    return session_->makeForSend(scheduleWork());
}

bool CMainFrame::previewSchedule(const CivilTime& at) {
    if (schedulePreview_) schedulePreview_->close();
    auto* preview =
        new SchedulePreview(settings_.width, settings_.height, at, [this] { session_->cancel(); });
    schedulePreview_ = preview;
    if (!session_->previewAt(scheduleWork(), *preview, at)) {
        preview->close();
        return false;
    }
    preview->show();
    return true;
}

void CMainFrame::openClockPage(const std::string& path, bool openedFromFile) {
    // The editor sets the process's zone: not while a Make or a preview reads it.
    if (session_->state() == PlaySession::State::Making) {
        messages_.show(kMsgMakeRunning, "INFO", MessageIcon::Information);
        return;
    }
    session_->stop();
    runClockPageEditor(this, path, settings_.width, settings_.height, openedFromFile, fonts_,
                       messages_);
}

void CMainFrame::save() {
    if (programFrame_) programFrame_->save();
    if (scheduleWindow_) scheduleWindow_->save();
}

void CMainFrame::saveAs() {
    if (scheduleWindow_) {
        QString path = QFileDialog::getSaveFileName(this, "Save As", scheduleWindow_->path(),
                                                    "Schedule File(*.AT) (*.AT *.at)");
        if (!path.isEmpty()) {
            if (QFileInfo(path).suffix().isEmpty()) path += ".AT";
            scheduleWindow_->saveAs(path);
            updateCaption();
        }
    }
    if (!programFrame_) return;
    const QString path = QFileDialog::getSaveFileName(this, "Save As", programFrame_->programPath(),
                                                      "Program File(*.ZPF) (*.ZPF *.zpf)");
    if (path.isEmpty()) return;
    QString chosen = path;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".ZPF";
    programFrame_->setProgramPath(chosen);
    programFrame_->save();
}

void CMainFrame::sendFile() {
    if (sendFileDialogOpen_) return;
    sendFileDialogOpen_ = true;
    const QString path = QFileDialog::getOpenFileName(this, "Send File", qs(startFolder()),
                                                      dialogFilter(sendFileDialogFilters()));
    sendFileDialogOpen_ = false;
    if (path.isEmpty()) return;
    const ChosenFile file = chosenFileOf(ss(path));
    openFile(ss(path));
    if (file.kind == FileKind::Program && programFrame_) makeAndSendProgram();
    // A schedule: the one open (which may be another one) is compiled and sent.
    if (file.kind == FileKind::Schedule && scheduleWindow_) makeAndSendSchedule();
}

void CMainFrame::sendToSigns() {
    if (multiSendWindow_ && multiSendWindow_->running()) {
        multiSendWindow_->raise();
        return;
    }
    SignList list;
    loadSignList(joinPath(startFolder(), kSignListFile), list);
    if (list.signs.empty()) {
        messages_.show(kMsgNoSigns, "INFO", MessageIcon::Information);
        return;
    }
    auto* dialog = new CSendToSignsDialog(list, messages_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        std::vector<CLED_Set_Data> signs = dialog->chosen();
        if (programFrame_) {
            pendingSigns_ = std::move(signs);
            if (!makeAndSendProgram()) pendingSigns_.clear();
            return;
        }
        if (uploadNames(workspaceFolder()).empty()) {
            messages_.show(kMsgNothingToSend, "INFO", MessageIcon::Information);
            return;
        }
        startMultiSend(std::move(signs));
    });
    dialog->open();
}

void CMainFrame::startMultiSend(std::vector<CLED_Set_Data> signs) {
    if (operations_->runState() != RunState::Idle ||
        (multiSendWindow_ && multiSendWindow_->running()))
        return;
    delete multiSendWindow_;
    OperationEnvironment base = operations_->environment();
    base.verifySend = true;
    multiSendWindow_ = new MultiSendWindow(std::move(signs), base, appProfile(), this);
    multiSendWindow_->setAttribute(Qt::WA_DeleteOnClose);
    multiSendWindow_->show();
}

bool CMainFrame::makeAndSendProgram() {
    return programFrame_ && session_->makeProgramForSend();
}

bool CMainFrame::startOperation(OperationCode code, int parameter) {
    if (!operations_->start(code, parameter)) return false;
    operationTimer_->start();
    return true;
}

// --- Users, settings, help ------------------------------------------------------------------

void CMainFrame::editUsers() {
    Profile& profile = appProfile();
    const std::string userFile = userFilePath();
    LogonFlags flags = readLogonFlags(profile);
    auto showEditor = [this, userFile] {
        auto* dialog =
            new CEditUserDialog(userFile, appProfile(), messages_, currentUser().name, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    };
    if (flags.enableLogon == 0) {
        showEditor();
        return;
    }
    if (!QFileInfo::exists(qs(userFile))) {
        messages_.show(OperatorMessage{userFileProblemText(userFile, {}, installedUserFile()),
                                       kCaptionWarning, MessageIcon::Warning, MessageButtons::Ok});
        return;
    }
    auto users = std::make_shared<std::vector<CUserInfo>>();
    loadUsers(userFile, *users);
    auto* logon = new CLogonDialog(
        *users, messages_,
        qs(profile.getString(kProfileSectionApp, kKeyUserName, kDefaultUserName)), false, this);
    logon->setAttribute(Qt::WA_DeleteOnClose);
    connect(logon, &QDialog::accepted, this, [logon, users, showEditor] {
        LogonFlags f = readLogonFlags(appProfile());
        f.enableLogon = logon->autoLogon() ? 0 : 1;
        writeLogonFlags(appProfile(), f);
        showEditor();
    });
    logon->open();
}

void CMainFrame::ledColourSet() {
    auto* dialog = new CLedColourDialog(greyMode(appProfile()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [dialog] { appProfile().writeInt(kProfileSectionSet, kKeyGrey, dialog->value()); });
    dialog->open();
}

void CMainFrame::about() {
    messages_.show(OperatorMessage{
        std::string("Brightline\nVersion ") + BRIGHTLINE_VERSION + "\nBuilt " + __DATE__,
        "About Brightline", MessageIcon::Information, MessageButtons::Ok});
}

void CMainFrame::help() {
    startOutside(helpProgram(startFolder(), joinPath(dataFolder(), "manual")));
}

namespace {

// An outside program that ends with a failure this soon after it started did not do what it
// was started for (xdg-open without a browser ends at once with status 3); one that ends later
// was used and closed.
constexpr qint64 kQuickFailureMs = 10000;
// Of an outside program's error output, the end is kept for the message.
constexpr qsizetype kErrorTailBytes = 2048;

// The outside programs still running: they outlive the window (deleting a running QProcess would
// end it), so they stay here until they end.
std::set<QProcess*>& runningOutsidePrograms() {
    static std::set<QProcess*> running;
    return running;
}

// The last non-empty line of a program's error output.
std::string lastLine(const QByteArray& output) {
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return lines.isEmpty() ? std::string() : lines.last().trimmed().toStdString();
}

}  // namespace

void CMainFrame::startOutside(const OutsideProgram& program) {
    if (program.argv.empty()) {
        messages_.show(
            OperatorMessage{program.missing, "INFO", MessageIcon::Error, MessageButtons::Ok});
        return;
    }
    const QString executable = qs(program.argv[0]);
    const bool found = executable.contains('/')
                           ? QFileInfo(executable).isExecutable()
                           : !QStandardPaths::findExecutable(executable).isEmpty();
    const std::string instead = program.instead.empty() ? "" : "\n" + program.instead;
    if (!found) {
        messages_.show(OperatorMessage{
            program.name + " cannot be started: " + program.argv[0] + " was not found." + instead,
            "INFO", MessageIcon::Error, MessageButtons::Ok});
        return;
    }
    QStringList arguments;
    for (size_t i = 1; i < program.argv.size(); ++i) arguments << qs(program.argv[i]);
    // Started on its own and not waited for. It cannot start, or it ends at once with a failure:
    // the operator is told so, with the cause on a line of its own.
    auto* process = new QProcess;
    process->setProgram(executable);
    process->setArguments(arguments);
    process->setWorkingDirectory(qs(startFolder()));
    process->setStandardOutputFile(QProcess::nullDevice());
    runningOutsidePrograms().insert(process);
    auto errors = std::make_shared<QByteArray>();
    auto clock = std::make_shared<QElapsedTimer>();
    QPointer<CMainFrame> self(this);
    const OutsideProgram started = program;
    auto tell = [self, started, instead](const std::string& what) {
        if (self)
            self->messages_.show(OperatorMessage{started.name + what + instead, "INFO",
                                                 MessageIcon::Error, MessageButtons::Ok});
    };
    auto forget = [process] {
        runningOutsidePrograms().erase(process);
        process->deleteLater();
    };
    connect(process, &QProcess::readyReadStandardError, process, [process, errors] {
        errors->append(process->readAllStandardError());
        if (errors->size() > kErrorTailBytes) errors->remove(0, errors->size() - kErrorTailBytes);
    });
    connect(
        process, &QProcess::errorOccurred, process,
        [process, started, tell, forget](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart) return;
            tell(" could not be started (" + started.argv[0] + ").\n" + ss(process->errorString()));
            forget();
        });
    connect(process, &QProcess::finished, process,
            [process, errors, clock, tell, forget](int code, QProcess::ExitStatus status) {
                errors->append(process->readAllStandardError());
                if (clock->elapsed() < kQuickFailureMs &&
                    (status != QProcess::NormalExit || code != 0)) {
                    const std::string cause = lastLine(*errors);
                    tell(" ended at once " +
                         (status == QProcess::NormalExit ? "with status " + std::to_string(code)
                                                         : std::string("by a crash")) +
                         "." + (cause.empty() ? "" : "\n" + cause));
                }
                forget();
            });
    clock->start();
    process->start();
}

void CMainFrame::guideStep(int step) {
    switch (step) {
        case 1:
            run(Command::SetCommunication);
            break;
        case 2: {
            ChosenFile file;
            file.folder = withTrailingSeparator(startFolder());
            file.title = "NEW";
            file.kind = FileKind::Program;
            file.openedFromFile = false;
            QFile::remove(qs(file.pathWith("ZPF")));
            openProgram(file, true);
            break;
        }
        case 3:
            // The step sends the open program: without one it says what to do first.
            if (!programFrame_) {
                messages_.show(kMsgNothingToSend, "INFO", MessageIcon::Information);
                break;
            }
            makeAndSendProgram();
            break;
        default:
            break;
    }
}

// --- Shut-down -------------------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event) {
    shutDown();
    event->accept();
}

void CMainFrame::shutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    if (programFrame_) {
        // The size the operator last gave the sign stays with it.
        settings_.width = programData().ledWidth;
        settings_.height = programData().ledHeight;
    }
    closeProgram();
    closeSchedule();
    session_->cancel();
    if (schedulePreview_) delete schedulePreview_.data();
    // A held modem link is hung up with the window, as when the dial window closes.
    releaseModem();
    if (operations_->runState() == RunState::Running) {
        // Nothing the worker still says is shown: it never waits for this thread again, and a
        // stop ends it at its next wait or between files, within the link's time-outs.
        workerMessages_->cancel();
        operations_->requestStop();
        operations_->waitUntilFinished(kShutDownLimitMs);
    }
    operations_->finishIfDone();
    const LinkSelection& selection = operations_->selection();
    settings_.address = selection.address;
    settings_.baudIndex = selection.baudIndex;
    SignRecordValues values;
    values.width = settings_.width;
    values.height = settings_.height;
    values.withLink = true;
    values.port = settings_.port;
    values.address = settings_.address;
    values.baudIndex = settings_.baudIndex;
    storeSignRecord(joinPath(startFolder(), kSignListFile), settings_.ledName, values);
    settings_.writeOnShutdown(appProfile());
    appProfile().writeInt(kProfileSectionSet, "FIRST_SEL_RC", firstSelRc_);
    if (guide_) guide_->close();
    fonts_.clear();
}

}  // namespace brightline::ui
