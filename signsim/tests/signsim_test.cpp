// End-to-end: the sign operations against the virtual sign over a pseudo-terminal and over TCP
// with its real FTP server.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "comm/firmware_update.h"
#include "comm/led_set_data.h"
#include "comm/modem_connection.h"
#include "comm/modem_dialer.h"
#include "comm/sign_operations.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/operator_messages.h"
#include "common/profile.h"
#include "common/testing/scratch_folder.h"
#include "common/testing/wait_until.h"
#include "engine/png_codec.h"
#include "signsim/show_playback.h"
#include "signsim/sign_simulator.h"

using namespace brightline;
using namespace brightline::signsim;
namespace fs = std::filesystem;

namespace {

class RecordingObserver : public OperationObserver {
  public:
    void progressPosition(int p) override {
        std::lock_guard<std::mutex> l(m);
        positions.push_back(p);
    }
    void progressFileName(const std::string& n) override {
        std::lock_guard<std::mutex> l(m);
        names.push_back(n);
    }
    void showFileList(const std::string& t) override {
        std::lock_guard<std::mutex> l(m);
        lists.push_back(t);
    }
    std::mutex m;
    std::vector<int> positions;
    std::vector<std::string> names;
    std::vector<std::string> lists;
};

std::vector<uint8_t> randomBytes(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> b(size);
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    return b;
}

std::vector<uint8_t> readBytes(const fs::path& p) {
    std::vector<uint8_t> b;
    readWholeFile(p.string(), b);
    return b;
}

enum class Link { Network, Serial };

class SignSimTest : public ::testing::TestWithParam<Link> {
  protected:
    void SetUp() override { startWith(SignFaults{}); }
    void TearDown() override {
        ops_.reset();
        sim_.reset();
    }

    void startWith(const SignFaults& faults, bool modem = false,
                   const std::string& playFrames = "") {
        ops_.reset();
        sim_.reset();
        // A test that starts again with other faults gets a fresh folder; all go with the test.
        scratch_.push_back(std::make_unique<testkit::ScratchFolder>("bl_signsim"));
        dir_ = scratch_.back()->path();
        fs::create_directories(dir_ / "ws");
        fs::create_directories(dir_ / "start");
        SimulatorOptions o;
        o.storage = (dir_ / "sign").string();
        o.faults = faults;
        o.modem = modem;
        o.playFrames = playFrames;
        o.playTicks = 10;
        o.lineRate = lineRate_;
        sim_ = std::make_unique<SignSimulator>(o);
        std::string error;
        ASSERT_TRUE(sim_->start(&error)) << error;
        ops_ = std::make_unique<SignOperations>(messages_, observer_);
        OperationEnvironment env;
        env.workspace = (dir_ / "ws").string();
        env.startFolder = (dir_ / "start").string();
        env.serialDevice = sim_->serialDevice();
        env.commandPort = sim_->commandPort();
        env.ftpPort = sim_->ftpPort();
        env.uploadPauseMs = 0;
        env.fileListPauseMs = 0;
        env.serialTimings.replyTimeoutMs = 400;
        env.serialTimings.retryPauseMs = 1;
        env.networkTimings.connectTimeoutMs = 3000;
        env.networkTimings.receiveTimeoutMs = 3000;
        ops_->setEnvironment(env);
        ops_->selection().host = "127.0.0.1";
        ops_->selection().comPort = link() == Link::Serial ? 3 : 0;
        ops_->selection().address = 1;
    }
    virtual Link link() const { return GetParam(); }
    fs::path ws() const { return dir_ / "ws"; }
    fs::path signFolder(const std::string& f) const { return dir_ / "sign" / f; }

    void makeShow() {
        files_.clear();
        files_["run.at"] = std::vector<uint8_t>{'R', 'U', 'N', '\r', '\n'};
        files_["70001.shw"] = randomBytes(300, 1);
        files_["70001001.JPG"] = randomBytes(5000, 2);
        files_["70001002.PNG"] = randomBytes(2048, 3);
        for (auto& [name, bytes] : files_)
            ASSERT_TRUE(writeFileAtomically((ws() / name).string(), bytes));
        fs::create_directories(ws() / "data");
        ASSERT_TRUE(writeFileAtomically((ws() / "data" / "not-sent").string(), {1}));
    }
    void expectShowIn(const std::string& folder) {
        size_t count = 0;
        for (auto& e : fs::directory_iterator(signFolder(folder))) {
            ++count;
            auto it = files_.find(e.path().filename().string());
            ASSERT_NE(it, files_.end()) << e.path();
            EXPECT_EQ(readBytes(e.path()), it->second) << e.path();
        }
        EXPECT_EQ(count, files_.size());
    }
    bool run(OperationCode code, int parameter = 1) {
        messages_.clear();
        if (!ops_->start(code, parameter)) return false;
        EXPECT_TRUE(ops_->waitUntilFinished(120000));
        return true;
    }
    std::vector<OperatorMessage> shown() { return messages_.messages(); }

    std::vector<std::unique_ptr<testkit::ScratchFolder>> scratch_;
    int lineRate_ = 0;
    fs::path dir_;
    std::map<std::string, std::vector<uint8_t>> files_;
    RecordingMessages messages_;
    RecordingObserver observer_;
    std::unique_ptr<SignSimulator> sim_;
    std::unique_ptr<SignOperations> ops_;
};

TEST_P(SignSimTest, ShowIsStoredFileForFileByteIdentical) {
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    EXPECT_TRUE(ops_->confirmed());
    EXPECT_TRUE(shown().empty());
    expectShowIn("DATA1");
    EXPECT_TRUE(sim_->sign().playing());
    EXPECT_EQ(sim_->sign().showFolder(), "DATA1");
    {
        std::lock_guard<std::mutex> l(observer_.m);
        EXPECT_EQ(observer_.names.size(), 4u);
        for (const auto& n : observer_.names) EXPECT_EQ(n.compare(0, 6, "DATA1\\"), 0) << n;
        EXPECT_EQ(observer_.positions.back(), 4);
    }
    // The next show goes to the other folder.
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    expectShowIn("DATA2");
    const auto log = sim_->sign().log();
    if (link() == Link::Network) {
        EXPECT_EQ(std::count(log.begin(), log.end(), "QVX0001REAL0"), 2);
        EXPECT_EQ(std::count(log.begin(), log.end(), "QVX0001RESUME"), 2);
    } else {
        EXPECT_EQ(std::count(log.begin(), log.end(), "type 6"), 2);
        EXPECT_EQ(std::count(log.begin(), log.end(), "type 7"), 2);
    }
}

TEST_P(SignSimTest, AShowAnotherProcessIsMakingIsNotSent) {
    makeShow();
    {
        const WorkspaceLock making(ops_->environment().workspace, WorkspaceLock::Mode::Write);
        ASSERT_TRUE(making.held());
        EXPECT_FALSE(run(OperationCode::SendShow, 4));
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_NE(shown()[0].text.find("is being written by another Make"), std::string::npos)
            << shown()[0].text;
        EXPECT_EQ(sim_->sign().currentFolder(), "") << "nothing reached the sign";
    }
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    EXPECT_TRUE(ops_->confirmed());
    expectShowIn("DATA1");
}

TEST_P(SignSimTest, ClockFileListAndRebootTellTheOperator) {
    ASSERT_TRUE(run(OperationCode::SetTime));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].caption, "Send Time OK!");
    EXPECT_EQ(shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(shown()[0].text.compare(0, 4, "GMT:"), 0) << shown()[0].text;
    EXPECT_LE(std::llabs(sim_->sign().clockOffsetSeconds()), 2);

    ASSERT_TRUE(run(OperationCode::GetTime));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].caption, link() == Link::Serial ? "Get Time OK!" : "");
    EXPECT_EQ(shown()[0].icon,
              link() == Link::Serial ? MessageIcon::Information : MessageIcon::None);
    EXPECT_EQ(shown()[0].text.size(), 19u) << shown()[0].text;

    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    // A name in the sign's code page (GBK for "price list") reads as every other sign text.
    ASSERT_TRUE(writeFileAtomically((signFolder("DATA1") / "\xBC\xDB\xB8\xF1.txt").string(), {1}));
    ASSERT_TRUE(run(OperationCode::GetFileList));
    EXPECT_TRUE(shown().empty());
    {
        std::lock_guard<std::mutex> l(observer_.m);
        ASSERT_EQ(observer_.lists.size(), 1u);
        const std::string& list = observer_.lists[0];
        EXPECT_NE(list.find("DATA1\\70001001.JPG 5000"), std::string::npos) << list;
        EXPECT_NE(list.find("DATA1\\\u4EF7\u683C.txt 1"), std::string::npos) << list;
        if (link() == Link::Serial) {
            EXPECT_NE(list.find("\r\n"), std::string::npos);
        }
    }

    ASSERT_TRUE(run(OperationCode::Reboot));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Please wait a minute,the LED sign is rebooting itself!");
    EXPECT_EQ(shown()[0].caption, "INFO");
    EXPECT_EQ(sim_->sign().reboots(), 1);
}

TEST_P(SignSimTest, FirmwareAndFontUpdatesInstallAndReport) {
    const fs::path wos = dir_ / "new.WOS";
    std::vector<uint8_t> file = {'Z', 'O', 'S', '_', 'Z', 'S', 'Y', 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const auto content = randomBytes(3000, 9);
    file.insert(file.end(), content.begin(), content.end());
    ASSERT_TRUE(writeFileAtomically(wos.string(), file));
    ASSERT_TRUE(prepareUpdate(UpdateKind::Firmware, wos.string(), ws().string(), messages_));
    ASSERT_TRUE(run(OperationCode::UpdateFirmware));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text,
              "UpDate firmware ok! \n\nPlease wait a minute,the LED sign is rebooting itself!");
    EXPECT_EQ(shown()[0].icon, MessageIcon::Information);
    EXPECT_FALSE(fs::exists(ws() / "zos.zos"));
    EXPECT_EQ(sim_->sign().installs(), 1);

    // A broken image is refused by the sign: the firmware error, both ways.
    std::vector<uint8_t> broken = file;
    broken[8] = 1;  // wrong length
    ASSERT_TRUE(writeFileAtomically((ws() / "zos.zos").string(), broken));
    ASSERT_TRUE(run(OperationCode::UpdateFirmware));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "UpDate firmware error!");
    EXPECT_EQ(shown()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(ops_->confirmed());

    ASSERT_TRUE(writeFileAtomically((ws() / "ezfon.bin").string(), {1, 2, 3}));
    ASSERT_TRUE(run(OperationCode::UpdateFont));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(
        shown()[0].text,
        "UpDate firmware font ok! \n\nPlease wait a minute,the LED sign is rebooting itself!");
    EXPECT_EQ(sim_->sign().installs(), 2);
}

TEST_P(SignSimTest, SignAnsweringErrorEndsWithCommunicationError) {
    SignFaults f;
    f.answerError = true;
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    ASSERT_EQ(shown().size(), 1u);
    const std::string refusal = GetParam() == Link::Network ? "QVX0001ERROR" : "ERROR";
    EXPECT_EQ(shown()[0].text, "Communication error!\nthe sign refused the upload: " + refusal);
    EXPECT_EQ(shown()[0].caption, "INFO");
    EXPECT_EQ(shown()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(ops_->confirmed());
    EXPECT_EQ(ops_->runState(), RunState::Idle);
    EXPECT_TRUE(fs::is_empty(signFolder("DATA1")));

    messages_.clear();
    EXPECT_FALSE(ops_->readBootParams());
    EXPECT_FALSE(ops_->writeBootParams(BootParams{}));
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[0].text,
              "Read show information on startup failed!\nthe sign's answer holds "
              "no settings: \"" +
                  refusal + "\"");
    EXPECT_EQ(shown()[1].text,
              "Set show information on startup failed!\nthe sign answered \"" + refusal + "\"");
    EXPECT_EQ(shown()[1].caption, "INFO");
    EXPECT_EQ(shown()[1].icon, MessageIcon::Information);
}

TEST_P(SignSimTest, StartUpDisplaySettingsRoundTrip) {
    BootParams p;
    p.show = {{1, 0, 1, 1, 0, 1}};
    EXPECT_TRUE(ops_->writeBootParams(p));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Set show information on startup successful!\n");
    EXPECT_EQ(sim_->sign().bootParams(), p);
    messages_.clear();
    auto read = ops_->readBootParams();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, p);
    EXPECT_TRUE(shown().empty());
}

INSTANTIATE_TEST_SUITE_P(BothLinks, SignSimTest, ::testing::Values(Link::Network, Link::Serial),
                         [](const auto& info) {
                             return info.param == Link::Network ? "Network" : "Serial";
                         });

class SerialSignTest : public SignSimTest {
  protected:
    Link link() const override { return Link::Serial; }
};

TEST_F(SerialSignTest, DroppedAndCorruptedRepliesAreRetried) {
    SignFaults f;
    f.dropEveryNth = 3;
    f.corruptEveryNth = 4;
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(ops_->confirmed());
    expectShowIn("DATA1");
    // Prepare, stop, 4 files as 13 packets, resume: 16 requests were needed; the lost and
    // broken answers made the link send more, and every one reached the sign.
    EXPECT_GT(ops_->serialLink().requestsSent(), 16u);
    EXPECT_EQ(sim_->sign().log().size(), ops_->serialLink().requestsSent());
}

TEST_F(SerialSignTest, SilentSignEndsWithCommunicationErrorAndNothingHangs) {
    SignFaults f;
    f.dropEveryNth = 1;
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text,
              "Communication error!\nthe sign did not answer within " +
                  std::to_string(ops_->environment().serialTimings.replyTimeoutMs) +
                  " ms (5 attempts)");
    EXPECT_EQ(sim_->sign().log().size(), 5u);  // one request, five attempts
    EXPECT_FALSE(ops_->serialLink().isOpen());
}

TEST_F(SerialSignTest, ChangedAddressIsStoredEverywhere) {
    const fs::path profilePath = dir_ / "profile.ini";
    Profile profile(profilePath.string());
    SignList list;
    list.signs.push_back(defaultSignRecord({{192, 168, 0, 6}}, "192.168.0.6"));
    list.signs[0].name = "Sample LED";
    list.signs[0].port = 3;
    ASSERT_TRUE(saveSignList((dir_ / "LED_SET.ZRC").string(), list));
    OperationEnvironment env = ops_->environment();
    env.profile = &profile;
    env.signListPath = (dir_ / "LED_SET.ZRC").string();
    ops_->setEnvironment(env);
    AddressChange change;
    change.address = 9;
    change.baudIndex = 5;
    change.ip = {{10, 0, 0, 5}};
    change.mask = {{255, 255, 0, 0}};
    change.gateway = {{10, 0, 0, 1}};
    ops_->setPendingAddressChange(change);
    ASSERT_TRUE(run(OperationCode::SetAddress));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Please wait a minute,the LED sign is rebooting itself!");
    EXPECT_EQ(shown()[0].caption, "Set ADDR OK!");
    EXPECT_EQ(sim_->sign().serialAddress(), 9);
    EXPECT_EQ(sim_->sign().baudRate(), 38400);
    EXPECT_EQ(ops_->selection().address, 9);
    EXPECT_EQ(ops_->selection().baudIndex, 5);
    EXPECT_EQ(profile.getInt("SET", "NEW_IP0", 0), 10);
    EXPECT_EQ(profile.getInt("SET", "Subnetmask1", 0), 255);
    EXPECT_EQ(profile.getInt("SET", "DefaultGateway3", 0), 1);
    SignList again;
    ASSERT_TRUE(loadSignList((dir_ / "LED_SET.ZRC").string(), again));
    EXPECT_EQ(again.signs[0].address, 9);
    EXPECT_EQ(again.signs[0].host, "10.0.0.5");
    // The sign now answers at its new address only.
    ASSERT_TRUE(run(OperationCode::Reboot));
    EXPECT_EQ(shown()[0].text, "Please wait a minute,the LED sign is rebooting itself!");
}

TEST_F(SerialSignTest, SmallChunksCarryTheShowAndTheFileList) {
    OperationEnvironment env = ops_->environment();
    env.chunkSize = 64;
    ops_->setEnvironment(env);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    EXPECT_TRUE(shown().empty());
    expectShowIn("DATA1");
    ASSERT_TRUE(run(OperationCode::GetFileList));
    std::lock_guard<std::mutex> l(observer_.m);
    ASSERT_EQ(observer_.lists.size(), 1u);
    EXPECT_NE(observer_.lists[0].find("DATA1\\70001002.PNG 2048\r\n"), std::string::npos);
}

TEST_F(SerialSignTest, StopEndsAnOperationDuringItsPause) {
    OperationEnvironment env = ops_->environment();
    env.uploadPauseMs = 600000;  // a test that hung here would show
    ops_->setEnvironment(env);
    makeShow();
    ASSERT_TRUE(ops_->start(OperationCode::SendShow, 4));
    ASSERT_TRUE(testkit::waitUntil([&] { return sim_->sign().log().size() >= 2; }))
        << "the sign never got the upload's first two requests";
    ops_->requestStop();
    EXPECT_TRUE(ops_->waitUntilFinished(60000));
    EXPECT_EQ(ops_->runState(), RunState::Idle);
    EXPECT_FALSE(ops_->confirmed());
    EXPECT_TRUE(fs::is_empty(signFolder("DATA1")));
    EXPECT_FALSE(ops_->serialLink().isOpen());
}

TEST_F(SerialSignTest, StopEndsATransferWithinOneRequest) {
    lineRate_ = 115200;  // about 20 s for the big file below
    startWith(SignFaults{});
    makeShow();
    ASSERT_TRUE(writeFileAtomically((ws() / "70001003.ZVI").string(), randomBytes(200000, 4)));
    ASSERT_TRUE(ops_->start(OperationCode::SendShow, 5));
    ASSERT_TRUE(testkit::waitUntil([&] { return sim_->sign().log().size() >= 8; }))
        << "the transfer never started";
    ops_->requestStop();
    EXPECT_TRUE(ops_->waitUntilFinished(60000));
    EXPECT_FALSE(ops_->confirmed());
    EXPECT_TRUE(shown().empty());
    EXPECT_LT(sim_->sign().log().size(), 100u);  // the 200 KB alone take 196 requests
    EXPECT_FALSE(sim_->sign().playing());        // stopped for the upload, never resumed
}

TEST_F(SerialSignTest, FileListThatCannotBeStoredHereIsACommunicationError) {
    OperationEnvironment env = ops_->environment();
    env.startFolder = (dir_ / "no-such-folder").string();
    ops_->setEnvironment(env);
    ASSERT_TRUE(run(OperationCode::GetFileList));
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[0].text, env.startFolder + "/filelist.txt open error");
    EXPECT_EQ(shown()[0].caption, "Error");
    EXPECT_EQ(shown()[1].text, "Communication error!");
    EXPECT_FALSE(ops_->confirmed());
    std::lock_guard<std::mutex> l(observer_.m);
    EXPECT_TRUE(observer_.lists.empty());
}

TEST_F(SerialSignTest, ScanDirectionIsNotSentOverTheSerialLink) {
    EXPECT_FALSE(ops_->setScanDirection(2));
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(sim_->sign().log().empty());
}

TEST_F(SerialSignTest, TakenPortStopsBeforeTheWorker) {
    OperationEnvironment env = ops_->environment();
    env.serialDevice = (dir_ / "no-such-port").string();
    ops_->setEnvironment(env);
    messages_.clear();
    EXPECT_FALSE(ops_->start(OperationCode::GetTime, 1));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "COM3 is taken !\n" + (dir_ / "no-such-port").string() +
                                   ": No such file or directory");
    EXPECT_EQ(ops_->runState(), RunState::Idle);
}

TEST_F(SerialSignTest, ModemDialsConnectsCarriesPacketsAndHangsUp) {
    startWith(SignFaults{}, /*modem=*/true);
    SerialLink& link = ops_->serialLink();
    ASSERT_TRUE(link.open(sim_->serialDevice(), 115200));
    std::string line;
    auto exchange = [&](const std::string& command, int timeoutMs) {
        link.lineEvent().reset();
        link.exchangeDoneEvent().reset();
        return link.lineExchange(command, &line, timeoutMs);
    };
    ASSERT_TRUE(exchange("ATE0\r\n", 3000));
    EXPECT_NE(line.find("OK"), std::string::npos);
    ASSERT_TRUE(exchange("ATDT0\r\n", 3000));
    EXPECT_NE(line.find("NO CARRIER"), std::string::npos);
    ASSERT_TRUE(exchange("ATDT5551234\r\n", 3000));
    EXPECT_NE(line.find("CONNECT"), std::string::npos);
    ops_->selection().held = true;
    ASSERT_TRUE(run(OperationCode::GetTime));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].caption, "Get Time OK!");
    EXPECT_TRUE(link.isOpen());                                   // held links stay open
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // the guard time before "+++"
    ASSERT_TRUE(exchange("+++", 3000));
    EXPECT_NE(line.find("OK"), std::string::npos);
    ASSERT_TRUE(exchange("ATH0\r\n", 3000));
    EXPECT_NE(line.find("OK"), std::string::npos);
    link.close();
}

TEST_F(SerialSignTest, HeldModemLinkCarriesOperationsUntilReleased) {
    startWith(SignFaults{}, /*modem=*/true);
    Profile profile((dir_ / "profile.ini").string());
    ModemConnection modem(*ops_, &profile);
    ModemTimings t;
    t.commandPauseMs = 20;
    t.guardMs = 600;  // the modem wants a pause before "+++"
    t.escapePauseMs = 20;
    t.shortPauseMs = 20;
    modem.setTimings(t);
    std::mutex m;
    std::vector<std::string> statuses;
    modem.onStatus([&](const std::string& s) {
        std::lock_guard<std::mutex> l(m);
        statuses.push_back(s);
    });
    EXPECT_EQ(modem.dial("5551234"), "Disconnected!");  // nothing held yet
    ASSERT_TRUE(modem.connect(4, sim_->serialDevice()));
    EXPECT_TRUE(ops_->selection().held);
    EXPECT_EQ(ops_->selection().comPort, 4);
    EXPECT_EQ(modem.dial("0"), "NO");
    EXPECT_EQ(modem.failure(), "the modem answered NO CARRIER");  // the whole answer for people
    EXPECT_EQ(modem.dial("5551234"), "CONNECT");
    EXPECT_EQ(modem.failure(), "");
    EXPECT_EQ(profile.getString("SET", "PHONE_NUMBER_SEL", ""), "5551234");
    {
        std::lock_guard<std::mutex> l(m);
        EXPECT_EQ(statuses, (std::vector<std::string>{"", "OK", "NO", "", "OK", "CONNECT"}));
    }
    // Two operations over the held link: neither opens nor closes it.
    ASSERT_TRUE(run(OperationCode::Reboot));
    EXPECT_EQ(shown()[0].text, "Please wait a minute,the LED sign is rebooting itself!");
    ASSERT_TRUE(run(OperationCode::GetTime));
    EXPECT_EQ(shown()[0].caption, "Get Time OK!");
    EXPECT_EQ(sim_->sign().reboots(), 1);
    EXPECT_TRUE(ops_->serialLink().isOpen());
    EXPECT_EQ(modem.hangUp(), "Disconnected!");
    modem.release();
    EXPECT_FALSE(ops_->selection().held);
    EXPECT_FALSE(ops_->serialLink().isOpen());
}

TEST_F(SerialSignTest, ReleaseDuringTheDialWaitEndsItAtOnce) {
    startWith(SignFaults{}, /*modem=*/true);
    ModemConnection modem(*ops_, nullptr);
    ModemTimings t;
    t.commandPauseMs = 20;
    modem.setTimings(t);  // the dial waits its full 30 seconds for an answer
    ASSERT_TRUE(modem.connect(4, sim_->serialDevice()));
    ASSERT_TRUE(modem.startDial("00"));  // the modem never answers this one
    ASSERT_TRUE(testkit::waitUntil([&] { return ops_->serialLink().isLineMode(); }))
        << "the dial never started";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // into the dial's wait
    const auto before = std::chrono::steady_clock::now();
    modem.release();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_FALSE(modem.busy());
    EXPECT_FALSE(ops_->selection().held);
    EXPECT_FALSE(ops_->serialLink().isOpen());
    EXPECT_FALSE(ops_->serialLink().isLineMode());
}

TEST_F(SerialSignTest, UnansweredDialSaysTheModemDidNotAnswer) {
    startWith(SignFaults{}, /*modem=*/true);
    ModemConnection modem(*ops_, nullptr);
    ModemTimings t;
    t.commandPauseMs = 20;
    t.dialAnswerMs = 300;
    modem.setTimings(t);
    ASSERT_TRUE(modem.connect(4, sim_->serialDevice()));
    EXPECT_EQ(modem.dial("00"), "Disconnected!");  // the modem never answers this number
    EXPECT_EQ(modem.failure(), "the modem did not answer the dial within 300 ms");
    modem.release();
}

TEST_F(SerialSignTest, TakenModemPortHoldsNothing) {
    ModemConnection modem(*ops_, nullptr);
    EXPECT_FALSE(modem.connect(5, (dir_ / "no-such-port").string()));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "COM5 is taken !\n" + (dir_ / "no-such-port").string() +
                                   ": No such file or directory");
    EXPECT_EQ(shown()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(ops_->selection().held);
}

class NetworkSignTest : public SignSimTest {
  protected:
    Link link() const override { return Link::Network; }
};

// A plain TCP client of the command port (-1 when it cannot connect).
int connectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The memory this process holds (the virtual sign runs in it), in KiB.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

TEST_F(NetworkSignTest, CommandPortAnswersWithinASecondWhileFloodedAndHeldOpen) {
    const int port = sim_->commandPort();
    std::vector<int> idle;  // connect and never say a word
    for (int i = 0; i < 10; ++i) idle.push_back(connectTo(port));
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> streamed{0};
    std::thread flood([&] {  // streams bytes without end, again whenever it is cut off
        const std::vector<char> junk(65536, 'Z');
        while (!stop) {
            const int fd = connectTo(port);
            while (!stop && fd >= 0) {
                const ssize_t n = ::send(fd, junk.data(), junk.size(), MSG_NOSIGNAL);
                if (n <= 0) break;
                streamed += uint64_t(n);
            }
            if (fd >= 0) ::close(fd);
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const long before = residentKiB();
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(run(OperationCode::GetTime));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << i;
        EXPECT_TRUE(ops_->confirmed()) << (shown().empty() ? "" : shown()[0].text);
    }
    const long grown = residentKiB() - before;
    stop = true;
    flood.join();
    for (int fd : idle) ::close(fd);
    EXPECT_GT(streamed.load(), 0u);
    EXPECT_LT(grown, 64 * 1024) << "KiB grown while " << streamed.load() << " bytes streamed in";
}

TEST_F(NetworkSignTest, ReceivedShowIsPlayedIntoFrames) {
    const std::string frames = (dir_ / "frames").string();
    startWith(SignFaults{}, false, frames);
    const std::string header =
        "TIME_ZONE 28800 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 \r\n"
        "DAYLIGHT_BIAS 0 \r\nLED_W 64 \r\nLED_H 32 \r\nAT 00:00 00:00 \r\n";
    const std::string runAt = header + "RUN wzp 1 70001.shw 0 0 64 32 1 \r\nEND";
    const std::string region = "PNG 70001001\r\nAP SHOW 0\r\nSTOP 1\r\n";
    const std::vector<uint32_t> red(64 * 32, 0xFF0000);
    ASSERT_TRUE(engine::writePngFile((ws() / "70001001.png").string(), 64, 32, red.data()));
    ASSERT_TRUE(writeFileAtomically((ws() / "run.at").string(),
                                    std::vector<uint8_t>(runAt.begin(), runAt.end())));
    ASSERT_TRUE(writeFileAtomically((ws() / "70001.shw").string(),
                                    std::vector<uint8_t>(region.begin(), region.end())));
    ASSERT_TRUE(run(OperationCode::SendShow, 3));
    ASSERT_NE(sim_->playback(), nullptr);
    ASSERT_TRUE(sim_->playback()->waitIdle(60000));
    EXPECT_EQ(sim_->playback()->played(), 1);
    EXPECT_GT(sim_->playback()->lastFrames(), 0);
    EXPECT_FALSE(fs::is_empty(frames));
}

// What the sign was sent plays by the sign's own clock: its schedule chooses the program.
TEST(ShowPlaybackTest, TheScheduleChoosesByTheSignsClock) {
    testkit::ScratchFolder dir("bl_playback");
    const std::string header =
        "TIME_ZONE 0 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 \r\n"
        "DAYLIGHT_BIAS 0 \r\nLED_W 8 \r\nLED_H 8 \r\n";
    const std::string runAt = header +
                              "WEEK --/--/--  --/--/--  3e 06:00 12:00\r\n"
                              "RUN wzp 1 70000.shw 0 0 8 8 1 \r\n"
                              "WEEK --/--/--  --/--/--  41 00:00 23:59\r\n"
                              "RUN wzp 1 70100.shw 0 0 8 8 1 \r\nEND";
    auto write = [&](const std::string& name, const std::string& text) {
        ASSERT_TRUE(
            writeFileAtomically(dir.file(name), std::vector<uint8_t>(text.begin(), text.end())));
    };
    write("run.at", runAt);
    write("70000.shw", "PNG red\r\nAP SHOW 0\r\nSTOP 1\r\n");
    write("70100.shw", "PNG blue\r\nAP SHOW 0\r\nSTOP 1\r\n");
    const std::vector<uint32_t> red(64, 0xFF0000), blue(64, 0x0000FF);
    ASSERT_TRUE(engine::writePngFile(dir.file("red.png"), 8, 8, red.data()));
    ASSERT_TRUE(engine::writePngFile(dir.file("blue.png"), 8, 8, blue.data()));
    struct Case {
        const char* day;
        int64_t signClock;  // the sign's wall clock
        uint8_t r, b;
    } cases[] = {
        {"saturday", 1772874000 /* 2026-03-07 09:00 */, 0, 255},
        {"tuesday", 1773133200 /* 2026-03-10 09:00 */, 255, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day);
        const std::string frames = dir.file(c.day);
        ShowPlayback playback(frames, "", 10, [&] { return c.signClock; });
        playback.play(dir.path());
        ASSERT_TRUE(playback.waitIdle(60000));
        ASSERT_EQ(playback.played(), 1);
        engine::RgbaImage first;
        ASSERT_TRUE(engine::readPngFile(frames + "/000001.png", first));
        EXPECT_EQ(first.rgba[0], c.r);
        EXPECT_EQ(first.rgba[2], c.b);
    }
}

TEST_F(NetworkSignTest, UploadCutOffIsRetriedThenGivenUp) {
    SignFaults f;
    f.cutUploadAfter = 1000;
    f.cutUploadCount = 1;
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    EXPECT_TRUE(shown().empty()) << shown()[0].text;
    expectShowIn("DATA1");

    f.cutUploadCount = -1;
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text.rfind("Communication error!\nDATA1\\", 0), 0u) << shown()[0].text;
    // The reason is the cut transfer and the server's refusal, not a remark curl made on the way.
    EXPECT_NE(shown()[0].text.find(" was not taken after 3 attempts: Transferred a partial file "
                                   "(the FTP server answered 426)"),
              std::string::npos)
        << shown()[0].text;
    EXPECT_FALSE(ops_->confirmed());
    const auto log = sim_->sign().log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "QVX0001RESUME"), 0);
}

TEST_F(NetworkSignTest, CatalogueReplyRules) {
    // A prepare reply without a folder: the files go to "\<name>", the storage's top.
    SignFaults f;
    f.answers["QVX0001DEL"] = "QVX0001ACK";
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(fs::exists(dir_ / "sign" / "70001001.JPG"));
    {
        std::lock_guard<std::mutex> l(observer_.m);
        EXPECT_EQ(observer_.names[0].substr(0, 1), "\\");
    }
    // An install answer with a trailing CR LF is not the exact success answer.
    f.answers.clear();
    f.answers["QVX0001UP_OS"] = "QVX0001ACK00\r\n";
    sim_->sign().setFaults(f);
    ASSERT_TRUE(writeFileAtomically((ws() / "zos.zos").string(), {1}));
    ASSERT_TRUE(run(OperationCode::UpdateFirmware));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "UpDate firmware error!");
    f.answers["QVX0001UP_OS"] = "QVX0001ACK00";
    sim_->sign().setFaults(f);
    ASSERT_TRUE(run(OperationCode::UpdateFirmware));
    EXPECT_EQ(shown()[0].text.substr(0, 19), "UpDate firmware ok!");
}

TEST_F(NetworkSignTest, RefusedFtpShowsTheSessionErrorOnly) {
    SignFaults f;
    f.refuseFtp = true;
    startWith(f);
    makeShow();
    ASSERT_TRUE(run(OperationCode::SendShow, 4));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_NE(shown()[0].text, "Communication error!");
    EXPECT_EQ(shown()[0].caption, "");
    EXPECT_FALSE(ops_->confirmed());
}

TEST_F(NetworkSignTest, FolderOtherThanDataAndScriptFailsTheUpload) {
    makeShow();
    fs::create_directories(ws() / "extra");
    ASSERT_TRUE(run(OperationCode::SendShow, 5));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text.rfind("Communication error!\nDATA1\\extra was not taken after 3 "
                                    "attempts: ",
                                    0),
              0u)
        << shown()[0].text;
    EXPECT_NE(shown()[0].text.find("is a folder, not a regular file"), std::string::npos);
}

TEST_F(NetworkSignTest, DeadCommandPortGivesBothMessages) {
    OperationEnvironment env = ops_->environment();
    env.commandPort = sim_->ftpPort();  // speaks, but not our protocol: replaced below
    SignFaults f;
    f.refuseFtp = true;
    startWith(f);
    env = ops_->environment();
    env.commandPort = sim_->ftpPort();  // nothing listens there
    ops_->setEnvironment(env);
    ASSERT_TRUE(run(OperationCode::Reboot));
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[0].text, "connect error!");
    EXPECT_EQ(shown()[0].caption, "WINSOCK");
    EXPECT_EQ(shown()[1].text, "Communication error!\ncannot connect to 127.0.0.1:" +
                                   std::to_string(sim_->ftpPort()) + ": connection refused");
}

TEST_F(NetworkSignTest, DirectCommandsReachTheSign) {
    auto host = ops_->setIp({{10, 0, 0, 5}}, {{255, 0, 0, 0}}, {{10, 0, 0, 1}});
    ASSERT_TRUE(host);
    EXPECT_EQ(*host, "10.0.0.5");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text,
              "Please wait a minute,the LED sign is rebooting itself!\n\nNew IP:10:0:0:5\r\n");
    EXPECT_EQ(shown()[0].caption, "Set IP OK!");
    EXPECT_EQ(sim_->sign().ip(), (Ipv4{{10, 0, 0, 5}}));
    messages_.clear();
    EXPECT_TRUE(ops_->setScanDirection(3));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Communication ok!");
    EXPECT_EQ(shown()[0].icon, MessageIcon::None);
    EXPECT_EQ(sim_->sign().scanDirection(), 3);
}

TEST_F(NetworkSignTest, DelayedAndDroppedAnswers) {
    SignFaults f;
    f.delayMs = 50;
    startWith(f);
    ASSERT_TRUE(run(OperationCode::Reboot));
    EXPECT_EQ(shown()[0].caption, "INFO");
    EXPECT_TRUE(ops_->confirmed());
    f.delayMs = 0;
    f.dropEveryNth = 1;
    sim_->sign().setFaults(f);
    ASSERT_TRUE(run(OperationCode::GetTime));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text,
              "Communication error!\nthe sign's reply ended after 0 of the 8 bytes of its length");
}

TEST_F(NetworkSignTest, OversizedWorkspaceIsRefusedBeforeAnythingIsSent) {
    // A sparse file: its size counts, it takes no disk.
    const fs::path big = ws() / "huge.zvi";
    { std::ofstream(big.string()).put('x'); }
    fs::resize_file(big, 1900ULL << 20);
    EXPECT_FALSE(ops_->start(OperationCode::Reboot, 1));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text,
              "The amount of file size exceed the FLASH DISK capacity.\r\nsize=1992294400");
    EXPECT_EQ(shown()[0].caption, "INFO");
    EXPECT_TRUE(sim_->sign().log().empty());
}

}  // namespace
