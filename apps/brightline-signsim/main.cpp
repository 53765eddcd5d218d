// brightline-signsim: a virtual sign on this machine. It answers the command words on TCP, runs
// an FTP server for uploads, answers the serial packet protocol on a pseudo-terminal (optionally
// as a Hayes modem) and keeps what it is sent in its storage folder. Runs until interrupted.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "signsim/sign_simulator.h"

using namespace brightline::signsim;

namespace {

const char* kUsage =
    "usage: brightline-signsim [--storage DIR] [--address 127.0.0.1] [--port N] [--ftp-port N]\n"
    "         [--serial-link PATH] [--sign-address N] [--modem] [--line-rate BITS_PER_SECOND]\n"
    "         [--no-tcp] [--no-ftp] [--no-serial]\n"
    "         [--drop-every N] [--corrupt-every N] [--answer-error] [--delay MS]\n"
    "         [--refuse-ftp] [--cut-upload-after BYTES [--cut-count K]] [--answer WORD=TEXT]\n"
    "         [--drop-file NAME]\n"
    "         [--play-frames DIR] [--play-gif FILE] [--play-ticks N]\n"
    "       brightline-signsim --help | --version\n"
    "Ports 0 (the default) take any free port; the ports and the serial device are printed.\n"
    "--play-*: each show resumed on the sign is played with the show engine into PNG frames\n"
    "or a GIF (N ticks of 40 ms, default 250).\n"
    "--answer: answer a command word (\"QVX0001DEL\") or a serial type (\"type 17\") with TEXT.\n"
    "--drop-file: the file NAME of every upload is lost by the time the show resumes.\n";

bool isLoopback(const std::string& a) {
    return a == "127.0.0.1" || a == "::1" || a.compare(0, 4, "127.") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    SimulatorOptions o;
    o.storage = "signsim-storage";
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "brightline-signsim: %s needs a value\n%s", a.c_str(), kUsage);
                std::exit(2);
            }
            return args[++i];
        };
        auto number = [&]() { return std::atol(value().c_str()); };
        if (a == "--storage")
            o.storage = value();
        else if (a == "--address")
            o.address = value();
        else if (a == "--port")
            o.commandPort = static_cast<int>(number());
        else if (a == "--ftp-port")
            o.ftpPort = static_cast<int>(number());
        else if (a == "--serial-link")
            o.serialLink = value();
        else if (a == "--sign-address")
            o.serialAddress = static_cast<int>(number());
        else if (a == "--modem")
            o.modem = true;
        else if (a == "--line-rate")
            o.lineRate = static_cast<int>(number());
        else if (a == "--no-tcp")
            o.tcp = false;
        else if (a == "--no-ftp")
            o.ftp = false;
        else if (a == "--no-serial")
            o.serial = false;
        else if (a == "--drop-every")
            o.faults.dropEveryNth = static_cast<int>(number());
        else if (a == "--corrupt-every")
            o.faults.corruptEveryNth = static_cast<int>(number());
        else if (a == "--answer-error")
            o.faults.answerError = true;
        else if (a == "--delay")
            o.faults.delayMs = static_cast<int>(number());
        else if (a == "--refuse-ftp")
            o.faults.refuseFtp = true;
        else if (a == "--cut-upload-after")
            o.faults.cutUploadAfter = number();
        else if (a == "--cut-count")
            o.faults.cutUploadCount = static_cast<int>(number());
        else if (a == "--answer") {
            const std::string v = value();
            const size_t eq = v.find('=');
            if (eq == std::string::npos) {
                std::fprintf(stderr, "brightline-signsim: --answer takes WORD=TEXT\n%s", kUsage);
                return 2;
            }
            o.faults.answers[v.substr(0, eq)] = v.substr(eq + 1);
        } else if (a == "--drop-file")
            o.faults.dropFile = value();
        else if (a == "--play-frames")
            o.playFrames = value();
        else if (a == "--play-gif")
            o.playGif = value();
        else if (a == "--play-ticks")
            o.playTicks = static_cast<uint64_t>(number());
        else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("brightline-signsim %s\n", BRIGHTLINE_VERSION);
            return 0;
        } else {
            std::fprintf(stderr, "brightline-signsim: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    if (!isLoopback(o.address)) {
        std::fprintf(stderr, "brightline-signsim: binds to loopback addresses only\n");
        return 2;
    }
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);

    SignSimulator sim(o);
    std::string error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "brightline-signsim: %s\n", error.c_str());
        return 1;
    }
    if (o.tcp) std::printf("command port %d\n", sim.commandPort());
    if (o.ftp) std::printf("ftp port %d\n", sim.ftpPort());
    if (o.serial) std::printf("serial %s\n", sim.serialDevice().c_str());
    std::printf("storage %s\nready\n", o.storage.c_str());
    std::fflush(stdout);
    int sig = 0;
    sigwait(&set, &sig);
    sim.stop();
    return 0;
}
