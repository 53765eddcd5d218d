#pragma once
// Make on a worker thread for the layout view's Play: the view stays responsive, the status
// lines reach it on the user interface thread, and closing the frame cancels safely.
//
// The worker makes from its own copy of the program, so that closing the frame (which empties
// the program's lists) cannot pull elements from under it. Messages Make raises are shown on the
// user interface thread while the worker waits; a cancel releases that wait at once, so the
// destructor's join never waits for the user interface thread.
//
// All members are called on the user interface thread.
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "common/operator_messages.h"
#include "editor/program_data.h"

namespace brightline::ui {

class MakeJob {
  public:
    using Status = std::function<void(const std::string&)>;
    // `count` is Make's result; `cancelled` when the job was cancelled before it ended.
    using Done = std::function<void(int count, bool cancelled, const ProgramData& made)>;

    // Callbacks run on the thread of `context` (queued) and are dropped once it is destroyed.
    // `messages` (borrowed) shows Make's messages on that thread.
    MakeJob(QObject* context, OperatorMessages& messages);
    ~MakeJob();  // cancels and joins
    MakeJob(const MakeJob&) = delete;
    MakeJob& operator=(const MakeJob&) = delete;

    // Starts Make(programNumber, false, 7) of a copy of `program` into `workspace`. False when
    // one is already running.
    bool start(const ProgramData& program, const std::string& workspace, bool grey,
               int programNumber, Status status, Done done);
    void cancel();
    bool running() const;
    // Waits for the worker to end (tests); the callbacks still arrive queued.
    void join();

  private:
    struct Shared;
    QObject* context_;
    OperatorMessages& messages_;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

}  // namespace brightline::ui
