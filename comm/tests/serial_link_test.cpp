#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "comm/modem_dialer.h"
#include "comm/serial_link.h"
#include "common/file_io.h"
#include "common/operator_messages.h"
#include "common/testing/wait_until.h"
#include "pty_peer.h"

using namespace brightline;
using namespace brightline::test;
namespace fs = std::filesystem;

namespace {

class SerialLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("bl_serial_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        SerialLinkTimings t;
        t.replyTimeoutMs = 300;
        t.retryPauseMs = 1;
        link_.setTimings(t);
        ASSERT_TRUE(link_.open(peer_.device(), 115200));
    }
    void TearDown() override {
        link_.close();
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(writeFileAtomically(path(name), bytes));
    }
    static std::vector<uint8_t> pattern(size_t size) {
        std::vector<uint8_t> b(size);
        for (size_t i = 0; i < size; ++i) b[i] = static_cast<uint8_t>(i * 7 + 1);
        return b;
    }

    fs::path dir_;
    PtyPeer peer_{3};
    RecordingMessages messages_;
    SerialLink link_{messages_};
};

TEST_F(SerialLinkTest, FileOfTwoChunksGoesAsTypes1Then3Then5) {
    const auto content = pattern(2048);
    writeFile("show.bin", content);
    ASSERT_EQ(link_.sendFile(path("show.bin"), "show.bin", 3), 1);
    const auto seen = peer_.seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].header.type, kReqOpenWrite);
    EXPECT_EQ(seen[0].header.sequence, 0u);
    EXPECT_EQ(std::string(seen[0].data.begin(), seen[0].data.end()), std::string("show.bin\0", 9));
    EXPECT_EQ(seen[1].header.type, kReqWriteChunk);
    EXPECT_EQ(seen[1].header.sequence, 1u);
    EXPECT_EQ(seen[2].header.type, kReqWriteLast);
    EXPECT_EQ(seen[2].header.sequence, 2u);
    std::vector<uint8_t> joined = seen[1].data;
    joined.insert(joined.end(), seen[2].data.begin(), seen[2].data.end());
    EXPECT_EQ(joined, content);
    for (const auto& p : seen) {
        EXPECT_EQ(p.header.destination, 3);
        EXPECT_EQ(p.header.source, 0xFF);
        EXPECT_EQ(p.header.chunkSize, 1024);
    }
}

TEST_F(SerialLinkTest, SmallChunksAndAShortLastChunk) {
    link_.setChunkSize(32);
    writeFile("a.txt", pattern(70));
    ASSERT_EQ(link_.sendFile(path("a.txt"), "a.txt", 3), 1);
    const auto seen = peer_.seen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].data.size(), 32u);
    EXPECT_EQ(seen[2].data.size(), 32u);
    EXPECT_EQ(seen[3].header.type, kReqWriteLast);
    EXPECT_EQ(seen[3].data.size(), 6u);
}

TEST_F(SerialLinkTest, EmptyOrMissingLocalFile) {
    writeFile("empty", {});
    EXPECT_EQ(link_.sendFile(path("empty"), "empty", 3), 0);
    EXPECT_EQ(peer_.seen().size(), 1u);  // only the open request
    EXPECT_EQ(link_.sendFile(path("missing"), "missing", 3), -1);
    const auto shown = messages_.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "missing open error");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
}

TEST_F(SerialLinkTest, FetchingAnExactMultipleNeedsOneMoreEmptyChunk) {
    const auto content = pattern(2048);
    size_t offset = 0;
    peer_.setHandler([&](const SeenPacket& p) -> std::optional<PeerReply> {
        PeerReply r;
        if (p.header.type == kReqReadChunk) {
            const size_t n = std::min<size_t>(1024, content.size() - offset);
            r.data.assign(content.begin() + offset, content.begin() + offset + n);
            offset += n;
        }
        return r;
    });
    ASSERT_EQ(link_.fetchFile("filelist.txt", path("got.txt"), 3), 1);
    const auto seen = peer_.seen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].header.type, kReqOpenRead);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(seen[i].header.type, kReqReadChunk);
        EXPECT_EQ(seen[i].header.sequence, static_cast<uint32_t>(i));
    }
    std::vector<uint8_t> got;
    ASSERT_TRUE(readWholeFile(path("got.txt"), got));
    EXPECT_EQ(got, content);
}

TEST_F(SerialLinkTest, RetriesUntilAGoodReplyAndGivesUpAfterFive) {
    struct Case {
        const char* what;
        int badReplies;
        bool corrupt;      // answer with a broken checksum instead of staying silent
        uint16_t badCode;  // or answer with this reply code
        bool ok;
        size_t attempts;
    };
    const Case cases[] = {
        {"two silent", 2, false, 0, true, 3},
        {"four corrupt", 4, true, 0, true, 5},
        {"all silent", 99, false, 0, false, 5},
        {"all refused 104", 99, false, kReplyCannotRead, false, 5},
    };
    std::atomic<int> count{0};
    for (const Case& c : cases) {
        count = 0;
        peer_.setHandler([&count, c](const SeenPacket&) -> std::optional<PeerReply> {
            if (count++ >= c.badReplies) return PeerReply{};
            if (c.badCode) return PeerReply{c.badCode, {}, false};
            if (c.corrupt) return PeerReply{kReplyDone, {1, 2}, true};
            return std::nullopt;
        });
        const size_t before = peer_.seen().size();
        std::vector<uint8_t> reply;
        EXPECT_EQ(link_.requestWithRetries(3, kReqGetTime, 0, nullptr, 0, &reply), c.ok) << c.what;
        EXPECT_EQ(peer_.seen().size() - before, c.attempts) << c.what;
    }
}

TEST_F(SerialLinkTest, ReplyDataReachesTheCaller) {
    peer_.setHandler([](const SeenPacket& p) -> std::optional<PeerReply> {
        PeerReply r;
        r.data.assign(p.data.rbegin(), p.data.rend());
        return r;
    });
    const uint8_t data[] = {'A', 'B', 'C'};
    std::vector<uint8_t> reply;
    ASSERT_TRUE(link_.request(3, kReqGetBootParam, 0, data, 3, &reply));
    EXPECT_EQ(std::string(reply.begin(), reply.end()), "CBA");
}

TEST_F(SerialLinkTest, DataLargerThanTheChunkSizeIsRefusedWithoutSending) {
    link_.setChunkSize(64);
    std::vector<uint8_t> data(65, 1);
    EXPECT_FALSE(link_.request(3, kReqSetAddress, 0, data.data(), data.size()));
    EXPECT_TRUE(peer_.seen().empty());
}

TEST_F(SerialLinkTest, CloseWakesAWaitingRequest) {
    SerialLinkTimings t;
    t.replyTimeoutMs = 120000;
    link_.setTimings(t);
    peer_.setHandler([](const SeenPacket&) { return std::optional<PeerReply>(); });
    std::thread closer([&] {
        EXPECT_TRUE(testkit::waitUntil([&] { return !peer_.seen().empty(); }))
            << "the request never reached the peer";
        link_.close();
    });
    EXPECT_FALSE(link_.requestWithRetries(3, kReqReboot, 0, nullptr, 0));
    closer.join();
    EXPECT_FALSE(link_.isOpen());
    EXPECT_EQ(peer_.seen().size(), 1u);  // no retries on a closed link
}

TEST_F(SerialLinkTest, PeerFileServiceWritesInsideTheServiceFolderAndAnswers) {
    link_.setServiceFolder(dir_.string());
    const std::string name = "../../escape.txt";
    std::vector<uint8_t> nameBytes(name.begin(), name.end());
    nameBytes.push_back(0);
    peer_.send(kReqOpenWrite, nameBytes);
    peer_.send(kReqWriteChunk, {'h', 'e'});
    peer_.send(kReqWriteLast, {'y'});
    peer_.send(42, {});
    // Four replies come back: 101 each. The last write closes the file; the unknown type's
    // answer tells that all were served.
    const std::string fileServiceDone = std::string("\x5A\x5A\x5A\x5A\x03\xFF", 6);
    ASSERT_TRUE(testkit::waitUntil([&] {
        const std::string raw = peer_.rawText();
        size_t count = 0;
        for (size_t at = raw.find(fileServiceDone); at != std::string::npos;
             at = raw.find(fileServiceDone, at + 1))
            ++count;
        return count >= 4;
    })) << "the link did not answer all four file service requests";
    std::vector<uint8_t> got;
    ASSERT_TRUE(readWholeFile(path("escape.txt"), got));
    EXPECT_EQ(std::string(got.begin(), got.end()), "hey");
    EXPECT_FALSE(fs::exists(dir_.parent_path().parent_path() / "escape.txt"));
}

TEST_F(SerialLinkTest, LineExchangeReadsTheModemAnswer) {
    peer_.setHandler([](const SeenPacket&) { return std::optional<PeerReply>(); });
    std::thread modem([&] {
        EXPECT_TRUE(testkit::waitUntil([&] {
            return peer_.rawText().find("ATE0\r\n") != std::string::npos;
        })) << "the command never reached the modem";
        peer_.writeRaw({0x0D, 0x0A, 'O', 'K', 0x0D, 0x0A});
    });
    link_.lineEvent().reset();
    link_.exchangeDoneEvent().reset();
    std::string reply;
    EXPECT_TRUE(link_.lineExchange("ATE0\r\n", &reply, 5000));
    modem.join();
    EXPECT_EQ(reply, std::string("\r\nOK\r", 5));
    EXPECT_FALSE(link_.isLineMode());

    // Nobody answers: the wait ends at its time-out.
    link_.lineEvent().reset();
    link_.exchangeDoneEvent().reset();
    EXPECT_FALSE(link_.lineExchange("ATDT123\r\n", &reply, 50));
    // A signalled exchange-done event at the start means stop.
    link_.lineEvent().reset();
    link_.exchangeDoneEvent().set();
    EXPECT_FALSE(link_.lineExchange("ATE0\r\n", &reply, 60000));
}

TEST_F(SerialLinkTest, ClosingTheDialWindowEndsTheDialWaitAtOnce) {
    ModemDialer dialer(link_, nullptr);
    ModemTimings t;
    t.commandPauseMs = 1;
    t.dialAnswerMs = 600000;  // a test that hung here would show
    dialer.setTimings(t);
    // The modem answers "OK" to the first waiting "ATE0", then never again.
    std::thread modem([&] {
        EXPECT_TRUE(testkit::waitUntil([&] {
            const std::string raw = peer_.rawText();
            size_t n = 0;
            for (size_t at = raw.find("ATE0"); at != std::string::npos;
                 at = raw.find("ATE0", at + 1))
                ++n;
            return n >= 2;
        })) << "the dialer never sent ATE0 twice";
        peer_.writeRaw({'\r', '\n', 'O', 'K', '\r', '\n'});
        EXPECT_TRUE(testkit::waitUntil([&] {
            return peer_.rawText().find("ATDT") != std::string::npos;
        })) << "the dialer never dialled";
        dialer.cancel();
    });
    EXPECT_EQ(dialer.dial("123"), "OK");  // closing: the status is left as it was
    modem.join();
    EXPECT_NE(peer_.rawText().find("ATDT123\r\n"), std::string::npos);
    EXPECT_FALSE(link_.isLineMode());  // the ended exchange left line mode
}

TEST(SerialLinkOpen, MissingDeviceFailsAndLeavesNothingOpen) {
    RecordingMessages messages;
    SerialLink link(messages);
    std::string error;
    EXPECT_FALSE(link.open("/dev/nonexistent-brightline-port", 115200, &error));
    EXPECT_FALSE(link.isOpen());
    EXPECT_NE(error.find("nonexistent"), std::string::npos);
    link.close();  // harmless when closed
}

}  // namespace
