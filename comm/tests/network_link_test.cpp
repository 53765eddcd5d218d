#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "comm/network_link.h"
#include "common/operator_messages.h"
#include "common/testing/wait_until.h"

using namespace brightline;

namespace {

// A one-connection TCP peer on 127.0.0.1, port 0: reads what the client sends (until it stops
// for a moment), then runs `answer` on the connection.
class TcpPeer {
  public:
    explicit TcpPeer(std::function<void(int)> answer) : answer_(std::move(answer)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener_, 1);
        socklen_t len = sizeof a;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~TcpPeer() {
        join();
        ::close(listener_);
    }
    // Waits until the peer has served its one connection.
    void join() {
        if (thread_.joinable()) thread_.join();
    }
    int port() const { return port_; }
    std::string received() const { return received_; }

  private:
    void run() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) return;
        int c = ::accept(listener_, nullptr, nullptr);
        char buffer[256];
        for (;;) {
            pollfd q{c, POLLIN, 0};
            if (::poll(&q, 1, 100) <= 0) break;
            ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            received_.append(buffer, static_cast<size_t>(n));
        }
        answer_(c);
        ::close(c);
    }

    std::function<void(int)> answer_;
    int listener_ = -1;
    int port_ = 0;
    std::string received_;
    std::thread thread_;
};

void sendText(int fd, const std::string& s) {
    ::send(fd, s.data(), s.size(), MSG_NOSIGNAL);
}

}  // namespace

TEST(NetworkLink, ReplyFramingCases) {
    struct Case {
        const char* what;
        std::vector<std::string> pieces;  // sent one by one, with short pauses
        size_t capacity;
        long result;
        std::string text;
    };
    const Case cases[] = {
        {"length then body", {"00000012", "QVX0001ACK01"}, 1024, 12, "QVX0001ACK01"},
        {"split everywhere", {"000", "00012QVX", "0001A", "CK01"}, 1024, 12, "QVX0001ACK01"},
        {"leading blanks", {"      5 hello"}, 1024, 5, "hello"},
        {"body longer than the caller's buffer", {"00000010", "0123456789"}, 4, 4, "0123"},
        {"peer closes early", {"00000010", "0123"}, 1024, 4, "0123"},
        {"no digits", {"ABCDEFGH", "xyz"}, 1024, 0, ""},
        {"empty reply", {}, 1024, 0, ""},
    };
    for (const Case& c : cases) {
        TcpPeer peer([&](int fd) {
            for (const std::string& p : c.pieces) {
                sendText(fd, p);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        RecordingMessages messages;
        NetworkLink link(messages, "127.0.0.1", peer.port());
        std::string reply;
        EXPECT_EQ(link.command("QVX0001GETDATE", &reply, c.capacity), c.result) << c.what;
        EXPECT_EQ(reply, c.text) << c.what;
        EXPECT_TRUE(messages.messages().empty()) << c.what;
    }
}

TEST(NetworkLink, RequestIsSentWholeZerosIncludedAndWithoutReplyNothingIsRead) {
    const std::string request("QVX01SETDATE\0\0\0\x01\0\0\0\0", 20);
    TcpPeer peer([](int fd) { sendText(fd, "00000003ACK"); });
    RecordingMessages messages;
    NetworkLink link(messages, "127.0.0.1", peer.port());
    EXPECT_EQ(link.command(request, nullptr), 0);
    peer.join();
    EXPECT_EQ(peer.received(), request);
}

TEST(NetworkLink, SilentPeerEndsAtTheReceiveTimeOut) {
    std::atomic<bool> release{false};
    TcpPeer peer([&](int) {
        EXPECT_TRUE(testkit::waitUntil([&] { return release.load(); }))
            << "the link never gave up waiting for the reply";
    });
    RecordingMessages messages;
    NetworkLink link(messages, "127.0.0.1", peer.port());
    NetworkTimings t;
    t.receiveTimeoutMs = 200;
    link.setTimings(t);
    std::string reply;
    EXPECT_EQ(link.command("QVX0001REBOOT", &reply), -1);
    EXPECT_TRUE(messages.messages().empty());  // a receive failure shows nothing
    release = true;
}

TEST(NetworkLink, UnreachableSignsAreReportedUnderWinsock) {
    struct Case {
        std::string host;
        int port;
        std::string text;
    };
    // A port that was free a moment ago: connecting is refused.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    const int closed = ntohs(a.sin_port);
    ::close(fd);
    const Case cases[] = {
        {"127.0.0.1", closed, "connect error!"},
    };
    for (const Case& c : cases) {
        RecordingMessages messages;
        NetworkLink link(messages, c.host, c.port);
        std::string reply;
        EXPECT_EQ(link.command("QVX0001REBOOT", &reply), -1) << c.host;
        ASSERT_EQ(messages.messages().size(), 1u) << c.host;
        EXPECT_EQ(messages.messages()[0].text, c.text);
        EXPECT_EQ(messages.messages()[0].caption, "WINSOCK");
        EXPECT_EQ(messages.messages()[0].icon, MessageIcon::Error);
    }
}

TEST(NetworkLink, ReplyLengthHeader) {
    EXPECT_EQ(parseReplyLength("00000012", 8), 12);
    EXPECT_EQ(parseReplyLength("  +7xxxx", 8), 7);
    EXPECT_EQ(parseReplyLength("-0000005", 8), 0);
    EXPECT_EQ(parseReplyLength("0000", 4), 0);
    EXPECT_EQ(parseReplyLength("99999999", 8), 99999999);
}
