#include "editor/ui/make_job.h"

#include <QMetaObject>
#include <QPointer>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "common/time_zone.h"
#include "editor/script_maker.h"
#include "editor/ui/media_export_factory.h"

namespace brightline::ui {

namespace {

// Make's messages, shown on the user interface thread while the worker waits for the answer.
class WorkerMessages : public OperatorMessages {
  public:
    using OperatorMessages::show;
    WorkerMessages(QObject* context, OperatorMessages& target, std::atomic<bool>& cancel)
        : context_(context), target_(target), cancel_(cancel) {}

    MessageAnswer show(const OperatorMessage& message) override {
        auto answer = std::make_shared<Answer>();
        QPointer<QObject> context(context_);
        OperatorMessages* target = &target_;
        std::atomic<bool>* cancel = &cancel_;
        // The lambda holds `answer` alive; it runs only while the context lives, and the context
        // (the view) joins the worker before it dies, so `target` and `cancel` are alive then.
        QMetaObject::invokeMethod(
            context_,
            [answer, message, target, cancel] {
                MessageAnswer a =
                    cancel->load() ? affirmativeAnswer(message.buttons) : target->show(message);
                std::lock_guard<std::mutex> lock(answer->mutex);
                answer->value = a;
                answer->cv.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock<std::mutex> lock(answer->mutex);
        while (!answer->value && !cancel_.load())
            answer->cv.wait_for(lock, std::chrono::milliseconds(20));
        return answer->value ? *answer->value : affirmativeAnswer(message.buttons);
    }

  private:
    struct Answer {
        std::mutex mutex;
        std::condition_variable cv;
        std::optional<MessageAnswer> value;
    };
    QObject* context_;
    OperatorMessages& target_;
    std::atomic<bool>& cancel_;
};

}  // namespace

struct MakeJob::Shared {
    std::atomic<bool> cancel{false};
    std::atomic<bool> running{false};
    ProgramData program;
};

MakeJob::MakeJob(QObject* context, OperatorMessages& messages)
    : context_(context), messages_(messages) {}

MakeJob::~MakeJob() {
    cancel();
    join();
}

bool MakeJob::start(const ProgramData& program, const std::string& workspace, bool grey,
                    int programNumber, Status status, Done done) {
    if (running()) return false;
    join();
    shared_ = std::make_shared<Shared>();
    shared_->program = program;
    shared_->running = true;
    auto shared = shared_;
    QObject* context = context_;
    OperatorMessages& target = messages_;
    worker_ = std::thread([shared, context, &target, workspace, grey, programNumber, status, done] {
        WorkerMessages messages(context, target, shared->cancel);
        std::unique_ptr<MediaExport> media = createMediaExport(grey);
        ScriptMaker maker(shared->program, workspace, *media, messages);
        maker.setTimeZone(currentTimeZone());
        maker.setCancelFlag(&shared->cancel);
        maker.setStatusCallback([context, status](const std::string& text) {
            QMetaObject::invokeMethod(
                context, [status, text] { status(text); }, Qt::QueuedConnection);
        });
        const int count = maker.make(programNumber, false, 7);
        const bool cancelled = shared->cancel.load();
        shared->running = false;
        QMetaObject::invokeMethod(
            context, [done, count, cancelled, shared] { done(count, cancelled, shared->program); },
            Qt::QueuedConnection);
    });
    return true;
}

void MakeJob::cancel() {
    if (shared_) shared_->cancel = true;
}

bool MakeJob::running() const {
    return shared_ && shared_->running.load();
}

void MakeJob::join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace brightline::ui
