#pragma once
// The one bridge from a worker thread to the operator. A worker's message or question is handed
// to the user interface thread, shown there by the target (the desktop's QtMessages), and the
// worker waits for the answer. Make, the sign operations and every later long job use it.
//
// Cancellable: after cancel() nothing more is shown. A worker waiting for an answer gets the
// declining one (Ok, Cancel or No) at once, and so does every later call; a message handed over
// but not yet shown is dropped. So whoever ends a job cancels its bridge and may then join the
// worker without dispatching events: the worker never waits for the operator again.
//
// show() may be called on any thread; on the context's own thread it goes straight to the
// target. cancel() and cancelled() may be called on any thread.
// Lifetime: `context` and `target` are borrowed; the target must outlive the context, and the
// bridge must outlive every show() call (its owner joins the worker first). Cancel the bridge
// before the context dies: a message handed to a dead context is never answered otherwise.
#include <QObject>
#include <memory>

#include "common/operator_messages.h"

namespace brightline::ui {

class WorkerMessages : public OperatorMessages {
  public:
    using OperatorMessages::show;
    // `context`: the object on the user interface thread the messages are shown on behalf of.
    WorkerMessages(QObject* context, OperatorMessages& target);
    ~WorkerMessages() override;  // cancels
    WorkerMessages(const WorkerMessages&) = delete;
    WorkerMessages& operator=(const WorkerMessages&) = delete;

    MessageAnswer show(const OperatorMessage& message) override;
    void cancel();
    bool cancelled() const;

  private:
    struct State;
    QObject* context_;
    std::shared_ptr<State> state_;
};

}  // namespace brightline::ui
