#pragma once
// The schedule window: a borderless panel over the main window (from the main toolbar's left
// edge, 120 pixels below it, to the main window's right edge, 480 pixels high) with the list of
// the schedule's entries, "Program" and "Schedule" (the entry's description), the checker's
// findings below it, and a toolbar strip "Add Schedule", "Del Schedule", "Preview at...",
// "Close".
//
// Commands (the selected row is the entry at the same position):
//   "Add Schedule"                a program file, then the entry dialog; on OK the entry is
//                                 appended
//   "Del Schedule", Delete        the selected entry is removed
//   double-click, Enter           the entry dialog on the selected entry
//   right double-click, Space     openProgramRequested(path of the selected entry)
//   Left / Right                  the selected entry moves one place up / down (the first does
//                                 not move up, the last not down) and stays selected
//   right click on a row          the context menu "Open Program (Space)", "Edit Schedule
//                                 (Enter)", "MoveUp (Left)", "MoveDown (Right)"
//   "Preview at..."               a date and time, then previewRequested(moment)
//   "Close"                       closeRequested()
// Every change is saved at once (a save that fails is reported); a command that changes nothing
// (nothing selected, the first entry up) saves nothing. After every change the checker runs.
//
// Borrows the schedule's entry list (the main window's, which outlives the window and keeps the
// entries after it closes) and the messages. User interface thread only.
#include <QDateTime>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "common/operator_messages.h"
#include "engine/clock/local_time.h"
#include "shell/schedule.h"
#include "shell/schedule_checker.h"
#include "shell/ui/schedule_entry_dialog.h"

class QListWidget;
class QMenu;
class QTableWidget;
class QTimer;
class QToolBar;
class QAction;

namespace brightline::ui {

inline constexpr const char* kAddSchedule = "Add Schedule";
inline constexpr const char* kDelSchedule = "Del Schedule";
inline constexpr const char* kPreviewAt = "Preview at...";
inline constexpr const char* kCloseSchedule = "Close";

class ScheduleWindow : public QFrame {
    Q_OBJECT
  public:
    // Loads `path` into `entries` ("%s file type error!" when it is no schedule: the list is
    // empty then, and the file is rewritten only when the schedule is changed).
    ScheduleWindow(const QString& path, std::vector<CAT_Data>& entries, OperatorMessages& messages,
                   QWidget* parent);
    ~ScheduleWindow() override;

    QString path() const { return path_; }
    // Save As: the window takes the path and writes the entries there.
    bool saveAs(const QString& path);
    // Writes the entries to the path; false (reported) when that failed.
    bool save();

    // What the checker compares the programs with, and the days it looks at (default: the
    // main window's sign; today and 30 days).
    void setCheckOptions(std::function<ScheduleCheckOptions()> options);
    // Runs the checker and shows what it found.
    void check();
    const std::vector<ScheduleFinding>& findings() const { return findings_; }

    // How "Add Schedule" asks for the program file (default: an Open dialog for "*.ZPF";
    // tests answer it themselves). An empty answer adds nothing.
    void setProgramChooser(std::function<QString()> chooser) {
        chooseProgram_ = std::move(chooser);
    }
    // The same for "Preview at..."'s moment; an invalid answer previews nothing.
    void setMomentChooser(std::function<QDateTime()> chooser) {
        chooseMoment_ = std::move(chooser);
    }

    // The commands, as the buttons, keys and menu run them.
    void addSchedule();
    void deleteSchedule();
    void editSchedule();
    void openProgram();
    void moveUp();
    void moveDown();
    void previewAt();

    QTableWidget* list() const { return list_; }
    QListWidget* findingsList() const { return findingsList_; }
    QToolBar* toolBar() const { return toolbar_; }
    QAction* action(const char* caption) const;
    // The context menu for `row` (the one shown on a right click); null for no row.
    QMenu* contextMenuFor(int row);
    // The entry dialog while it is open.
    CScheduleDialog* entryDialog() const { return dialog_; }
    int selectedRow() const;

  signals:
    void closeRequested();
    void openProgramRequested(const QString& programPath);
    void previewRequested(const CivilTime& at);
    // The entries were changed and saved.
    void changed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fillList();
    void setRow(int row);
    void select(int row);
    void changedAndSave();
    // The entry dialog on `entry`; `done` runs with the dialog's entry on OK.
    void showDialog(const CAT_Data& entry, std::function<void(const CAT_Data&)> done);

    QString path_;
    std::vector<CAT_Data>& entries_;
    OperatorMessages& messages_;
    std::function<ScheduleCheckOptions()> checkOptions_;
    std::function<QString()> chooseProgram_;
    std::function<QDateTime()> chooseMoment_;
    std::vector<ScheduleFinding> findings_;
    QTableWidget* list_ = nullptr;
    QListWidget* findingsList_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QPointer<CScheduleDialog> dialog_;
    QMenu* menu_ = nullptr;
    // A right click shows the menu only when no second click follows (a right double-click
    // opens the program).
    QTimer* menuTimer_ = nullptr;
    int menuRow_ = -1;
    QPoint menuAt_;
};

// The local moment of a QDateTime (seconds kept).
CivilTime civilTimeOf(const QDateTime& moment);

}  // namespace brightline::ui
