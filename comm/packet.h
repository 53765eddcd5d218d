#pragma once
// The sign's serial packet: "ZZZZ" sync, destination, source, body length, header checksum, then
// a body of chunk size, packet type, sequence number and data, then a body checksum.
//
//   0  4  5A 5A 5A 5A          9  2 chunk size (32..1024)
//   4  1  destination          11 2 packet type (request type, or reply code on replies)
//   5  1  source               13 4 sequence number
//   6  2  body length = n + 8  17 n data
//   8  1  sum of bytes 4..7    17+n 1 sum of bytes 9..16+n
// All multi-byte fields little-endian; all sums modulo 256.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brightline {

inline constexpr uint8_t kPcAddress = 0xFF;
inline constexpr size_t kPacketOverhead = 18;   // sync, header, fixed body fields, checksum
inline constexpr size_t kMaxBodyLength = 1032;  // 8 fixed bytes + 1024 data
inline constexpr size_t kMaxPacketData = kMaxBodyLength - 8;

// Baud table, indexed 0..7 (the index is what settings store). Default index 7.
inline constexpr int kBaudTable[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int kDefaultBaudIndex = 7;
// Chunk size table, indexed 0..5 ("COM232_MTU"); any other index means 1024.
inline constexpr int kChunkSizeTable[6] = {32, 64, 128, 256, 512, 1024};
inline constexpr int kDefaultChunkSize = 1024;
int baudRateForIndex(int index);   // index outside 0..7 → 115200
int chunkSizeForIndex(int index);  // index outside 0..5 → 1024

// Reply codes, the packet type of a reply. Only kReplyDone counts as success.
enum ReplyCode : uint16_t {
    kReplyDone = 101,
    kReplyCannotWrite = 103,
    kReplyCannotRead = 104,
    kReplyNoWriteFile = 105,
    kReplyNoReadFile = 106,
};
inline bool isReplyCode(unsigned type) {
    return type >= 101 && type <= 107;
}

// Request types.
enum RequestType : uint16_t {
    kReqOpenWrite = 1,
    kReqOpenRead = 2,
    kReqWriteChunk = 3,
    kReqReadChunk = 4,
    kReqWriteLast = 5,
    kReqStopShow = 6,
    kReqResumeShow = 7,
    kReqReboot = 10,
    kReqGetTime = 11,
    kReqSetTime = 12,
    kReqPrepareUpload = 15,
    kReqFileList = 16,
    kReqInstallFirmware = 17,
    kReqInstallFont = 18,
    kReqSetAddress = 20,
    kReqSetBootParam = 26,
    kReqGetBootParam = 27,
};

struct PacketHeader {
    uint8_t destination = 0;
    uint8_t source = 0;
    uint16_t chunkSize = 0;
    uint16_t type = 0;
    uint32_t sequence = 0;
};

// The whole packet (n + 18 bytes). `size` must be at most kMaxPacketData.
std::vector<uint8_t> buildPacket(const PacketHeader& header, const uint8_t* data, size_t size);

// Assembles packets one byte at a time with fixed buffers (nothing allocated per byte).
// Accepts only headers whose destination equals `acceptedDestination` (0xFF on the PC), whose
// checksum is right and whose body length is 8..1032; a bad header or body checksum is dropped
// silently and the parser hunts for the next sync. Not thread-safe: one feeding thread.
class PacketParser {
  public:
    explicit PacketParser(uint8_t acceptedDestination = kPcAddress)
        : destination_(acceptedDestination) {}

    void setAcceptedDestination(uint8_t destination) { destination_ = destination; }
    void reset();

    // True when `byte` completed a good packet; header() and data() describe it until the next
    // call.
    bool feed(uint8_t byte);

    const PacketHeader& header() const { return packet_; }
    const uint8_t* data() const { return body_ + 8; }
    size_t dataSize() const { return dataSize_; }

  private:
    enum class State { Hunting, Header, Body };
    State state_ = State::Hunting;
    uint8_t destination_;
    size_t count_ = 0;
    uint8_t sum_ = 0;
    uint8_t head_[4] = {};
    size_t bodyLength_ = 0;
    uint8_t body_[kMaxBodyLength] = {};
    PacketHeader packet_;
    size_t dataSize_ = 0;
};

}  // namespace brightline
