#include "editor/ui/play_session.h"

#include <QWidget>

#include "common/profile.h"
#include "common/ui/qt_text.h"
#include "editor/script_maker.h"
#include "editor/ui/preview_window.h"

namespace brightline::ui {

namespace {

constexpr int kPlayProgramNumber = -1;
constexpr int kSendProgramNumber = 0;
constexpr int kFirstDigit = 7;

// Make of `program` (a copy the work owns) with `programNumber`, not appending.
MakeJob::Work makeProgram(std::shared_ptr<ProgramData> program, int programNumber) {
    return [program, programNumber](MakeRun& run) {
        ScriptMaker maker(*program, run.workspace(), run.media(), run.messages());
        run.configure(maker);
        return maker.make(programNumber, false, kFirstDigit);
    };
}

}  // namespace

PlaySession::PlaySession(ProgramData& program, OperatorMessages& messages, std::string workspace,
                         QObject* parent)
    : QObject(parent),
      program_(program),
      messages_(messages),
      workspace_(std::move(workspace)),
      make_(std::make_unique<MakeJob>(this, messages)) {}

PlaySession::~PlaySession() {
    cancel();
}

QString PlaySession::statusText() const {
    return status_;
}

void PlaySession::setState(State state) {
    if (state_ == state) return;
    state_ = state;
    emit stateChanged(state);
}

bool PlaySession::startMake(Purpose purpose, MakeJob::Work work) {
    if (state_ == State::Making) {
        messages_.show(kMsgMakeRunning, "INFO", MessageIcon::Information);
        return false;
    }
    if (workspaceBusy_ && workspaceBusy_()) {
        messages_.show(kMsgWorkspaceSending, "INFO", MessageIcon::Information);
        return false;
    }
    if (state_ == State::Playing) {
        delete preview_;
        preview_ = nullptr;
    }
    const int job = ++job_;
    purpose_ = purpose;
    previewed_ = false;
    stopRequested_ = false;
    status_ = kMakingText;
    if (!make_->start(
            std::move(work), workspace_, greyMode(appProfile()),
            [this, job](const std::string& text) { makeStatus(job, text); },
            [this, job](int count, bool cancelled) { makeEnded(job, count, cancelled); })) {
        // Only a job that was stopped but whose worker has not been joined can be running here.
        status_.clear();
        messages_.show(kMsgMakeRunning, "INFO", MessageIcon::Information);
        return false;
    }
    setState(State::Making);
    emit statusChanged();
    return true;
}

void PlaySession::play(PreviewHost& host) {
    if (state_ == State::Playing) return;
    auto copy = std::make_shared<ProgramData>(program_);
    if (!startMake(Purpose::Preview, makeProgram(copy, kPlayProgramNumber))) return;
    host_ = &host;
    made_ = std::move(copy);
}

bool PlaySession::makeForSend(MakeJob::Work work) {
    return startMake(Purpose::Send, std::move(work));
}

bool PlaySession::makeProgramForSend() {
    auto copy = std::make_shared<ProgramData>(program_);
    if (!makeForSend(makeProgram(copy, kSendProgramNumber))) return false;
    made_ = std::move(copy);
    return true;
}

void PlaySession::makeStatus(int job, const std::string& text) {
    if (job != job_ || state_ != State::Making) return;
    status_ = qs(text);
    emit statusChanged();
}

void PlaySession::makeEnded(int job, int count, bool cancelled) {
    if (job != job_ || state_ != State::Making) return;  // stopped meanwhile
    lastMakeResult_ = cancelled ? 0 : count;
    make_->join();
    if (!cancelled) keepBackgroundChanges();
    made_.reset();
    if (cancelled || stopRequested_) {
        stopRequested_ = false;
        host_ = nullptr;
        status_.clear();
        setState(State::Idle);
        emit statusChanged();
        return;
    }
    if (purpose_ == Purpose::Send) {
        setState(State::Idle);
        emit statusChanged();
        emit sendShowRequested(count);
        return;
    }
    if (!host_ || !host_->previewParent()) {
        status_.clear();
        setState(State::Idle);
        emit statusChanged();
        return;
    }
    preview_ = new PreviewWindow(host_->previewParent());
    preview_->setGeometry(host_->previewFace());
    preview_->show();
    preview_->start("run.at", workspace_);
    previewed_ = true;
    program_.needsMake = false;
    status_ = kPlayingText;
    setState(State::Playing);
    emit statusChanged();
}

void PlaySession::keepBackgroundChanges() {
    if (!made_) return;  // a schedule's Make: the open program was not made
    for (size_t slot = 0; slot < program_.areaLists.size(); ++slot) {
        auto& list = program_.areaLists[slot];
        const auto& from = made_->areaLists[slot];
        if (!list.empty() && !from.empty() && list[0].path == from[0].path) {
            list[0].hold = from[0].hold;
            list[0].speed = from[0].speed;
        }
    }
}

void PlaySession::stop() {
    if (state_ == State::Making) {
        // Make goes on to write its scripts; only the conversions end early.
        make_->stopConversions();
        stopRequested_ = true;
        return;
    }
    cancel();
}

void PlaySession::cancel() {
    ++job_;  // whatever the stopped job still reports is dropped
    make_->cancel();
    make_->join();
    delete preview_;
    preview_ = nullptr;
    made_.reset();
    host_ = nullptr;
    stopRequested_ = false;
    const bool changed = !status_.isEmpty();
    status_.clear();
    setState(State::Idle);
    if (changed) emit statusChanged();
}

void PlaySession::send() {
    if (previewed_ && lastMakeResult_ != 0 && !program_.needsMake) {
        const int count = lastMakeResult_;
        stop();
        emit sendShowRequested(count);
        return;
    }
    messages_.show(OperatorMessage{kMsgNotMade, "INFO", MessageIcon::Error, MessageButtons::Ok});
}

}  // namespace brightline::ui
