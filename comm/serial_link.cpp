#include "comm/serial_link.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

#include "common/file_io.h"
#include "common/operator_messages.h"
#include "common/paths.h"

namespace brightline {
namespace {

constexpr size_t kReadBuffer = 256;

void showOpenError(OperatorMessages& messages, const std::string& name) {
    messages.show(name + " open error", "Error", MessageIcon::Error);
}

}  // namespace

SerialLink::SerialLink(OperatorMessages& messages) : messages_(messages) {}

SerialLink::~SerialLink() {
    close();
}

void SerialLink::setChunkSize(int bytes) {
    if (bytes < 32) bytes = 32;
    if (bytes > static_cast<int>(kMaxPacketData)) bytes = static_cast<int>(kMaxPacketData);
    chunkSize_.store(bytes);
}

bool SerialLink::open(const std::string& device, int baudRate, std::string* error) {
    close();
    if (!port_.open(device, baudRate, error)) return false;
    if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (error) *error = "cannot create the wake-up pipe";
        port_.close();
        return false;
    }
    parser_.reset();
    collector_.clear();
    {
        std::lock_guard<std::mutex> lock(replyMutex_);
        replyCode_ = 0;
        replyData_.clear();
        lineComplete_ = false;
    }
    replyEvent_.reset();
    lineEvent_.reset();
    exchangeDone_.reset();
    lineMode_.store(false);
    closing_.store(false);
    cancelled_.store(false);
    receiver_ = std::thread([this] { receiveLoop(); });
    open_.store(true);
    return true;
}

void SerialLink::close() {
    if (!open_.load()) return;
    replyEvent_.set();
    closing_.store(true);
    const char wake = 1;
    (void)!::write(wakePipe_[1], &wake, 1);
    if (receiver_.joinable()) receiver_.join();
    port_.close();
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
    wakePipe_[0] = wakePipe_[1] = -1;
    writeFile_.reset();
    readFile_.reset();
    closing_.store(false);
    open_.store(false);
}

void SerialLink::cancel() {
    cancelled_.store(true);
    replyEvent_.set();
}

bool SerialLink::writeBytes(const uint8_t* data, size_t size) {
    std::lock_guard<std::mutex> lock(writeMutex_);
    return port_.write(data, size, timings_.writeTimeoutMs);
}

void SerialLink::receiveLoop() {
    uint8_t buffer[kReadBuffer];
    while (!closing_.load()) {
        pollfd fds[2] = {{port_.fd(), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        int ready = ::poll(fds, 2, 1000);
        if (closing_.load()) break;
        if (ready <= 0) continue;
        if (fds[0].revents & POLLIN) {
            // Everything waiting, 256 bytes per read.
            for (;;) {
                long n = port_.readAvailable(buffer, sizeof buffer);
                if (n <= 0) break;
                // A full ring drops the byte: that packet's check fails and it is asked again.
                for (long i = 0; i < n; ++i) ring_.put(buffer[i]);
                consumeRing();
                if (static_cast<size_t>(n) < sizeof buffer) break;
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // The other end hung up: nothing to read until it comes back.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

void SerialLink::consumeRing() {
    uint8_t byte;
    while (ring_.take(byte)) {
        if (lineMode_.load()) {
            if (collector_.feed(byte)) {
                {
                    std::lock_guard<std::mutex> lock(replyMutex_);
                    line_ = collector_.line();
                    lineComplete_ = true;
                }
                lineEvent_.set();
            }
        } else if (parser_.feed(byte)) {
            dispatch();
        }
    }
}

void SerialLink::sendDirect(uint8_t destination, uint16_t type, const uint8_t* data, size_t size) {
    PacketHeader h;
    h.destination = destination;
    h.source = kPcAddress;
    h.chunkSize = static_cast<uint16_t>(chunkSize_.load());
    h.type = type;
    h.sequence = 0;
    std::vector<uint8_t> packet = buildPacket(h, data, size);
    writeBytes(packet.data(), packet.size());
}

void SerialLink::dispatch() {
    const PacketHeader& h = parser_.header();
    if (isReplyCode(h.type)) {
        {
            std::lock_guard<std::mutex> lock(replyMutex_);
            replyCode_ = h.type;
            replyData_.assign(parser_.data(), parser_.data() + parser_.dataSize());
        }
        replyEvent_.set();
        return;
    }
    uint16_t code = kReplyDone;
    if (h.type >= kReqOpenWrite && h.type <= kReqWriteLast) code = serveFileRequest();
    // The reply is written directly: waiting for an answer here would wait on this very thread.
    sendDirect(h.source, code, nullptr, 0);
}

std::string SerialLink::servicePath(const std::vector<uint8_t>& nameBytes) const {
    std::string name(nameBytes.begin(), nameBytes.end());
    const size_t nul = name.find('\0');
    if (nul != std::string::npos) name.resize(nul);
    // The peer names a file, never a place: only the last path element is used, inside the
    // service folder.
    name = fileNameOf(name);
    if (name.empty() || name == "." || name == "..") return std::string();
    std::lock_guard<std::mutex> lock(serviceMutex_);
    return serviceFolder_ + "/" + name;
}

uint16_t SerialLink::serveFileRequest() {
    const PacketHeader& h = parser_.header();
    std::vector<uint8_t> data(parser_.data(), parser_.data() + parser_.dataSize());
    switch (h.type) {
        case kReqOpenWrite: {
            const std::string path = servicePath(data);
            writeFile_ = std::make_unique<AtomicFileWriter>();
            if (path.empty() || !writeFile_->open(path)) writeFile_.reset();
            return writeFile_ ? kReplyDone : kReplyCannotWrite;
        }
        case kReqOpenRead: {
            const std::string path = servicePath(data);
            readFile_.reset(path.empty() ? nullptr : openRegularFile(path));
            if (!readFile_) return kReplyCannotRead;
            std::string name(data.begin(), data.end());
            const size_t nul = name.find('\0');
            if (nul != std::string::npos) name.resize(nul);
            sendDirect(h.source, kReqOpenWrite, reinterpret_cast<const uint8_t*>(name.data()),
                       name.size());
            return kReqOpenWrite;
        }
        case kReqWriteChunk:
            if (!writeFile_ || !writeFile_->write(data)) return kReplyNoWriteFile;
            return kReplyDone;
        case kReqReadChunk: {
            if (!readFile_) return kReplyNoReadFile;
            std::vector<uint8_t> chunk(data.size());
            const size_t got =
                chunk.empty() ? 0 : std::fread(chunk.data(), 1, chunk.size(), readFile_.get());
            const uint16_t type = got == chunk.size() ? kReqWriteChunk : kReqWriteLast;
            if (type == kReqWriteLast) readFile_.reset();
            sendDirect(h.source, type, chunk.data(), got);
            return type;
        }
        case kReqWriteLast: {
            if (!writeFile_) return kReplyDone;
            // The file takes its name only when it is whole.
            const bool written = writeFile_->write(data) && writeFile_->commit();
            writeFile_.reset();
            return written ? kReplyDone : kReplyNoWriteFile;
        }
        default:
            return kReplyDone;
    }
}

bool SerialLink::request(uint8_t destination, uint16_t type, uint32_t sequence, const uint8_t* data,
                         size_t size, std::vector<uint8_t>* reply) {
    lastError_.clear();
    if (size > static_cast<size_t>(chunkSize_.load())) {
        lastError_ = "a request of " + std::to_string(size) + " bytes is longer than a chunk";
        return false;
    }
    if (!open_.load() || cancelled_.load()) {
        lastError_ = open_.load() ? "stopped" : "the serial line is not open";
        return false;
    }
    PacketHeader h;
    h.destination = destination;
    h.source = kPcAddress;
    h.chunkSize = static_cast<uint16_t>(chunkSize_.load());
    h.type = type;
    h.sequence = sequence;
    std::vector<uint8_t> packet = buildPacket(h, data, size);
    // Cleared before writing, so that a reply arriving at once is not lost.
    {
        std::lock_guard<std::mutex> lock(replyMutex_);
        replyCode_ = 0;
    }
    replyEvent_.reset();
    requestsSent_.fetch_add(1);
    writeBytes(packet.data(), packet.size());
    if (!replyEvent_.waitFor(std::chrono::milliseconds(timings_.replyTimeoutMs))) {
        // "timeout sn=%d"
        lastError_ =
            "the sign did not answer within " + std::to_string(timings_.replyTimeoutMs) + " ms";
        return false;
    }
    if (cancelled_.load()) {
        lastError_ = "stopped";
        return false;
    }
    std::lock_guard<std::mutex> lock(replyMutex_);
    const uint16_t code = replyCode_;
    replyCode_ = 0;
    if (code != kReplyDone) {  // "ack error sn=%d"
        lastError_ = "the sign answered with code " + std::to_string(code);
        return false;
    }
    if (reply) *reply = replyData_;
    return true;
}

bool SerialLink::requestWithRetries(uint8_t destination, uint16_t type, uint32_t sequence,
                                    const uint8_t* data, size_t size, std::vector<uint8_t>* reply) {
    for (int attempt = 0; attempt < timings_.attempts; ++attempt) {
        if (request(destination, type, sequence, data, size, reply)) return true;
        if (!open_.load() || cancelled_.load()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(timings_.retryPauseMs));
    }
    lastError_ += " (" + std::to_string(timings_.attempts) + " attempts)";
    return false;
}

int SerialLink::sendFile(const std::string& localPath, const std::string& remoteName,
                         uint8_t destination, const std::function<void(uint64_t)>& onChunk) {
    std::vector<uint8_t> name(remoteName.begin(), remoteName.end());
    name.push_back(0);
    if (!requestWithRetries(destination, kReqOpenWrite, 0, name.data(), name.size())) return 0;
    FILE* file = openRegularFile(localPath);
    if (!file) {
        showOpenError(messages_, fileNameOf(localPath));
        return -1;
    }
    std::fseek(file, 0, SEEK_END);
    const long long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    const long long chunk = chunkSize_.load();
    std::vector<uint8_t> buffer(static_cast<size_t>(chunk));
    long long position = 0;
    uint32_t sequence = 1;
    for (;;) {
        const bool last = position + chunk >= size;
        const size_t length = static_cast<size_t>(last ? size - position : chunk);
        const size_t got = length ? std::fread(buffer.data(), 1, length, file) : 0;
        if (got < 1) {
            std::fclose(file);
            return 0;
        }
        if (!requestWithRetries(destination, last ? kReqWriteLast : kReqWriteChunk, sequence,
                                buffer.data(), got)) {
            std::fclose(file);
            return 0;
        }
        ++sequence;
        if (onChunk) onChunk(static_cast<uint64_t>(position) + got);
        if (last) break;
        position += chunk;
    }
    std::fclose(file);
    return 1;
}

int SerialLink::fetchFile(const std::string& remoteName, const std::string& localPath,
                          uint8_t destination) {
    std::vector<uint8_t> name(remoteName.begin(), remoteName.end());
    name.push_back(0);
    if (!requestWithRetries(destination, kReqOpenRead, 0, name.data(), name.size())) return 0;
    // Fetched beside the local file and put in place only when whole: a broken transfer keeps
    // the file as it was.
    AtomicFileWriter file;
    if (!file.open(localPath)) {
        showOpenError(messages_, localPath);
        return -1;
    }
    std::vector<uint8_t> reply;
    for (uint32_t sequence = 1;; ++sequence) {
        if (!requestWithRetries(destination, kReqReadChunk, sequence, nullptr, 0, &reply)) return 0;
        if (!file.write(reply)) return 0;
        if (reply.size() < static_cast<size_t>(chunkSize_.load())) break;
    }
    return file.commit() ? 1 : 0;
}

bool SerialLink::lineExchange(const std::string& command, std::string* reply, int timeoutMs) {
    auto fail = [this] {
        lineMode_.store(false);
        exchangeDone_.set();
        lineEvent_.reset();
        return false;
    };
    lineMode_.store(true);
    writeBytes(reinterpret_cast<const uint8_t*>(command.data()), command.size());
    if (!reply) {
        lineMode_.store(false);
        return true;
    }
    if (exchangeDone_.isSet()) return fail();
    if (!lineEvent_.waitFor(std::chrono::milliseconds(timeoutMs))) return fail();
    if (exchangeDone_.isSet()) return fail();
    std::lock_guard<std::mutex> lock(replyMutex_);
    if (!lineComplete_) {
        reply->clear();  // "ack error"
        lineMode_.store(false);
        exchangeDone_.set();
        lineEvent_.reset();
        return false;
    }
    *reply = line_;
    lineComplete_ = false;
    lineMode_.store(false);
    exchangeDone_.set();
    lineEvent_.reset();
    return true;
}

}  // namespace brightline
