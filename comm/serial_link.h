#pragma once
// The PC end of the sign's serial packet protocol over one serial device.
//
// Open starts a receive thread that feeds incoming bytes through the 65,536-byte ring into the
// packet parser (packet mode) or the line collector (line mode, while dialling a modem). Replies
// (101..107) wake the one outstanding request; file service requests from the peer (types 1..5)
// are served from the receive thread, which writes its replies directly (it never waits on
// itself); any other packet type is answered with 101.
//
// Threads: open/close and the exchanges run on one caller thread at a time (the operation
// worker or the user interface); the receive thread is private. close() always stops the receive
// thread and wakes a waiting request, which then fails. One request is outstanding at a time.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm/line_collector.h"
#include "comm/packet.h"
#include "comm/receive_ring.h"
#include "comm/serial_port.h"
#include "common/event.h"
#include "common/file_io.h"

namespace brightline {

class OperatorMessages;

struct SerialLinkTimings {
    int replyTimeoutMs = 3000;  // wait for one reply packet
    int attempts = 5;           // request with retries: attempts in all
    int retryPauseMs = 20;      // pause after each failed attempt
    int writeTimeoutMs = 8192;  // one write
};

class SerialLink {
  public:
    // `messages` receives the "%s open error" boxes of file transfer; it must outlive the link.
    explicit SerialLink(OperatorMessages& messages);
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens `device` at `baudRate` bit/s and starts the receive thread. False, with nothing left
    // open, when the device cannot be opened (`error` says why).
    bool open(const std::string& device, int baudRate, std::string* error = nullptr);
    // Does nothing unless open. Wakes a waiting request, stops the receive thread, closes.
    void close();
    bool isOpen() const { return open_.load(); }

    void setTimings(const SerialLinkTimings& timings) { timings_ = timings; }
    const SerialLinkTimings& timings() const { return timings_; }
    // The largest data part the PC puts in one packet: 32..1024 bytes (1024 until set).
    void setChunkSize(int bytes);
    int chunkSize() const { return chunkSize_.load(); }
    // Folder whose files the peer file service reads and writes (default: the current folder).
    void setServiceFolder(const std::string& folder) {
        std::lock_guard<std::mutex> lock(serviceMutex_);
        serviceFolder_ = folder;
    }

    // Any thread: makes the waiting request and every later one fail at once (file transfers
    // then end within one request), until clearCancel() or the next open().
    void cancel();
    void clearCancel() { cancelled_.store(false); }

    // Writes raw bytes; false when not open or the write did not complete in time.
    bool writeBytes(const uint8_t* data, size_t size);

    // One attempt: sends the request packet to `destination` and waits for its reply. True only
    // on reply code 101; `reply` (when given) then holds the reply data (at most 1024 bytes).
    // Fails at once when `size` exceeds the chunk size.
    bool request(uint8_t destination, uint16_t type, uint32_t sequence, const uint8_t* data,
                 size_t size, std::vector<uint8_t>* reply = nullptr);
    // Why the last request failed (no answer, or the code the sign answered with). Read on the
    // thread that made the request.
    const std::string& lastError() const { return lastError_; }
    // The same, up to `attempts` times with `retryPauseMs` after each failure.
    bool requestWithRetries(uint8_t destination, uint16_t type, uint32_t sequence,
                            const uint8_t* data, size_t size,
                            std::vector<uint8_t>* reply = nullptr);

    // Sends a local file as types 1, 3..., 5 under `remoteName` (already in the sign's code
    // page). 1 done, 0 failed, -1 the local file could not be opened ("%s open error" shown).
    // `onChunk` (optional) hears the bytes sent so far after each chunk.
    int sendFile(const std::string& localPath, const std::string& remoteName, uint8_t destination,
                 const std::function<void(uint64_t)>& onChunk = {});
    // Fetches a remote file with types 2, 4, 4... 1 done, 0 failed, -1 the local file could not
    // be created ("%s open error" shown).
    int fetchFile(const std::string& remoteName, const std::string& localPath, uint8_t destination);

    // Line mode: writes `command`; when `reply` is given waits up to `timeoutMs` for one line.
    // Fails at once when the exchange-done event is signalled (a stop request).
    bool lineExchange(const std::string& command, std::string* reply, int timeoutMs);
    void setLineMode(bool on) { lineMode_.store(on); }
    bool isLineMode() const { return lineMode_.load(); }
    // Callers reset both before a line exchange that waits; setting them ends a waiting one.
    Event& lineEvent() { return lineEvent_; }
    Event& exchangeDoneEvent() { return exchangeDone_; }

    // Counters for tests and benchmarks.
    unsigned long requestsSent() const { return requestsSent_.load(); }

  private:
    void receiveLoop();
    void consumeRing();
    void dispatch();
    uint16_t serveFileRequest();
    void sendDirect(uint8_t destination, uint16_t type, const uint8_t* data, size_t size);
    std::string servicePath(const std::vector<uint8_t>& nameBytes) const;

    OperatorMessages& messages_;
    SerialLinkTimings timings_;
    SerialPort port_;
    std::mutex writeMutex_;
    std::thread receiver_;
    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> open_{false};
    std::atomic<bool> closing_{false};
    std::atomic<bool> lineMode_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<int> chunkSize_{kDefaultChunkSize};
    mutable std::mutex serviceMutex_;
    std::string serviceFolder_ = ".";

    // Receive thread only.
    ReceiveRing ring_;
    PacketParser parser_;
    LineCollector collector_;
    struct FileCloser {
        void operator()(FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<AtomicFileWriter> writeFile_;
    std::string lastError_;
    std::unique_ptr<FILE, FileCloser> readFile_;

    // Handed from the receive thread to the requester.
    std::mutex replyMutex_;
    uint16_t replyCode_ = 0;
    std::vector<uint8_t> replyData_;
    std::string line_;
    bool lineComplete_ = false;
    Event replyEvent_;
    Event lineEvent_;
    Event exchangeDone_;

    std::atomic<unsigned long> requestsSent_{0};
};

}  // namespace brightline
