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
#include "comm/sign_operations.h"
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
        std::string error;  // lastError()
    };
    const Case cases[] = {
        {"length then body", {"00000012", "QVX0001ACK01"}, 1024, 12, "QVX0001ACK01", ""},
        {"split everywhere", {"000", "00012QVX", "0001A", "CK01"}, 1024, 12, "QVX0001ACK01", ""},
        {"leading blanks", {"      5 hello"}, 1024, 5, "hello", ""},
        {"an empty answer", {"00000000"}, 1024, 0, "", ""},
        {"body longer than the caller's buffer", {"00000010", "0123456789"}, 4, 4, "0123", ""},
        {"peer closes early",
         {"00000010", "0123"},
         1024,
         -1,
         "",
         "the sign's reply was cut off after 4 of 10 bytes"},
        {"no digits",
         {"ABCDEFGH", "xyz"},
         1024,
         -1,
         "",
         "the sign's reply does not start with its length"},
        {"digits then letters",
         {"12abcdef", "0123456789ab"},
         1024,
         -1,
         "",
         "the sign's reply does not start with its length"},
        {"a negative length",
         {"-0000005", "hello"},
         1024,
         -1,
         "",
         "the sign's reply does not start with its length"},
        {"a length cut short",
         {"0001"},
         1024,
         -1,
         "",
         "the sign's reply ended after 4 of the 8 bytes of its length"},
        {"empty reply",
         {},
         1024,
         -1,
         "",
         "the sign's reply ended after 0 of the 8 bytes of its length"},
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
        EXPECT_EQ(link.lastError(), c.error) << c.what;
        EXPECT_TRUE(messages.messages().empty()) << c.what;
    }
}

TEST(NetworkLink, ADrippingSignIsGivenUpAtTheExchangeDeadline) {
    std::atomic<bool> release{false};
    TcpPeer peer([&](int fd) {
        // Each byte comes well within the receive time-out, the whole never.
        for (const char c : std::string("00000020QVX0001ACK")) {
            for (int i = 0; i < 30 && !release; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (release) return;
            sendText(fd, std::string(1, c));
        }
    });
    RecordingMessages messages;
    NetworkLink link(messages, "127.0.0.1", peer.port());
    NetworkTimings t;
    t.receiveTimeoutMs = 1000;
    t.exchangeTimeoutMs = 1500;
    link.setTimings(t);
    std::string reply;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link.command("QVX0001GETDATE", &reply), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(2500));
    EXPECT_EQ(link.lastError(), "the sign's reply did not end within 1500 ms");
    release = true;
}

// Get-time against signs that drip, lie or stop half-way: each ends in time with the designed
// message and its cause, and is never taken for the sign's answer.
TEST(NetworkLink, GetTimeFailsOnASignThatDripsOrLies) {
    struct Case {
        const char* what;
        std::vector<std::string> pieces;
        int pauseMs;  // between pieces
        const char* cause;
    } cases[] = {
        {"dripping",
         {"0", "0", "0", "0", "0", "0", "1", "9", "2026/03/01 08:05:00"},
         300,
         "the sign's reply did not end within 1500 ms"},
        {"random bytes",
         {std::string("\x8f\x03\xfe\x11\x90\x00\x7fZ\x01\x02", 10)},
         0,
         "the sign's reply does not start with its length"},
        {"a cut reply",
         {"00000019", "2026/03"},
         0,
         "the sign's reply was cut off after 7 of 19 bytes"},
        {"no date",
         {"00000011", "QVX0001ACK0"},
         0,
         "the sign's answer is no date: \"QVX0001ACK0\""},
        {"a date that is none",
         {"00000019", "2026/13/45 99:99:99"},
         0,
         "the sign's answer is no date: \"2026/13/45 99:99:99\""},
    };
    for (const Case& c : cases) {
        std::atomic<bool> release{false};
        TcpPeer peer([&](int fd) {
            for (const std::string& p : c.pieces) {
                for (int i = 0; i < c.pauseMs / 10 && !release; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (release) return;
                sendText(fd, p);
            }
        });
        RecordingMessages messages;
        OperationObserver observer;
        SignOperations ops(messages, observer);
        OperationEnvironment env;
        env.commandPort = peer.port();
        env.networkTimings.receiveTimeoutMs = 1000;
        env.networkTimings.exchangeTimeoutMs = 1500;
        ops.setEnvironment(env);
        ops.selection().host = "127.0.0.1";
        const auto before = std::chrono::steady_clock::now();
        ASSERT_TRUE(ops.start(OperationCode::GetTime, 1)) << c.what;
        ASSERT_TRUE(ops.waitUntilFinished(5000)) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(2500))
            << c.what;
        EXPECT_FALSE(ops.confirmed()) << c.what;
        ASSERT_EQ(messages.messages().size(), 1u) << c.what;
        EXPECT_EQ(messages.messages()[0].text, std::string("Communication error!\n") + c.cause)
            << c.what;
        release = true;
    }
}

TEST(SignDate, ClockTextsWithADateAndATime) {
    EXPECT_TRUE(holdsSignDate("2026/03/01 08:05:00"));
    EXPECT_TRUE(holdsSignDate("QVX0001ACK2026-12-31 23:59"));
    EXPECT_TRUE(holdsSignDate("1999.1.2  0:00:00\r\n"));
    EXPECT_FALSE(holdsSignDate(""));
    EXPECT_FALSE(holdsSignDate("QVX0001ERROR"));
    EXPECT_FALSE(holdsSignDate("2026/03/01"));  // a date without its time
    EXPECT_FALSE(holdsSignDate("2026/00/01 08:05"));
    EXPECT_FALSE(holdsSignDate("2026/03/01 24:05"));
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
    EXPECT_EQ(link.lastError(), "the sign did not answer within 200 ms");
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
