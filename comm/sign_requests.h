#pragma once
// The byte layouts of the sign's requests with binary parts, and the rules for reading replies.
// Multi-byte numbers little-endian; IP addresses 4 bytes, first octet first. Pure functions.
#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace brightline {

using Ipv4 = std::array<uint8_t, 4>;

// The start-up display settings in the sign's order: sign address, baud rate, IP address,
// subnet mask, default gateway, firmware version; each 0 or 1.
struct BootParams {
    std::array<uint8_t, 6> show{{1, 1, 1, 1, 1, 1}};
    bool operator==(const BootParams& o) const { return show == o.show; }
};

struct AddressChange {
    int address = 1;    // 1..254
    int baudIndex = 7;  // 0..7
    Ipv4 ip{{192, 168, 0, 6}};
    Ipv4 mask{{255, 255, 255, 0}};
    Ipv4 gateway{{192, 168, 0, 1}};
};

// UTC seconds since 1970 (+ nanoseconds) as a Windows file time: 100-ns intervals since
// 1601-01-01 UTC.
uint64_t toFileTime(std::time_t utcSeconds, long nanoseconds = 0);
std::time_t fromFileTime(uint64_t fileTime);

std::string setClockRequest(uint64_t fileTime);  // 20 bytes
std::string fileTimeBytes(uint64_t fileTime);    // 8 bytes (serial type 12)
std::string setIpRequest(const Ipv4& ip, const Ipv4& mask, const Ipv4& gateway);  // 24 bytes
std::string scanRequest(int direction);                     // 20 bytes, direction 0..3
std::string setBootParamRequest(const BootParams& params);  // 25 bytes
std::string bootParamBytes(const BootParams& params);       // 6 bytes (serial type 26)
std::string setAddressData(const AddressChange& change);    // 20 bytes (serial type 20)

// The upload folder named by a "prepare for upload" reply: empty unless the reply contains
// "DATA1" or "DATA2"; then the reply after every leading character that occurs in
// "QVX0001ACK" (so "QVX0001ACKDATA2" gives "DATA2", and a trailing CR LF stays).
std::string remoteFolderFromReply(const std::string& reply);
// True when the reply text (up to its first NUL) contains "ERROR".
bool replyRefuses(const std::string& reply);
// The six settings from a reply that starts with `prefix` followed by six digits.
std::optional<BootParams> parseBootParams(const std::string& reply, const std::string& prefix);
// Replies are text: cut at the first NUL, as the sign's tools read them.
std::string replyText(const std::string& reply);

// The checks of the change-address and change-IP dialogs, in their order: the new address needs
// non-zero first and last octets, the mask a non-zero first octet, the gateway a non-zero first
// octet equal to the address's. The text to show (application title, no icon) when refused.
std::optional<std::string> refuseNetworkSettings(const Ipv4& ip, const Ipv4& mask,
                                                 const Ipv4& gateway);

std::string formatIp(const Ipv4& ip);  // "%d.%d.%d.%d"
std::optional<Ipv4> parseIp(const std::string& text);

}  // namespace brightline
