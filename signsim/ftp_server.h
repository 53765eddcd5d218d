#pragma once
// The virtual sign's FTP server: Debian's pyftpdlib run by /usr/bin/python3 as a child process,
// rooted in the sign's storage, bound to a loopback address. start() waits (bounded) until it
// listens and reads back its port; stop() ends the child (SIGTERM, then SIGKILL).
#include <sys/types.h>
#include <string>

namespace brightline::signsim {

class FtpServer {
  public:
    FtpServer() = default;
    ~FtpServer() { stop(); }
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // `cutAfter` >= 0: uploads are cut off after that many bytes, `cutCount` times (-1: always).
    bool start(const std::string& root, const std::string& address, int port, long cutAfter,
               int cutCount, std::string* error = nullptr);
    void stop();
    int port() const { return port_; }
    bool running() const { return child_ > 0; }

  private:
    pid_t child_ = -1;
    int port_ = 0;
};

}  // namespace brightline::signsim
