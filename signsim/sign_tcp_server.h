#pragma once
// The virtual sign's command port: on a loopback address, each connection brings one command
// word, gets an 8-digit length and the body (honouring the injected faults), and is closed.
//
// Clients are served side by side by one thread polling them all, so a client that sends nothing
// or streams bytes without end cannot hold the port: a request is at most kMaxRequestBytes (a
// longer one is answered as an unknown word), a connection gets at most kClientLimitMs from
// connect to answer, and at most kMaxClients are served at once (more wait in the listen
// backlog). A well-formed request is answered at once whatever the other clients do, and the
// memory the port takes stays bounded.
//
// start() binds (port 0: a free port, read back with port()); stop() ends the thread within one
// poll period.
#include <atomic>
#include <string>
#include <thread>

namespace brightline::signsim {

class VirtualSign;

class SignTcpServer {
  public:
    static constexpr size_t kMaxRequestBytes = 256;  // the longest command word has 25
    static constexpr int kClientLimitMs = 5000;
    static constexpr int kMaxClients = 32;

    explicit SignTcpServer(VirtualSign& sign) : sign_(sign) {}
    ~SignTcpServer() { stop(); }

    bool start(const std::string& address, int port, std::string* error = nullptr);
    void stop();
    int port() const { return port_; }

  private:
    struct Client;
    void loop();
    // Reads what the client has sent so far (at most a little over kMaxRequestBytes).
    void readAvailable(Client& client);
    // True when the request is to be answered now: a whole known word, as much as any word can
    // be, or what came before the client went quiet, closed its side or ran out of time. A
    // request ends there (a known word is cut to its length).
    bool requestComplete(Client& client);
    // Prepares the answer (false: the connection is closed without one, a dropped answer).
    bool prepareAnswer(Client& client);

    VirtualSign& sign_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace brightline::signsim
