#pragma once
// The virtual sign's serial side: the master of a pseudo-terminal whose slave the PC opens like
// a COM port. Its packets are read and written by the sign's own framing (sign_frame.h). Packets
// addressed to the sign's COM address are answered (honouring the injected
// faults). With the modem on it starts as a Hayes modem in command state: AT commands answer
// "OK", "ATD..." answers "CONNECT 115200" ("NO CARRIER" for the number "0", nothing at all for
// "00") and switches to data, "+++" after a pause returns to commands, "ATH0" hangs up. A line rate
// (bit/s, 10 bits a byte) makes it read no faster than a real line would.
#include <atomic>
#include <string>
#include <thread>

#include "signsim/sign_frame.h"

namespace brightline::signsim {

class VirtualSign;

class SignSerialPort {
  public:
    explicit SignSerialPort(VirtualSign& sign) : sign_(sign) {}
    ~SignSerialPort() { stop(); }

    // Creates the pseudo-terminal; `linkPath` (optional) becomes a symbolic link to its device.
    bool start(bool modem, int lineRate, const std::string& linkPath, std::string* error = nullptr);
    void stop();
    const std::string& devicePath() const { return device_; }
    bool connected() const { return !modem_ || dataMode_.load(); }

  private:
    void loop();
    void feedData(const uint8_t* bytes, size_t size);
    void feedCommand(uint8_t byte);
    void runCommand(std::string line);
    void writeAll(const std::string& bytes);

    VirtualSign& sign_;
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    std::string link_;
    bool modem_ = false;
    int lineRate_ = 0;
    std::atomic<bool> dataMode_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
    SignFrameReader reader_{1};
    std::string commandLine_;
    int plusCount_ = 0;
};

}  // namespace brightline::signsim
