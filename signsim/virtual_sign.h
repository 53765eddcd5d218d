#pragma once
// The virtual sign's state and its answers: what a sign keeps (clock, start-up display
// settings, addresses, scan direction, the files it was sent in DATA1 and DATA2) and how it
// answers every network command word and every serial request type. Transport-free: the TCP
// server and the serial port feed it. Thread-safe (one mutex).
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "comm/sign_requests.h"
#include "common/file_io.h"

namespace brightline::signsim {

// Faults a test can inject.
struct SignFaults {
    int dropEveryNth = 0;      // every Nth answer is not sent (0: none)
    int corruptEveryNth = 0;   // serial: every Nth answer has a wrong body checksum (0: none)
    bool answerError = false;  // every answer is "ERROR" ("QVX0001ERROR" on the network)
    int delayMs = 0;           // before every answer
    bool refuseFtp = false;    // no FTP server: uploads are refused
    long cutUploadAfter = -1;  // FTP: cut uploads off after this many bytes (-1: never)
    int cutUploadCount = -1;   // ... this many times (-1: always)
    // Answers given instead of the sign's own, by command word ("QVX0001DEL") or by serial
    // request type ("type 17"); the sign still does the work.
    std::map<std::string, std::string> answers;
};

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

struct SerialAnswer {
    uint16_t code = 101;
    std::vector<uint8_t> data;
};

class VirtualSign {
  public:
    // `storage` holds DATA1 and DATA2 (created) and "filelist.txt".
    explicit VirtualSign(std::string storage);

    const std::string& storage() const { return storage_; }
    void setFaults(const SignFaults& faults);
    SignFaults faults() const;

    // A complete command word → the reply body (nothing for words whose reply nobody reads is
    // still answered; the transport decides). Unknown words answer "QVX0001ERROR".
    std::string answerWord(const std::string& request);
    // How many bytes a request starting with `prefix` has in all; 0 while it cannot be told,
    // -1 when no known word starts so.
    static int expectedWordLength(const std::string& prefix);

    // A serial request → the reply packet's code and data.
    SerialAnswer answerRequest(uint16_t type, uint32_t sequence, int chunkSize,
                               const std::vector<uint8_t>& data);

    // Counts every answer; true when this one is to be dropped / corrupted.
    bool nextAnswerDropped();
    bool nextAnswerCorrupted();

    // What the sign holds now.
    int serialAddress() const;
    int baudRate() const;
    Ipv4 ip() const;
    BootParams bootParams() const;
    int scanDirection() const;
    bool playing() const;
    std::string currentFolder() const;  // "DATA1" or "DATA2"; "" before the first upload
    std::string showFolder() const;     // the folder last resumed
    int reboots() const;
    int installs() const;
    long long clockOffsetSeconds() const;
    void setSerialAddress(int address);
    // Called (outside the sign's lock) with the folder of a show that was just resumed.
    void onShowResumed(std::function<void(const std::string&)> listener);
    std::vector<std::string> log() const;  // every word / request type seen, in order

  private:
    std::string answerWordLocked(const std::string& request);
    SerialAnswer answerRequestLocked(uint16_t type, uint32_t sequence, int chunkSize,
                                     const std::vector<uint8_t>& data);
    void notifyResumed();
    std::string prepareUpload();
    bool checkFirmware(std::string* error);
    bool checkFont();
    std::string clockText() const;
    std::string fileListText() const;
    std::string folderPath(const std::string& name) const;

    mutable std::mutex mutex_;
    std::string storage_;
    SignFaults faults_;
    long answers_ = 0;
    long dropCounter_ = 0;
    long corruptCounter_ = 0;
    int address_ = 1;
    int baud_ = 115200;
    Ipv4 ip_{{192, 168, 0, 6}}, mask_{{255, 255, 255, 0}}, gateway_{{192, 168, 0, 1}};
    BootParams boot_;
    int scan_ = 0;
    bool playing_ = true;
    std::string folder_;
    std::string showFolder_;
    int reboots_ = 0;
    int installs_ = 0;
    long long clockOffset_ = 0;
    std::unique_ptr<AtomicFileWriter> writeFile_;
    FilePtr readFile_;
    // A request repeated because its answer was lost is answered again, not done twice.
    uint32_t lastWriteSequence_ = 0;
    uint32_t lastReadSequence_ = 0;
    std::vector<uint8_t> lastReadChunk_;
    std::vector<std::string> log_;
    bool resumed_ = false;
    std::function<void(const std::string&)> resumedListener_;
};

}  // namespace brightline::signsim
