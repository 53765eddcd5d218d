#pragma once
// A modem connection that holds the serial link open across sign operations: connect() opens
// the link on the chosen modem's port and marks it held (the operations then neither open nor
// close it); dialling and hanging up run on the connection's own thread so that the window stays
// responsive; release() ends a waiting dial or hang-up at once, clears the held flag and closes
// the link, whatever state it was in.
//
// Threads: connect, start*, release from one thread (the user interface, or the command line's
// main thread); cancel() from any thread; the status listener hears from the dialling thread.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "comm/modem_dialer.h"

namespace brightline {

class Profile;
class SignOperations;

class ModemConnection {
  public:
    // Both borrowed; `profile` (may be null) receives the number dialled. A port that cannot be
    // opened is told through the operations' messages.
    ModemConnection(SignOperations& operations, Profile* profile);
    ~ModemConnection();
    ModemConnection(const ModemConnection&) = delete;
    ModemConnection& operator=(const ModemConnection&) = delete;

    void setTimings(const ModemTimings& timings) { dialer_.setTimings(timings); }
    // Every status change ("OK", "CONNECT", "NO", "ERROR", "Disconnected!", "+++ATH0").
    void onStatus(std::function<void(const std::string&)> listener);

    // COM `comPort` on `device` becomes the selected port; the link is opened at the selected
    // baud rate and held. False when it cannot be opened ("COM%d is taken !" shown), with nothing
    // held.
    bool connect(int comPort, const std::string& device);
    bool isHeld() const;

    // Start a dial or a hang-up on the connection's thread. False while one runs, while a sign
    // operation runs over the link, or when nothing is held.
    bool startDial(const std::string& number);
    bool startHangUp();
    bool busy() const { return busy_.load(); }
    // The same, blocking (the command line): the last status.
    std::string dial(const std::string& number);
    std::string hangUp();
    // Why the last dial did not connect (see ModemDialer::failure); read after dial() returns.
    const std::string& failure() const { return dialer_.failure(); }

    // Any thread: a waiting dial or hang-up ends at once.
    void cancel() { dialer_.cancel(); }
    // Cancels, waits for the dialling thread (it ends at its next wait, which the cancel cut
    // short), leaves line mode, clears the held flag and closes the link. Always.
    void release();

  private:
    bool startWork(std::function<void()> work);
    void joinWork();

    SignOperations& operations_;
    ModemDialer dialer_;
    std::function<void(const std::string&)> listener_;
    std::thread worker_;
    std::atomic<bool> busy_{false};
};

}  // namespace brightline
