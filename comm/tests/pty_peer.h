#pragma once
// A scripted sign at the far end of a pseudo-terminal, for serial link tests: it reads the
// packets sent to its address, records them, and answers each with what the handler returns.
// It frames with the virtual sign's own code (signsim/sign_frame.h), never with the link's.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "comm/packet.h"
#include "signsim/sign_frame.h"

namespace brightline::test {

struct SeenPacket {
    PacketHeader header;
    std::vector<uint8_t> data;
};

struct PeerReply {
    uint16_t code = kReplyDone;
    std::vector<uint8_t> data;
    bool corruptChecksum = false;
};

class PtyPeer {
  public:
    using Handler = std::function<std::optional<PeerReply>(const SeenPacket&)>;

    explicit PtyPeer(uint8_t address = 3) : reader_(address), address_(address) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master_);
        ::unlockpt(master_);
        device_ = ::ptsname(master_);
        // Keep one slave descriptor open so the master never sees a hang-up between opens.
        slave_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
        thread_ = std::thread([this] { loop(); });
    }
    ~PtyPeer() {
        stop_ = true;
        thread_.join();
        ::close(slave_);
        ::close(master_);
    }

    const std::string& device() const { return device_; }
    void setHandler(Handler handler) {
        std::lock_guard<std::mutex> lock(mutex_);
        handler_ = std::move(handler);
    }
    std::vector<SeenPacket> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    void writeRaw(const std::vector<uint8_t>& bytes) {
        std::lock_guard<std::mutex> lock(writeMutex_);
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else
                break;
        }
    }
    void send(uint16_t type, const std::vector<uint8_t>& data, bool corrupt = false) {
        signsim::SignFrame f;
        f.destination = kPcAddress;
        f.source = address_;
        f.chunkSize = 1024;
        f.type = type;
        f.data = data;
        std::vector<uint8_t> p = signsim::frameBytes(f);
        if (corrupt) p.back() ^= 0xFF;
        writeRaw(p);
    }
    // Raw bytes the peer received while no packet parsing was asked for (line mode tests).
    std::string rawText() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return raw_;
    }

  private:
    void loop() {
        uint8_t buffer[4096];
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                raw_.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
            }
            for (signsim::SignFrame& frame : reader_.push(buffer, static_cast<size_t>(n))) {
                PacketHeader h;
                h.destination = frame.destination;
                h.source = frame.source;
                h.chunkSize = frame.chunkSize;
                h.type = frame.type;
                h.sequence = frame.sequence;
                SeenPacket packet{h, std::move(frame.data)};
                Handler handler;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    seen_.push_back(packet);
                    handler = handler_;
                }
                std::optional<PeerReply> reply =
                    handler ? handler(packet) : std::optional<PeerReply>(PeerReply{});
                if (reply) send(reply->code, reply->data, reply->corruptChecksum);
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    signsim::SignFrameReader reader_;
    uint8_t address_;
    mutable std::mutex mutex_;
    std::mutex writeMutex_;
    Handler handler_;
    std::vector<SeenPacket> seen_;
    std::string raw_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace brightline::test
