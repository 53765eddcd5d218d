#include "editor/ui/make_job.h"

#include <QMetaObject>

#include "common/time_zone.h"
#include "common/ui/worker_messages.h"
#include "editor/script_maker.h"
#include "editor/ui/media_export_factory.h"

namespace brightline::ui {

void MakeRun::configure(ScriptMaker& maker) const {
    maker.setTimeZone(currentTimeZone());
    maker.setStatusCallback(status_);
    maker.setCancelFlag(&cancel_);
    maker.setConversionStopFlag(&conversionStop_);
}

struct MakeJob::Shared {
    Shared(QObject* context, OperatorMessages& target) : messages(context, target) {}
    std::atomic<bool> cancel{false};
    std::atomic<bool> conversionStop{false};
    std::atomic<bool> running{false};
    WorkerMessages messages;
};

MakeJob::MakeJob(QObject* context, OperatorMessages& messages)
    : context_(context), messages_(messages) {}

MakeJob::~MakeJob() {
    cancel();
    join();
}

bool MakeJob::start(Work work, const std::string& workspace, bool grey, Status status, Done done) {
    if (running()) return false;
    join();
    shared_ = std::make_shared<Shared>(context_, messages_);
    shared_->running = true;
    auto shared = shared_;
    QObject* context = context_;
    worker_ = std::thread([shared, context, work, workspace, grey, status, done] {
        std::unique_ptr<MediaExport> media = createMediaExport(grey);
        auto report = [context, status](const std::string& text) {
            QMetaObject::invokeMethod(
                context, [status, text] { status(text); }, Qt::QueuedConnection);
        };
        MakeRun run(workspace, *media, shared->messages, shared->cancel, shared->conversionStop,
                    report);
        const int count = work(run);
        const bool cancelled = shared->cancel.load();
        shared->running = false;
        QMetaObject::invokeMethod(
            context, [done, count, cancelled] { done(count, cancelled); }, Qt::QueuedConnection);
    });
    return true;
}

void MakeJob::cancel() {
    if (!shared_) return;
    shared_->conversionStop = true;
    shared_->cancel = true;
    shared_->messages.cancel();
}

void MakeJob::stopConversions() {
    if (shared_) shared_->conversionStop = true;
}

bool MakeJob::running() const {
    return shared_ && shared_->running.load();
}

void MakeJob::join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace brightline::ui
