#include "signsim/sign_tcp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "signsim/virtual_sign.h"

namespace brightline::signsim {

bool SignTcpServer::start(const std::string& address, int port, std::string* error) {
    stop();
    const bool v6 = address.find(':') != std::string::npos;
    listener_ = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_storage ss{};
    socklen_t len;
    if (v6) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&ss);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET6, address.c_str(), &a->sin6_addr);
        len = sizeof *a;
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&ss);
        a->sin_family = AF_INET;
        a->sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, address.c_str(), &a->sin_addr);
        len = sizeof *a;
    }
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&ss), len) != 0 ||
        ::listen(listener_, 8) != 0) {
        if (error)
            *error = "cannot listen on " + address + ":" + std::to_string(port) + ": " +
                     std::strerror(errno);
        ::close(listener_);
        listener_ = -1;
        return false;
    }
    len = sizeof ss;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&ss), &len);
    port_ = ntohs(v6 ? reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port
                     : reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
    stop_ = false;
    thread_ = std::thread([this] { loop(); });
    return true;
}

void SignTcpServer::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
    listener_ = -1;
}

void SignTcpServer::loop() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        serve(client);
        ::close(client);
    }
}

void SignTcpServer::serve(int client) {
    // Read until the request is a whole known word, the peer stops sending, or time runs out.
    std::string request;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    char buffer[512];
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
        const int expected = VirtualSign::expectedWordLength(request);
        if (expected > 0 && static_cast<int>(request.size()) >= expected) {
            request.resize(static_cast<size_t>(expected));
            break;
        }
        pollfd p{client, POLLIN, 0};
        const int idleMs = expected < 0 && !request.empty() ? 200 : 1000;
        if (::poll(&p, 1, idleMs) <= 0) {
            if (!request.empty()) break;  // an unknown word: answer what came
            continue;
        }
        ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<size_t>(n));
    }
    if (request.empty() || stop_) return;
    const std::string body = sign_.answerWord(request);
    const SignFaults faults = sign_.faults();
    if (sign_.nextAnswerDropped()) return;  // the connection closes without an answer
    if (faults.delayMs > 0) {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(faults.delayMs);
        while (!stop_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    char head[16];
    std::snprintf(head, sizeof head, "%08d", static_cast<int>(body.size()));
    const std::string reply = std::string(head, 8) + body;
    size_t done = 0;
    while (done < reply.size()) {
        ssize_t n = ::send(client, reply.data() + done, reply.size() - done, MSG_NOSIGNAL);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
}

}  // namespace brightline::signsim
