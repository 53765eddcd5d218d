#include "signsim/sign_simulator.h"

#include <ctime>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "common/folders.h"
#include "signsim/show_playback.h"

namespace brightline::signsim {
namespace {

// A loopback port that was free a moment ago and now has no listener: connecting is refused.
int closedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

}  // namespace

SignSimulator::SignSimulator(SimulatorOptions options)
    : options_(std::move(options)),
      sign_((ensureFolder(options_.storage), options_.storage)),
      tcp_(sign_),
      serial_(sign_) {
    sign_.setSerialAddress(options_.serialAddress);
    sign_.setFaults(options_.faults);
}

SignSimulator::~SignSimulator() {
    stop();
}

bool SignSimulator::start(std::string* error) {
    if (!options_.playFrames.empty() || !options_.playGif.empty()) {
        playback_ = std::make_unique<ShowPlayback>(
            options_.playFrames, options_.playGif, options_.playTicks, [this] {
                return static_cast<int64_t>(std::time(nullptr)) + sign_.clockOffsetSeconds();
            });
        sign_.onShowResumed([this](const std::string& folder) { playback_->play(folder); });
    }
    if (options_.tcp && !tcp_.start(options_.address, options_.commandPort, error)) return false;
    if (options_.ftp && !applyFtpFaults(error)) {
        stop();
        return false;
    }
    if (options_.serial &&
        !serial_.start(options_.modem, options_.lineRate, options_.serialLink, error)) {
        stop();
        return false;
    }
    return true;
}

bool SignSimulator::applyFtpFaults(std::string* error) {
    ftp_.stop();
    const SignFaults f = sign_.faults();
    if (f.refuseFtp) {
        refusedPort_ = closedPort();
        return true;
    }
    refusedPort_ = 0;
    return ftp_.start(options_.storage, options_.address, options_.ftpPort, f.cutUploadAfter,
                      f.cutUploadCount, error);
}

void SignSimulator::stop() {
    serial_.stop();
    ftp_.stop();
    tcp_.stop();
    sign_.onShowResumed(nullptr);
    playback_.reset();
}

}  // namespace brightline::signsim
