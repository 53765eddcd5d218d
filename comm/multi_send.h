#pragma once
// Sending the workspace folder to several signs of the sign list at once: the network signs in
// parallel, the serial signs one after another (they may share a line), each with a sign
// operation of its own. One sign's failure never stops the others; each runs within its own
// link's time-outs. What each sign's operation says and how far its upload got arrive as lines
// "<sign name>: <text>".
//
// Threads: run() blocks its caller until every sign has finished; the line listener is called
// from the signs' threads (one at a time); stop() from any thread ends every send at its next
// wait.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "comm/led_set_data.h"
#include "comm/sign_operations.h"

namespace brightline {

class Profile;

struct SignSendResult {
    std::string sign;
    bool ok = false;
    std::string detail;  // the last thing the sign's operation said
};

class MultiSend {
  public:
    using LineListener = std::function<void(const std::string& sign, const std::string& text)>;
    // The sign's place in the list given, the files sent so far and the files to send; from the
    // signs' threads, one at a time, like the lines.
    using ProgressListener = std::function<void(size_t sign, int sent, int files)>;

    // `base`: the workspace, ports, pauses, time-outs and verification for every sign; each sign
    // record adds its link (port, address, baud index, chunk size index, host). `profile` maps
    // COM numbers to devices. Both borrowed.
    MultiSend(std::vector<CLED_Set_Data> signs, const OperationEnvironment& base,
              const Profile& profile, LineListener listener);

    // Before run().
    void onProgress(ProgressListener listener) { progress_ = std::move(listener); }

    // The results in the order of the signs given.
    std::vector<SignSendResult> run();
    void stop();

  private:
    SignSendResult sendTo(size_t index, int files);
    void line(const std::string& sign, const std::string& text);
    void progress(size_t index, int sent, int files);

    std::vector<CLED_Set_Data> signs_;
    OperationEnvironment base_;
    const Profile& profile_;
    LineListener listener_;
    ProgressListener progress_;
    std::mutex lineMutex_;
    std::mutex runningMutex_;
    std::vector<SignOperations*> running_;
    bool stopped_ = false;
};

// "3 of 4 signs done; failed: Hall" (or "all 4 signs done").
std::string multiSendSummary(const std::vector<SignSendResult>& results);

}  // namespace brightline
