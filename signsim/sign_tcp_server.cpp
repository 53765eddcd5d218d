#include "signsim/sign_tcp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

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
        ::listen(listener_, 64) != 0) {
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

namespace {

using Clock = std::chrono::steady_clock;

// Silence after part of a word: an unknown word is answered soon, a word's beginning later.
std::chrono::milliseconds quietFor(const std::string& request) {
    return std::chrono::milliseconds(VirtualSign::expectedWordLength(request) < 0 ? 200 : 1000);
}

int msUntil(Clock::time_point t) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, ms));
}

}  // namespace

struct SignTcpServer::Client {
    int fd = -1;
    std::string request;
    Clock::time_point lastData;  // when bytes last came (or the connection was made)
    Clock::time_point limit;     // the connection's end, answered or not
    bool peerDone = false;       // the client closed its side
    bool answering = false;
    std::string reply;
    size_t sent = 0;
    Clock::time_point answerAt;  // a delayed answer goes out then
};

void SignTcpServer::readAvailable(Client& c) {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
        if (n == 0) {
            c.peerDone = true;
            break;
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) c.peerDone = true;
            break;
        }
        c.request.append(buffer, size_t(n));
        c.lastData = Clock::now();
        if (c.request.size() > kMaxRequestBytes) break;  // enough to tell: no word is this long
    }
}

bool SignTcpServer::requestComplete(Client& c) {
    const int expected = VirtualSign::expectedWordLength(c.request);
    if (expected > 0 && static_cast<int>(c.request.size()) >= expected) {
        c.request.resize(size_t(expected));
        return true;
    }
    if (c.request.size() > kMaxRequestBytes) {
        c.request.resize(kMaxRequestBytes);
        return true;
    }
    if (c.request.empty()) return false;
    return c.peerDone || Clock::now() - c.lastData >= quietFor(c.request) ||
           Clock::now() >= c.limit;
}

bool SignTcpServer::prepareAnswer(Client& c) {
    const std::string body = sign_.answerWord(c.request);
    const SignFaults faults = sign_.faults();
    if (sign_.nextAnswerDropped()) return false;  // the connection closes without an answer
    char head[16];
    std::snprintf(head, sizeof head, "%08d", static_cast<int>(body.size()));
    c.reply = std::string(head, 8) + body;
    c.answering = true;
    c.answerAt = Clock::now() + std::chrono::milliseconds(std::max(faults.delayMs, 0));
    return true;
}

void SignTcpServer::loop() {
    std::vector<Client> clients;
    auto drop = [&](size_t i) {
        ::close(clients[i].fd);
        clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
    };
    while (!stop_) {
        // Who is waited for: the listener while there is room, readers, answers that are due.
        std::vector<pollfd> polls;
        int timeout = 50;
        const bool room = static_cast<int>(clients.size()) < kMaxClients;
        if (room) polls.push_back({listener_, POLLIN, 0});
        for (Client& c : clients) {
            short events = 0;
            if (!c.answering) {
                events = POLLIN;
                timeout = std::min(timeout, msUntil(c.limit));
                if (!c.request.empty()) timeout = std::min(timeout, 200);
            } else if (Clock::now() >= c.answerAt) {
                events = POLLOUT;
            } else {
                timeout = std::min(timeout, msUntil(c.answerAt));
            }
            polls.push_back({c.fd, events, 0});
        }
        if (::poll(polls.data(), polls.size(), timeout) < 0 && errno != EINTR) break;
        const size_t first = room ? 1 : 0;
        // Serve the clients (before accepting, so the indices still match).
        for (size_t i = clients.size(); i-- > 0;) {
            Client& c = clients[i];
            const short revents = polls[first + i].revents;
            if (!c.answering) {
                if (revents & (POLLIN | POLLHUP | POLLERR)) readAvailable(c);
                if (requestComplete(c)) {
                    if (stop_ || !prepareAnswer(c)) drop(i);
                } else if (Clock::now() >= c.limit || c.peerDone) {
                    drop(i);  // nothing came in time, or nothing at all
                }
                continue;
            }
            if (!(revents & (POLLOUT | POLLHUP | POLLERR))) continue;
            if (revents & (POLLHUP | POLLERR)) {
                drop(i);
                continue;
            }
            const ssize_t n =
                ::send(c.fd, c.reply.data() + c.sent, c.reply.size() - c.sent, MSG_NOSIGNAL);
            if (n > 0) c.sent += size_t(n);
            if (n <= 0 && errno != EAGAIN && errno != EINTR) {
                drop(i);
            } else if (c.sent == c.reply.size()) {
                drop(i);  // answered: the connection ends
            }
        }
        if (room && (polls[0].revents & POLLIN)) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd >= 0) {
                Client c;
                c.fd = fd;
                c.lastData = Clock::now();
                c.limit = c.lastData + std::chrono::milliseconds(kClientLimitMs);
                clients.push_back(std::move(c));
            }
        }
    }
    for (Client& c : clients) ::close(c.fd);
}

}  // namespace brightline::signsim
