// Link throughput against the virtual sign.
//
// serial: a 1 MiB show file sent with the serial link to the virtual sign reading (and
//         answering) at a simulated 115,200 bit/s, next to the best the stop-and-wait protocol
//         allows at that line rate: per chunk, the request packet (chunk + 18 bytes) and the
//         18-byte answer, 10 bit times a byte.
// ftp:    a 50 MiB show (10 files) uploaded with the network link to the virtual sign's FTP
//         server on loopback, next to `curl -T` of the same files to the same server.
// Usage: link_bench [serial|ftp|all] [--serial-bytes N] [--ftp-mib N]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "comm/network_link.h"
#include "comm/serial_link.h"
#include "common/file_io.h"
#include "common/operator_messages.h"
#include "signsim/sign_simulator.h"

using namespace brightline;
using namespace brightline::signsim;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void writeRandom(const fs::path& path, size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    writeFileAtomically(path.string(), bytes);
}

bool sameFiles(const fs::path& a, const fs::path& b) {
    std::vector<uint8_t> x, y;
    return readWholeFile(a.string(), x, nullptr, size_t(1) << 30) &&
           readWholeFile(b.string(), y, nullptr, size_t(1) << 30) && x == y;
}

int benchSerial(const fs::path& dir, size_t bytes) {
    const int rate = 115200;
    const int chunk = 1024;
    SimulatorOptions o;
    o.storage = (dir / "serial-sign").string();
    o.tcp = o.ftp = false;
    o.lineRate = rate;
    SignSimulator sim(o);
    std::string error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "serial: %s\n", error.c_str());
        return 1;
    }
    const fs::path file = dir / "70001001.ZVI";
    writeRandom(file, bytes, 1);
    ConsoleMessages messages;
    SerialLink link(messages);
    if (!link.open(sim.serialDevice(), rate, &error)) {
        std::fprintf(stderr, "serial: %s\n", error.c_str());
        return 1;
    }
    link.setChunkSize(chunk);
    const auto start = Clock::now();
    const int result = link.sendFile(file.string(), "70001001.ZVI", 1);
    const double took = seconds(start);
    link.close();
    if (result != 1 || !sameFiles(file, fs::path(o.storage) / "DATA1" / "70001001.ZVI")) {
        std::fprintf(stderr, "serial: the file did not arrive intact\n");
        return 1;
    }
    const double measured = bytes / took;
    const double best = double(chunk) / double(chunk + 18 + 18) * rate / 10.0;
    std::printf(
        "serial  %zu bytes at %d bit/s in %.1f s: %.0f B/s; protocol best %.0f B/s "
        "(%.1f %% of it; target >= 90 %%)\n",
        bytes, rate, took, measured, best, 100.0 * measured / best);
    return 0;
}

int benchFtp(const fs::path& dir, int mib) {
    SimulatorOptions o;
    o.storage = (dir / "ftp-sign").string();
    o.serial = false;
    SignSimulator sim(o);
    std::string error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "ftp: %s\n", error.c_str());
        return 1;
    }
    const fs::path ws = dir / "ws";
    fs::create_directories(ws);
    const int files = 10;
    const size_t each = size_t(mib) * 1024 * 1024 / files;
    std::string list;
    for (int i = 0; i < files; ++i) {
        const std::string name = "7000100" + std::to_string(i) + ".ZVI";
        writeRandom(ws / name, each, 100 + i);
        list += (list.empty() ? "" : ",") + (ws / name).string();
    }
    ConsoleMessages messages;
    NetworkLink net(messages, "127.0.0.1", sim.commandPort(), sim.ftpPort());
    auto start = Clock::now();
    const UploadResult result = net.uploadFolder(ws.string(), "DATA1", {}, {});
    const double ours = seconds(start);
    if (result != UploadResult::Done ||
        !sameFiles(ws / "70001009.ZVI", fs::path(o.storage) / "DATA1" / "70001009.ZVI")) {
        std::fprintf(stderr, "ftp: the upload failed\n");
        return 1;
    }
    const std::string command = "curl -s -S -P - -T '{" + list +
                                "}' ftp://127.0.0.1:" + std::to_string(sim.ftpPort()) +
                                "/DATA2/ -u anonymous:bench@localhost";
    start = Clock::now();
    const int rc = std::system(command.c_str());
    const double theirs = seconds(start);
    if (rc != 0) {
        std::fprintf(stderr, "ftp: curl -T failed\n");
        return 1;
    }
    const double total = double(each) * files / (1024.0 * 1024.0);
    std::printf(
        "ftp     %.0f MiB in %d files: ours %.2f s (%.0f MiB/s), curl -T %.2f s "
        "(%.0f MiB/s); ratio %.2f (target <= 1.2)\n",
        total, files, ours, total / ours, theirs, total / theirs, ours / theirs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string which = "all";
    size_t serialBytes = 1 << 20;
    int ftpMib = 50;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--serial-bytes" && i + 1 < argc)
            serialBytes = std::strtoul(argv[++i], nullptr, 10);
        else if (a == "--ftp-mib" && i + 1 < argc)
            ftpMib = std::atoi(argv[++i]);
        else
            which = a;
    }
    const fs::path dir =
        fs::temp_directory_path() / ("bl_link_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    int rc = 0;
    if (which == "ftp" || which == "all") rc |= benchFtp(dir, ftpMib);
    if (which == "serial" || which == "all") rc |= benchSerial(dir, serialBytes);
    fs::remove_all(dir);
    return rc;
}
