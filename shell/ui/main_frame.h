#pragma once
// The main window "Brightline": menus File, Edit, Send, Set, View, Help; the toolbar (New, Open,
// Save, Saveas, About, Help); the status bar; Ctrl+F11 for the whole application; the
// getting-started guide; at most one program frame in its work area; the sign operations with their
// progress and file list windows; the PlaySession through which every Make, preview and send of the
// workspace folder runs (Play in the frame, Send File, guide step 3). Creation and shut-down
// follow the designed order (see the .cpp). User interface thread only.
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>

#include "comm/comm_settings.h"
#include "comm/led_set_data.h"
#include "comm/sign_operations.h"
#include "common/ui/qt_messages.h"
#include "common/ui/worker_messages.h"
#include "editor/ui/play_session.h"
#include "editor/ui/program_frame.h"
#include "engine/fonts/font_table.h"
#include "shell/file_dispatch.h"
#include "shell/ui/getting_started_guide.h"

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
    QAction* action(Command command) const { return actions_.at(command); }
    SignOperations& operations() { return *operations_; }
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
    void sendFile();
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
    QMdiArea* mdi_ = nullptr;
    QPointer<QMdiSubWindow> programWindow_;
    QPointer<CProgramFrame> programFrame_;
    QPointer<CGettingStartedGuide> guide_;
    QTimer* operationTimer_ = nullptr;
    std::map<Command, QAction*> actions_;
    QUndoGroup* undoGroup_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    int firstSelRc_ = 0;
    bool sendFileDialogOpen_ = false;  // run state 1
    bool shutDown_ = false;
};

}  // namespace brightline::ui
