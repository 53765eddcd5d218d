#include "signsim/sign_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>

#include "signsim/virtual_sign.h"

namespace brightline::signsim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr uint8_t kPcAddress = 0xFF;

}  // namespace

bool SignSerialPort::start(bool modem, int lineRate, const std::string& linkPath,
                           std::string* error) {
    stop();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        if (error) *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        if (master_ >= 0) ::close(master_);
        master_ = -1;
        return false;
    }
    device_ = ::ptsname(master_);
    // Holding the slave open keeps the master readable between the PC's opens and closes.
    slave_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    if (!linkPath.empty()) {
        ::unlink(linkPath.c_str());
        if (::symlink(device_.c_str(), linkPath.c_str()) != 0) {
            if (error) *error = "cannot link " + linkPath + ": " + std::strerror(errno);
        } else {
            link_ = linkPath;
        }
    }
    modem_ = modem;
    lineRate_ = lineRate;
    dataMode_ = !modem;
    reader_.clear();
    reader_.setAddress(static_cast<uint8_t>(sign_.serialAddress()));
    stop_ = false;
    thread_ = std::thread([this] { loop(); });
    return true;
}

void SignSerialPort::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (!link_.empty()) ::unlink(link_.c_str());
    link_.clear();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

void SignSerialPort::writeAll(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size() && !stop_) {
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 50);
        }
    }
}

void SignSerialPort::loop() {
    uint8_t buffer[4096];
    // At a line rate, read in small bites and never get ahead of the line.
    const size_t bite = lineRate_ > 0 ? 64 : sizeof buffer;
    auto lastByte = Clock::now();
    auto due = Clock::now();
    bool lineBusy = false;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        ssize_t n = ::read(master_, buffer, bite);
        if (n <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (lineRate_ > 0) {
            // Each byte occupies the line for 10 bit times after the one before it. Bytes that
            // were already queued behind a full read were on a busy line: they follow on from
            // the last due time, so this thread's own lateness is not charged to the line.
            const auto bitTimes =
                std::chrono::microseconds(static_cast<long long>(n) * 10LL * 1000000LL / lineRate_);
            due = (lineBusy ? due : std::max(due, Clock::now())) + bitTimes;
            lineBusy = static_cast<size_t>(n) == bite;
            std::this_thread::sleep_until(due);
        }
        const auto now = Clock::now();
        const bool pausedBefore = now - lastByte > std::chrono::milliseconds(500);
        lastByte = now;
        if (!dataMode_) {
            for (ssize_t i = 0; i < n; ++i) feedCommand(buffer[i]);
            continue;
        }
        if (modem_) {
            // "+++" after a pause, alone, returns to command state.
            const std::string chunk(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
            if (pausedBefore && chunk.compare(0, 3, "+++") == 0 &&
                chunk.find_first_not_of("+\r\n") == std::string::npos) {
                dataMode_ = false;
                commandLine_.clear();
                writeAll("\r\nOK\r\n");
                continue;
            }
        }
        feedData(buffer, static_cast<size_t>(n));
    }
}

void SignSerialPort::feedData(const uint8_t* bytes, size_t size) {
    for (const SignFrame& request : reader_.push(bytes, size)) {
        SerialAnswer answer =
            sign_.answerRequest(request.type, request.sequence, request.chunkSize, request.data);
        reader_.setAddress(static_cast<uint8_t>(sign_.serialAddress()));
        const SignFaults faults = sign_.faults();
        if (sign_.nextAnswerDropped()) continue;
        if (faults.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs));
        SignFrame reply;
        reply.destination = kPcAddress;
        reply.source = request.destination;
        reply.chunkSize = request.chunkSize;
        reply.type = answer.code;
        reply.sequence = request.sequence;
        reply.data = std::move(answer.data);
        std::vector<uint8_t> packet = frameBytes(reply);
        if (sign_.nextAnswerCorrupted()) packet.back() ^= 0x5A;
        if (lineRate_ > 0) {
            // The answer occupies the line too before the PC has it.
            std::this_thread::sleep_for(std::chrono::microseconds(
                static_cast<long long>(packet.size()) * 10LL * 1000000LL / lineRate_));
        }
        writeAll(std::string(packet.begin(), packet.end()));
    }
}

void SignSerialPort::feedCommand(uint8_t byte) {
    if (byte == '\r' || byte == '\n') {
        if (!commandLine_.empty()) runCommand(commandLine_);
        commandLine_.clear();
        return;
    }
    if (commandLine_.size() < 256) commandLine_.push_back(static_cast<char>(byte));
}

void SignSerialPort::runCommand(std::string line) {
    std::transform(line.begin(), line.end(), line.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    if (line.compare(0, 2, "AT") != 0) return;  // "+++" and noise in command state
    if (line.compare(0, 3, "ATD") == 0) {
        std::string number = line.substr(3);
        if (!number.empty() && (number[0] == 'T' || number[0] == 'P')) number.erase(0, 1);
        if (number == "0") {
            writeAll("\r\nNO CARRIER\r\n");
            return;
        }
        if (number == "00") return;  // rings and rings: no answer at all
        writeAll("\r\nCONNECT 115200\r\n");
        reader_.clear();
        dataMode_ = true;
        return;
    }
    writeAll("\r\nOK\r\n");
}

}  // namespace brightline::signsim
