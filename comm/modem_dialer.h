#pragma once
// Dialling a sign's modem over the held serial link with Hayes AT commands, and hanging up.
// Statuses as the "Modem control" window shows them: "OK", "CONNECT", "NO", "ERROR",
// "Disconnected!", "+++ATH0".
//
// dial() and hangUp() run on one caller thread and block for at most their waits (3 s for the
// modem's first answer, 30 s for the dial); cancel() from any thread ends a waiting dial or
// hang-up at once (the window is closing). Holding and releasing the link is ModemConnection's.
#include <atomic>
#include <functional>
#include <string>

namespace brightline {

class Profile;
class SerialLink;

inline constexpr const char* kStatusDisconnected = "Disconnected!";
inline constexpr const char* kStatusHangingUp = "+++ATH0";

struct ModemTimings {
    int commandPauseMs = 500;   // after each set-up command
    int firstAnswerMs = 3000;   // wait for the answer to "ATE0"
    int dialAnswerMs = 30000;   // wait for the answer to the dial command
    int guardMs = 1000;         // hang-up: before "+++", and after the first "ATH0"
    int escapePauseMs = 2000;   // hang-up: after "+++"
    int shortPauseMs = 500;     // hang-up: after "+++\r\n"
    int hangUpAnswerMs = 2000;  // wait for the answer to the last "ATH0"
};

class ModemDialer {
  public:
    // `profile` (may be null) receives "PHONE_NUMBER_SEL". Both must outlive the dialer.
    ModemDialer(SerialLink& link, Profile* profile);

    void setTimings(const ModemTimings& timings) { timings_ = timings; }
    // Hears every status change (on the dialling thread).
    void onStatus(std::function<void(const std::string&)> listener) {
        listener_ = std::move(listener);
    }

    // Returns the last status.
    std::string dial(const std::string& number);
    std::string hangUp();
    void cancel();
    const std::string& status() const { return status_; }
    // Why the last dial did not connect, for a person: "the modem answered NO CARRIER", "the
    // modem did not answer the dial within 30 s"; empty after "CONNECT" or a cancelled dial.
    const std::string& failure() const { return failure_; }

  private:
    void setStatus(const std::string& status);
    bool pause(int ms);
    bool exchange(const std::string& command, std::string* reply, int timeoutMs);

    SerialLink& link_;
    Profile* profile_;
    ModemTimings timings_;
    std::function<void(const std::string&)> listener_;
    std::string status_ = kStatusDisconnected;
    std::string failure_;
    std::atomic<bool> closing_{false};
};

}  // namespace brightline
