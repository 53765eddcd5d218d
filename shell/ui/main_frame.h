#pragma once
// The main window "Brightline": menus File, Edit, Send, Set, View, Help; the toolbar (New, Open,
// Save, Saveas, About, Help); the status bar; Ctrl+F11 for the whole application; the
// getting-started guide; at most one program frame in its work area and at most one schedule window
// over it (the caption is the schedule's path while one is open); the clock page editor; the sign
// operations with their progress and file list windows; the PlaySession through which every
// Make, preview and send of the workspace folder runs (Play in the frame, Send File of a program
// or a schedule, guide step 3, a schedule's "Preview at..."). Creation and shut-down follow the
// designed order (see the .cpp). User interface thread only.
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>

#include "comm/comm_settings.h"
#include "comm/led_set_data.h"
#include "comm/modem_connection.h"
#include "comm/sign_operations.h"
#include "comm/ui/modem_control_window.h"
#include "comm/ui/multi_send_window.h"
#include "common/ui/qt_messages.h"
#include "common/ui/worker_messages.h"
#include "editor/ui/play_session.h"
#include "editor/ui/program_frame.h"
#include "engine/fonts/font_table.h"
#include "shell/file_dispatch.h"
#include "shell/schedule.h"
#include "shell/ui/getting_started_guide.h"
#include "shell/ui/schedule_preview.h"
#include "shell/ui/schedule_window.h"

class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QUndoGroup;

namespace brightline::ui {

class OperationWindows;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    enum class Command {
        New,
        Open,
        Save,
        SaveAs,
        Exit,
        SendFile,
        SendToSigns,
        GetFileList,
        GetTime,
        AdjustTime,
        UpdateFirmware,
        UpdateFirmwareFont,
        ChangeAddress,
        ShowInfoOnStartup,
        SendReboot,
        SetCommunication,
        LedColourSet,
        SelectModem,
        DialHangUp,
        CreateEditUser,
        ViewToolbar,
        ViewStatusBar,
        Help,
        About,
    };

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The open program: closes an open frame first (false when it refused), then opens
    // folder + title + ".ZPF" in a new frame.
    bool openProgram(const ChosenFile& file, bool newProgram);
    // True when no frame was open or it closed.
    bool closeProgram();
    // Opens a chosen file by its kind (the Open dialog's handler table).
    void openFile(const std::string& path);
    // A medium of the open program (a double click on its card or library entry, the guide's
    // new text page) opened in its editor by the same table: pictures in the picture editor,
    // text pages in the text page editor, clock pages in the clock page editor; a program or
    // schedule path is no medium and opens nothing.
    void openMedium(const std::string& path);
    // Undo and Redo of the Edit menu act on the open program's history.
    QUndoGroup* undoGroup() const { return undoGroup_; }
    // The schedule window on `path` (nothing when one is open already).
    void openSchedule(const std::string& path);
    // Close Schedule: the window goes, the entries stay for a later Send File.
    void closeSchedule();
    // Compiles the schedule's entries (each entry's program made in append mode) and sends the
    // show. False when refused (a Make runs, or the workspace is being sent).
    bool makeAndSendSchedule();
    // "Preview at...": compiles the schedule and plays it in a window of its own as the sign
    // would from the local moment `at`. False when refused.
    bool previewSchedule(const CivilTime& at);
    // The clock page editor on `path` for the current sign, modal; `openedFromFile`: the page is
    // loaded from the file (else a new page with the defaults). What Open and New run for ".TIM",
    // and what opening a clock page from a program frame is to run.
    void openClockPage(const std::string& path, bool openedFromFile);
    // Update Firmware / Update Firmware Font after the file dialog: prepares "zos.zos" or
    // "ezfon.bin" alone in the workspace folder and starts the upload; a refused file gives
    // "File %s format unknown." and starts nothing; so does a Make or an upload that uses the
    // workspace folder (with its message). False when nothing was started.
    bool updateFromFile(bool font, const std::string& path);
    // "LED Set" confirmed: the chosen sign's name, size and link become the current ones and are
    // written to the profile; a chunk size index outside 0..5 keeps the chunk size in force.
    void adoptSignSettings(const CLED_Set_Data& chosen);
    // File > New's work after the dialog's OK.
    void newFile(FileKind kind, const std::string& location, const std::string& name);
    // Make the open program (program 0) and send it; what Send File and guide step 3 do. False
    // when no program is open or a Make runs (refused with a message).
    bool makeAndSendProgram();
    // Starts a sign operation with the progress window (false when it did not start).
    bool startOperation(OperationCode code, int parameter);

    CProgramFrame* programFrame() const { return programFrame_; }
    ScheduleWindow* scheduleWindow() const { return scheduleWindow_; }
    SchedulePreview* schedulePreview() const { return schedulePreview_; }
    // The process's schedule: filled when a schedule window opens a file, kept after it closes.
    const std::vector<CAT_Data>& schedule() const { return schedule_; }
    QAction* action(Command command) const { return actions_.at(command); }
    SignOperations& operations() { return *operations_; }
    ModemConnection& modem() { return *modem_; }
    CModemControlWindow* modemWindow() const { return modemWindow_; }
    MultiSendWindow* multiSendWindow() const { return multiSendWindow_; }
    OperationWindows& operationWindows() { return *windows_; }
    OperatorMessages& messages() { return messages_; }
    PlaySession& session() { return *session_; }
    CGettingStartedGuide* guide() const { return guide_; }
    const CommSettings& commSettings() const { return settings_; }
    // The built-in bitmap fonts loaded at creation; their count bounds the editors' font indexes.
    const FontTable& fonts() const { return fonts_; }

  signals:
    // An operation was wound up by the 500 ms timer.
    void operationFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The handler table New and Open share: `path` is the file the outside programs get.
    void runFileHandler(const ChosenFile& file, const std::string& path, bool newProgram);
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void run(Command command);
    void newDialog();
    void openDialog();
    void updateDialog(bool font);
    void showOnStartupDialog();
    void ledSetDialog();
    void scanTypeDialog();
    // Send > "Change communication address *": the password, then the change-address dialog
    // (serial link) or the change-IP dialog (network).
    void changeAddress();
    void openAddressDialog();
    // Set > "Select Modem" and "Dial/Hang up" (which connects the chosen modem and opens
    // "Modem control"); releaseModem() is message 2035: hang up the held link, close the window.
    void selectModem();
    void connectModem();
    void releaseModem();
    void sendFile();
    // Send > "Send to signs…": the checklist of the sign list, then the open program made and
    // sent (or the workspace folder as it is) to every sign ticked, in the "Sending to signs"
    // window.
    void sendToSigns();
    void startMultiSend(std::vector<CLED_Set_Data> signs);
    void save();
    void saveAs();
    void editUsers();
    void ledColourSet();
    void about();
    void help();
    void notAvailable(const QString& what);
    void guideStep(int step);
    void programFrameClosed(CProgramFrame* frame);
    // Starts the program and does not wait; one that is missing or cannot be started is named
    // in a message with the reason.
    void startOutside(const OutsideProgram& program);
    void updateCaption();
    void placeScheduleWindow();
    // The work that compiles the schedule into the workspace folder on the Make worker.
    MakeJob::Work scheduleWork() const;
    void configureOperations();
    void shutDown();

    QtMessages messages_;
    FontTable fonts_;
    CommSettings settings_;
    std::unique_ptr<OperationWindows> windows_;
    // The operation worker reaches the operator through this bridge; it outlives the operations.
    std::unique_ptr<WorkerMessages> workerMessages_;
    std::unique_ptr<SignOperations> operations_;
    std::unique_ptr<PlaySession> session_;
    std::unique_ptr<ModemConnection> modem_;
    QPointer<CModemControlWindow> modemWindow_;
    // Signs the next made show goes to instead of the current sign (Send to signs…).
    std::vector<CLED_Set_Data> pendingSigns_;
    QPointer<MultiSendWindow> multiSendWindow_;
    QMdiArea* mdi_ = nullptr;
    QPointer<QMdiSubWindow> programWindow_;
    QPointer<CProgramFrame> programFrame_;
    QPointer<CGettingStartedGuide> guide_;
    QPointer<ScheduleWindow> scheduleWindow_;
    QPointer<SchedulePreview> schedulePreview_;
    std::vector<CAT_Data> schedule_;
    QTimer* operationTimer_ = nullptr;
    std::map<Command, QAction*> actions_;
    QUndoGroup* undoGroup_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    int firstSelRc_ = 0;
    bool sendFileDialogOpen_ = false;  // run state 1
    bool shutDown_ = false;
};

}  // namespace brightline::ui
