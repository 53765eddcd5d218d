#pragma once
// The virtual sign's command port: accepts one connection at a time on a loopback address, reads
// one command word, answers with an 8-digit length and the body (honouring the injected
// faults), and closes. start() binds (port 0: a free port, read back with port()); stop() ends
// the accept thread within one poll period.
#include <atomic>
#include <string>
#include <thread>

namespace brightline::signsim {

class VirtualSign;

class SignTcpServer {
  public:
    explicit SignTcpServer(VirtualSign& sign) : sign_(sign) {}
    ~SignTcpServer() { stop(); }

    bool start(const std::string& address, int port, std::string* error = nullptr);
    void stop();
    int port() const { return port_; }

  private:
    void loop();
    void serve(int client);

    VirtualSign& sign_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace brightline::signsim
