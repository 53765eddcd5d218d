#pragma once
// Make, Play and Send of the desktop as one object with one state. There is one session per
// workspace folder: the main window owns it, the program frame and its layout view borrow it,
// and every Make the desktop starts goes through it, so at most one Make writes the workspace
// at a time.
//
// Owns: the MakeJob (the worker of the one Make that may run) and the PreviewWindow (a child of
// the PreviewHost the Play came from, laid over the sign face there).
// Borrows: the ProgramData it makes and plays (the process's open program) and the messages it
// shows; both outlive the session.
//
// States:
//   Idle     nothing runs.
//   Making   a Make runs on the worker, for a preview (Play) or for a send.
//   Playing  the preview window plays the show the last Make wrote.
//
// What each call does, by state:
//   play(host)       Idle: Make(-1, not appending, 7) of a copy of the program -> Making. When it
//                    ends uncancelled the preview opens over host's face on "run.at",
//                    `previewed` is set, `needsMake` cleared -> Playing. Making: refused with
//                    kMsgMakeRunning. Playing: nothing (a preview runs already).
//   stop()           The preview's Stop. Making: the running clip conversion ends at its next
//                    frame (and so does any later one), Make writes its remaining scripts, and
//                    when it ends no preview opens and nothing is sent -> Idle. Playing: the
//                    preview closes -> Idle. The status is cleared.
//   cancel()         Making: the Make is cancelled and its worker joined (it stops before the
//                    next element or clip frame; a question it waits on is answered at once).
//                    Playing: the preview closes. Every state ends Idle with the status cleared.
//                    For a frame that closes and for shut-down.
//   send()           The send rule: `previewed` (a Play's Make finished and its preview started;
//                    cleared when the next Make begins), the last Make made something, and
//                    `needsMake` clear (not saved since) -> stop(), then sendShowRequested(count).
//                    Otherwise kMsgNotMade. While Making `previewed` is clear, so Send is refused.
//   makeForSend(work)
//                    Idle or Playing: a preview is closed first (its engine reads the folder Make
//                    empties), then the work runs -> Making; when it ends uncancelled and not
//                    stopped, sendShowRequested(count) -> Idle. Making: refused with
//                    kMsgMakeRunning. makeProgramForSend() is the work of Send File for a
//                    program and of guide step 3: Make(0, not appending, 7) of a copy of the
//                    program. A schedule's Send File passes a work that runs the schedule
//                    compiler, whose entries each run Make(k, appending, 7) through
//                    MakeRun::configure().
//
// Make sets a non-empty background's hold and speed to 0; whenever a Make of the program (Play,
// Send File, guide step 3) ends uncancelled, the program keeps that change.
//
// One Make per workspace: a Make asked for while one runs is refused with kMsgMakeRunning
// ("INFO") and writes nothing; the running one goes on. While the workspace is being sent to the
// sign (setWorkspaceBusy()), a Make is refused with kMsgWorkspaceSending: Make would empty the
// folder under the upload.
//
// User interface thread only.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "common/operator_messages.h"
#include "editor/program_data.h"
#include "editor/ui/make_job.h"

class QWidget;

namespace brightline::ui {

class PreviewWindow;

inline constexpr const char* kMsgNotMade =
    "The program script doesn't send to LED sign before it has finished making.";
inline constexpr const char* kMsgMakeRunning =
    "The show is still being made in the workspace folder. Try again when it has finished.";
inline constexpr const char* kMsgWorkspaceSending =
    "The workspace folder is being sent to the sign. Try again when it has finished.";
inline constexpr const char* kPlayingText = "Playing ...";

// Where a preview goes: the widget it is a child of and the sign face on that widget.
class PreviewHost {
  public:
    virtual ~PreviewHost() = default;
    virtual QWidget* previewParent() = 0;
    virtual QRect previewFace() const = 0;
};

class PlaySession : public QObject {
    Q_OBJECT
  public:
    enum class State { Idle, Making, Playing };

    // `workspace`: the folder Make writes and the preview plays.
    PlaySession(ProgramData& program, OperatorMessages& messages, std::string workspace,
                QObject* parent = nullptr);
    ~PlaySession() override;  // stop()

    State state() const { return state_; }
    // `host` must outlive the preview or call cancel() before it goes.
    void play(PreviewHost& host);
    void stop();
    void cancel();
    void send();
    // False when refused (a Make runs, or the workspace is being sent).
    bool makeForSend(MakeJob::Work work);
    bool makeProgramForSend();

    // `busy` answers whether the workspace folder is being sent to the sign (the main window
    // asks its sign operations); no function: never.
    void setWorkspaceBusy(std::function<bool()> busy) { workspaceBusy_ = std::move(busy); }

    // The preview window while Playing, else null.
    PreviewWindow* preview() const { return preview_; }
    bool previewed() const { return previewed_; }
    // The made-media count of the last Make that ended (0 when cancelled).
    int lastMakeResult() const { return lastMakeResult_; }
    // What the status strip shows: "Making ...", Make's last status line, "Playing ..." or "".
    QString statusText() const;

    // True between a stop() during Make and the end of that Make.
    bool stopping() const { return stopRequested_; }

  signals:
    void stateChanged(State state);
    void statusChanged();
    // A send was allowed or a Make for a send ended: the main window starts SendShow with this
    // many made media.
    void sendShowRequested(int count);

  private:
    enum class Purpose { Preview, Send };
    bool startMake(Purpose purpose, MakeJob::Work work);
    void makeEnded(int job, int count, bool cancelled);
    void setState(State state);
    void makeStatus(int job, const std::string& text);
    void keepBackgroundChanges();

    ProgramData& program_;
    OperatorMessages& messages_;
    std::string workspace_;
    std::unique_ptr<MakeJob> make_;
    PreviewWindow* preview_ = nullptr;
    PreviewHost* host_ = nullptr;
    // The program copy a Make of the program works on, read back when it ends.
    std::shared_ptr<ProgramData> made_;
    std::function<bool()> workspaceBusy_;

    State state_ = State::Idle;
    Purpose purpose_ = Purpose::Preview;
    int job_ = 0;  // the running job's number; callbacks of an earlier job are dropped
    bool previewed_ = false;
    bool stopRequested_ = false;
    int lastMakeResult_ = 0;
    QString status_;
};

}  // namespace brightline::ui
