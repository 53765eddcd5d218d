#include "comm/multi_send.h"

#include <algorithm>
#include <thread>

#include "comm/comm_settings.h"
#include "comm/packet.h"
#include "comm/upload_names.h"
#include "common/operator_messages.h"

namespace brightline {
namespace {

constexpr int kSignLimitMs = 30 * 60 * 1000;  // a whole show over a slow line

// One sign's messages and progress, as lines.
class SignReporter : public OperatorMessages, public OperationObserver {
  public:
    SignReporter(std::function<void(const std::string&)> line,
                 std::function<void(int position, int range)> progress)
        : line_(std::move(line)), progress_(std::move(progress)) {}
    using OperatorMessages::show;
    MessageAnswer show(const OperatorMessage& m) override {
        std::string text = m.text;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        for (char& c : text)
            if (c == '\n' || c == '\r') c = ' ';
        last_ = text;
        line_(text);
        return affirmativeAnswer(m.buttons);
    }
    void progressOpened(int range) override { range_ = range; }
    void progressFileName(const std::string& name) override { file_ = name; }
    void progressPosition(int position) override {
        if (position == lastPosition_) return;  // the end of an upload sets it once more
        lastPosition_ = position;
        progress_(std::clamp(position, 0, range_), range_);
        if (position > 0 && position <= range_ && !file_.empty())
            line_("sent " + file_ + " (" + std::to_string(position) + "/" + std::to_string(range_) +
                  ")");
    }
    void verificationDone(const std::vector<std::string>& problems, int files) override {
        if (problems.empty()) line_("verified: all " + std::to_string(files) + " files are there");
    }
    const std::string& last() const { return last_; }

  private:
    std::function<void(const std::string&)> line_;
    std::function<void(int, int)> progress_;
    int range_ = 1;
    int lastPosition_ = 0;
    std::string file_;
    std::string last_;
};

}  // namespace

MultiSend::MultiSend(std::vector<CLED_Set_Data> signs, const OperationEnvironment& base,
                     const Profile& profile, LineListener listener)
    : signs_(std::move(signs)), base_(base), profile_(profile), listener_(std::move(listener)) {}

void MultiSend::line(const std::string& sign, const std::string& text) {
    std::lock_guard<std::mutex> lock(lineMutex_);
    if (listener_) listener_(sign, text);
}

void MultiSend::stop() {
    std::lock_guard<std::mutex> lock(runningMutex_);
    stopped_ = true;
    for (SignOperations* ops : running_) ops->requestStop();
}

void MultiSend::progress(size_t index, int sent, int files) {
    std::lock_guard<std::mutex> lock(lineMutex_);
    if (progress_) progress_(index, sent, files);
}

SignSendResult MultiSend::sendTo(size_t index, int files) {
    const CLED_Set_Data& sign = signs_[index];
    SignSendResult result;
    result.sign = sign.name;
    SignReporter reporter([this, &sign](const std::string& text) { line(sign.name, text); },
                          [this, index](int sent, int range) { progress(index, sent, range); });
    SignOperations ops(reporter, reporter);
    OperationEnvironment env = base_;
    env.profile = nullptr;  // nothing here changes stored settings
    env.signListPath.clear();
    env.currentSignName = sign.name;
    env.chunkSize = chunkSizeForIndex(sign.mtuIndex);
    if (sign.port > 0) env.serialDevice = serialDeviceForPort(profile_, sign.port);
    ops.setEnvironment(env);
    LinkSelection& s = ops.selection();
    s.comPort = sign.port;
    s.address = sign.address;
    s.baudIndex = sign.baudIndex;
    s.host = sign.host;
    {
        std::lock_guard<std::mutex> lock(runningMutex_);
        if (stopped_) {
            result.detail = "stopped";
            return result;
        }
        running_.push_back(&ops);
    }
    line(sign.name, sign.port > 0 ? "sending over COM" + std::to_string(sign.port)
                                  : "sending to " + sign.host);
    progress(index, 0, files);
    if (ops.start(OperationCode::SendShow, files)) {
        if (!ops.waitUntilFinished(kSignLimitMs)) {
            ops.requestStop();
            ops.waitUntilFinished(kSignLimitMs);
        }
        result.ok = ops.confirmed();
    }
    {
        std::lock_guard<std::mutex> lock(runningMutex_);
        running_.erase(std::find(running_.begin(), running_.end(), &ops));
    }
    result.detail = result.ok ? "done" : (reporter.last().empty() ? "failed" : reporter.last());
    line(sign.name, result.ok ? "done" : "FAILED: " + result.detail);
    return result;
}

std::vector<SignSendResult> MultiSend::run() {
    const int files = static_cast<int>(uploadNames(base_.workspace).size());
    std::vector<SignSendResult> results(signs_.size());
    std::vector<std::thread> threads;
    std::vector<size_t> serial;
    for (size_t i = 0; i < signs_.size(); ++i) {
        if (signs_[i].port > 0)
            serial.push_back(i);
        else
            threads.emplace_back([this, i, files, &results] { results[i] = sendTo(i, files); });
    }
    // The serial signs one after another, beside the network ones.
    threads.emplace_back([this, files, &serial, &results] {
        for (size_t i : serial) results[i] = sendTo(i, files);
    });
    for (std::thread& t : threads) t.join();
    return results;
}

std::string multiSendSummary(const std::vector<SignSendResult>& results) {
    std::string failed;
    size_t ok = 0;
    for (const SignSendResult& r : results) {
        if (r.ok)
            ++ok;
        else
            failed += (failed.empty() ? "" : ", ") + r.sign;
    }
    if (failed.empty()) return "all " + std::to_string(results.size()) + " signs done";
    return std::to_string(ok) + " of " + std::to_string(results.size()) +
           " signs done; failed: " + failed;
}

}  // namespace brightline
