#pragma once
// The whole virtual sign: its state, the command port, the FTP server and the serial
// pseudo-terminal, started and stopped together. Used by brightline-signsim and by tests.
#include <cstdint>
#include <memory>
#include <string>

#include "signsim/ftp_server.h"
#include "signsim/sign_serial_port.h"
#include "signsim/sign_tcp_server.h"
#include "signsim/virtual_sign.h"

namespace brightline::signsim {

struct SimulatorOptions {
    std::string storage;                // the sign's storage folder (created)
    std::string address = "127.0.0.1";  // loopback address to bind
    int commandPort = 0;                // 0: any free port
    int ftpPort = 0;
    bool tcp = true;
    bool ftp = true;
    bool serial = true;
    bool modem = false;
    int lineRate = 0;        // bit/s the serial side reads at (0: as fast as it comes)
    std::string serialLink;  // symbolic link to the pseudo-terminal (optional)
    int serialAddress = 1;
    SignFaults faults;
    // Playing what was received: frames and/or a GIF of each resumed show (empty: not played).
    std::string playFrames;
    std::string playGif;
    uint64_t playTicks = 250;
};

class ShowPlayback;

class SignSimulator {
  public:
    explicit SignSimulator(SimulatorOptions options);
    ~SignSimulator();

    bool start(std::string* error = nullptr);
    void stop();

    VirtualSign& sign() { return sign_; }
    int commandPort() const { return tcp_.port(); }
    // With FTP refused: a loopback port nothing listens on.
    int ftpPort() const { return refusedPort_ ? refusedPort_ : ftp_.port(); }
    const std::string& serialDevice() const { return serial_.devicePath(); }
    // Restarts the FTP server with the faults' FTP settings (refuse / cut).
    bool applyFtpFaults(std::string* error = nullptr);
    // Null unless playing was asked for (and the show engine is built in).
    ShowPlayback* playback() { return playback_.get(); }

  private:
    SimulatorOptions options_;
    VirtualSign sign_;
    SignTcpServer tcp_;
    FtpServer ftp_;
    SignSerialPort serial_;
    int refusedPort_ = 0;
    std::unique_ptr<ShowPlayback> playback_;
};

}  // namespace brightline::signsim
