#include "common/ui/worker_messages.h"

#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace brightline::ui {

// Shared with every hand-off, so that a hand-off that runs late finds it alive.
struct WorkerMessages::State {
    explicit State(OperatorMessages& t) : target(&t) {}
    std::mutex mutex;
    std::condition_variable answered;
    bool cancelled = false;
    OperatorMessages* target;
};

WorkerMessages::WorkerMessages(QObject* context, OperatorMessages& target)
    : context_(context), state_(std::make_shared<State>(target)) {}

WorkerMessages::~WorkerMessages() {
    cancel();
}

void WorkerMessages::cancel() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->cancelled = true;
    }
    state_->answered.notify_all();
}

bool WorkerMessages::cancelled() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->cancelled;
}

MessageAnswer WorkerMessages::show(const OperatorMessage& message) {
    if (cancelled()) return decliningAnswer(message.buttons);
    if (QThread::currentThread() == context_->thread()) return state_->target->show(message);

    auto answer = std::make_shared<std::optional<MessageAnswer>>();
    std::shared_ptr<State> state = state_;
    QMetaObject::invokeMethod(
        context_,
        [state, answer, message] {
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                if (state->cancelled) return;  // the worker has its answer already
            }
            const MessageAnswer shown = state->target->show(message);
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                *answer = shown;
            }
            state->answered.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(state->mutex);
    state->answered.wait(lock, [&] { return answer->has_value() || state->cancelled; });
    return answer->has_value() ? **answer : decliningAnswer(message.buttons);
}

}  // namespace brightline::ui
