#pragma once
// Make on a worker thread: the desktop stays responsive, Make's status lines reach the user
// interface thread, and a cancel ends the job safely. PlaySession is its one owner in the
// desktop.
//
// A job runs one piece of work on its worker: one Make of a program (Play, Send File), or later
// a schedule's compilation with one Make in append mode per entry. The work gets a MakeRun that
// sets up each ScriptMaker with the job's workspace, media export, time zone, status callback,
// cancel flag and messages. The work owns its data (a copy of the program), so that closing the
// frame, which empties the program's lists, cannot pull elements from under it.
//
// Messages Make raises go through the job's WorkerMessages: shown on the user interface thread
// while the worker waits, and answered at once when the job is cancelled, so cancel() followed by
// join() never waits for the user interface thread.
//
// All members are called on the user interface thread.
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "common/operator_messages.h"
#include "editor/media_export.h"

namespace brightline {
class ScriptMaker;
}

namespace brightline::ui {

// What a running job lends its work (on the worker thread).
class MakeRun {
  public:
    MakeRun(const std::string& workspace, MediaExport& media, OperatorMessages& messages,
            const std::atomic<bool>& cancel, const std::atomic<bool>& conversionStop,
            std::function<void(const std::string&)> status)
        : workspace_(workspace),
          media_(media),
          messages_(messages),
          cancel_(cancel),
          conversionStop_(conversionStop),
          status_(std::move(status)) {}
    const std::string& workspace() const { return workspace_; }
    MediaExport& media() { return media_; }
    OperatorMessages& messages() { return messages_; }
    bool cancelled() const { return cancel_.load(); }
    // Gives `maker` the time zone, the status callback, the cancel flag and the conversion stop
    // flag of the job.
    void configure(ScriptMaker& maker) const;

  private:
    const std::string& workspace_;
    MediaExport& media_;
    OperatorMessages& messages_;
    const std::atomic<bool>& cancel_;
    const std::atomic<bool>& conversionStop_;
    std::function<void(const std::string&)> status_;
};

class MakeJob {
  public:
    // Runs on the worker; returns the made-media count.
    using Work = std::function<int(MakeRun& run)>;
    using Status = std::function<void(const std::string&)>;
    // `count` is the work's result; `cancelled` when the job was cancelled before it ended.
    using Done = std::function<void(int count, bool cancelled)>;

    // Callbacks run on the thread of `context` (queued) and are dropped once it is destroyed.
    // `messages` (borrowed) shows Make's messages on that thread.
    MakeJob(QObject* context, OperatorMessages& messages);
    ~MakeJob();  // cancels and joins
    MakeJob(const MakeJob&) = delete;
    MakeJob& operator=(const MakeJob&) = delete;

    // Runs `work` into `workspace` with a media export for grey mode `grey`. False (nothing
    // started) while a job runs.
    bool start(Work work, const std::string& workspace, bool grey, Status status, Done done);
    // The job stops before its next area, element or clip frame; a question it waits on is
    // answered at once.
    void cancel();
    // Every clip conversion of the job, the running one and any later one, ends at its next
    // frame; the work goes on (Make writes its remaining scripts).
    void stopConversions();
    bool running() const;
    // Waits for the worker to end; after cancel() this is bounded by one element's work.
    // Callbacks already queued still arrive.
    void join();

  private:
    struct Shared;
    QObject* context_;
    OperatorMessages& messages_;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

}  // namespace brightline::ui
