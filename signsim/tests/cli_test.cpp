// brightline-cli send / sign against the virtual sign: the exit status tells whether the sign
// confirmed the operation.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/file_io.h"
#include "common/profile.h"
#include "signsim/sign_simulator.h"

using namespace brightline;
using namespace brightline::signsim;
namespace fs = std::filesystem;

namespace {

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("bl_cli_sign_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "ws");
        SimulatorOptions o;
        o.storage = (dir_ / "sign").string();
        sim_ = std::make_unique<SignSimulator>(o);
        std::string error;
        ASSERT_TRUE(sim_->start(&error)) << error;
        ::setenv("BRIGHTLINE_PROFILE", (dir_ / "profile.ini").c_str(), 1);
        ::setenv("BRIGHTLINE_WORKSPACE", (dir_ / "ws").c_str(), 1);
    }
    void TearDown() override {
        sim_.reset();
        fs::remove_all(dir_);
    }
    std::string net() const {
        return " --host 127.0.0.1 --port " + std::to_string(sim_->commandPort()) + " --ftp-port " +
               std::to_string(sim_->ftpPort()) + " --upload-pause 0";
    }
    std::string serial() const { return " --serial " + sim_->serialDevice() + " --upload-pause 0"; }
    // Runs the CLI; returns its exit status, with its standard output in `out_`.
    int cli(const std::string& args) {
        const std::string outFile = (dir_ / "out.txt").string();
        // Run in the test's folder: that is the start folder, where "filelist.txt" lands.
        const std::string command = "cd " + dir_.string() + " && " + BRIGHTLINE_CLI + " " + args +
                                    " > " + outFile + " 2> " + (dir_ / "err.txt").string();
        const int status = std::system(command.c_str());
        std::ifstream in(outFile);
        std::stringstream s;
        s << in.rdbuf();
        out_ = s.str();
        std::ifstream e((dir_ / "err.txt").string());
        std::stringstream es;
        es << e.rdbuf();
        err_ = es.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
    std::unique_ptr<SignSimulator> sim_;
    std::string out_, err_;
};

TEST_F(CliTest, SendAndSignCommandsOverBothLinks) {
    ASSERT_TRUE(writeFileAtomically((dir_ / "ws" / "run.at").string(), {'R', 'U', 'N'}));
    ASSERT_TRUE(writeFileAtomically((dir_ / "ws" / "70001001.JPG").string(),
                                    std::vector<uint8_t>(4000, 7)));
    EXPECT_EQ(cli("send" + net()), 0) << err_;
    std::vector<uint8_t> got;
    ASSERT_TRUE(readWholeFile((dir_ / "sign" / "DATA1" / "70001001.JPG").string(), got));
    EXPECT_EQ(got, std::vector<uint8_t>(4000, 7));
    EXPECT_EQ(cli("send" + serial()), 0) << err_;
    ASSERT_TRUE(readWholeFile((dir_ / "sign" / "DATA2" / "70001001.JPG").string(), got));
    EXPECT_EQ(got.size(), 4000u);

    EXPECT_EQ(cli("sign file-list" + serial()), 0) << err_;
    EXPECT_NE(out_.find("DATA2\\70001001.JPG 4000"), std::string::npos) << out_;
    EXPECT_TRUE(fs::exists(dir_ / "filelist.txt"));
    EXPECT_EQ(cli("sign set-startup 101100" + net()), 0) << err_;
    EXPECT_EQ(cli("sign get-startup" + serial()), 0) << err_;
    EXPECT_EQ(out_, "101100\n");
    Profile profile((dir_ / "profile.ini").string());
    EXPECT_EQ(profile.getInt("SET", "Show_Baud_Rate", 9), 0);
    EXPECT_EQ(cli("sign scan 2" + net()), 0) << err_;
    EXPECT_EQ(sim_->sign().scanDirection(), 2);
    EXPECT_EQ(cli("sign set-time" + serial()), 0) << err_;
    EXPECT_NE(err_.find("Send Time OK!: GMT:"), std::string::npos) << err_;
}

TEST_F(CliTest, NewIpIsAdoptedWhenTheHostCameFromTheProfile) {
    {
        Profile profile((dir_ / "profile.ini").string());
        profile.writeString("SET", "HOST_ADDRESS", "127.0.0.1");
        profile.writeInt("SET", "PORT", 0);
    }
    EXPECT_EQ(cli("sign set-ip 127.0.0.9 255.0.0.0 127.0.0.1 --port " +
                  std::to_string(sim_->commandPort())),
              0)
        << err_;
    EXPECT_EQ(sim_->sign().ip(), (Ipv4{{127, 0, 0, 9}}));
    Profile profile((dir_ / "profile.ini").string());
    EXPECT_EQ(profile.getString("SET", "HOST_ADDRESS", ""), "127.0.0.9");
    EXPECT_EQ(profile.getInt("SET", "NEW_IP3", 0), 9);
    EXPECT_EQ(profile.getInt("SET", "Subnetmask1", 9), 0);
    EXPECT_EQ(profile.getInt("SET", "DefaultGateway0", 0), 127);
    EXPECT_NE(err_.find("Set IP OK!: Please wait a minute"), std::string::npos) << err_;
    // Given a host on the command line, the profile is left alone.
    EXPECT_EQ(cli("sign set-ip 127.0.0.7 255.0.0.0 127.0.0.1" + net()), 0) << err_;
    Profile again((dir_ / "profile.ini").string());
    EXPECT_EQ(again.getString("SET", "HOST_ADDRESS", ""), "127.0.0.9");
}

TEST_F(CliTest, AnswersThatAreNoAnswerFailAndMessagesSayWhatWentWrong) {
    // An empty sign's file list is empty, not a failure.
    EXPECT_EQ(cli("sign file-list" + net()), 0) << err_;
    EXPECT_EQ(out_, "");
    EXPECT_NE(err_.find("the sign holds no files"), std::string::npos) << err_;
    // A clock answer that holds no date is not printed as the sign's time.
    SignFaults f;
    f.answers["QVX0001GETDATE"] = "QVX0001ACK";
    sim_->sign().setFaults(f);
    EXPECT_EQ(cli("sign get-time" + net()), 1);
    EXPECT_NE(err_.find("Communication error!\nthe sign's answer is no date: \"QVX0001ACK\""),
              std::string::npos)
        << err_;
    // A serial device that is missing, or is a plain file: the designed message, then why.
    ASSERT_TRUE(writeFileAtomically((dir_ / "plain").string(), {1}));
    EXPECT_EQ(cli("sign get-time --serial /dev/nonexistent"), 1);
    EXPECT_NE(err_.find("COM1 is taken !\n/dev/nonexistent: No such file or directory"),
              std::string::npos)
        << err_;
    EXPECT_EQ(cli("sign get-time --serial " + (dir_ / "plain").string()), 1);
    EXPECT_NE(err_.find("is taken !\n" + (dir_ / "plain").string() + ": not a serial device"),
              std::string::npos)
        << err_;
}

TEST_F(CliTest, FailuresAndBadUsageHaveTheirStatus) {
    EXPECT_EQ(
        cli("sign reboot --host 127.0.0.1 --port " + std::to_string(sim_->ftpPort() == 1 ? 2 : 1)),
        1);
    EXPECT_NE(err_.find("Communication error!"), std::string::npos) << err_;
    SignFaults f;
    f.answerError = true;
    sim_->sign().setFaults(f);
    EXPECT_EQ(cli("sign reboot" + serial()), 0);  // the sign acknowledged
    EXPECT_EQ(cli("sign update-firmware " + (dir_ / "missing.WOS").string() + net()), 1);
    EXPECT_NE(err_.find("format unknown.\ncannot open"), std::string::npos) << err_;
    EXPECT_NE(err_.find("No such file or directory"), std::string::npos) << err_;
    EXPECT_EQ(cli("sign set-startup 10110" + net()), 2);
    EXPECT_EQ(cli("sign scan 4" + net()), 2);
    EXPECT_EQ(cli("sign set-address 0 9600 10.0.0.5 255.0.0.0 10.0.0.1" + serial()), 2);
    EXPECT_EQ(cli("sign warp" + net()), 2);
    EXPECT_EQ(cli("sign set-ip 10.0.0.5 255.0.0.0 192.168.0.1" + net()), 1);
    EXPECT_NE(err_.find("Sorry !!! Default gateway is error!"), std::string::npos) << err_;
    EXPECT_EQ(sim_->sign().ip(), (Ipv4{{192, 168, 0, 6}}));  // nothing was sent
    EXPECT_EQ(cli("send --baud 1000" + serial()), 2);
}

}  // namespace
