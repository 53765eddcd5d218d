#include "comm/sign_requests.h"

#include <cstdio>
#include <cstring>

#include "comm/sign_messages.h"

namespace brightline {
namespace {

constexpr uint64_t kEpochDifference = 11644473600ULL;  // seconds from 1601 to 1970

void putLe32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void putIp(std::string& out, const Ipv4& ip) {
    for (uint8_t b : ip) out.push_back(static_cast<char>(b));
}

}  // namespace

uint64_t toFileTime(std::time_t utcSeconds, long nanoseconds) {
    return (static_cast<uint64_t>(utcSeconds) + kEpochDifference) * 10000000ULL +
           static_cast<uint64_t>(nanoseconds / 100);
}

std::time_t fromFileTime(uint64_t fileTime) {
    return static_cast<std::time_t>(fileTime / 10000000ULL) -
           static_cast<std::time_t>(kEpochDifference);
}

std::string fileTimeBytes(uint64_t fileTime) {
    std::string out;
    putLe32(out, static_cast<uint32_t>(fileTime));
    putLe32(out, static_cast<uint32_t>(fileTime >> 32));
    return out;
}

std::string setClockRequest(uint64_t fileTime) {
    return kWordSetDate + fileTimeBytes(fileTime);
}

std::string setIpRequest(const Ipv4& ip, const Ipv4& mask, const Ipv4& gateway) {
    std::string out = kWordSetIp;
    putIp(out, ip);
    putIp(out, mask);
    putIp(out, gateway);
    out.append(2, '\0');  // filler
    return out;
}

std::string scanRequest(int direction) {
    std::string out = kWordScan;
    out.push_back('\0');
    out.push_back(static_cast<char>('0' + (direction & 3)));
    out.append(9, '\0');  // filler
    return out;
}

std::string bootParamBytes(const BootParams& params) {
    std::string out;
    for (uint8_t v : params.show) out.push_back(static_cast<char>(v ? 1 : 0));
    return out;
}

std::string setBootParamRequest(const BootParams& params) {
    return kWordSetBootParam + bootParamBytes(params);
}

std::string setAddressData(const AddressChange& change) {
    static const int kBaud[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    std::string out;
    putLe32(out, static_cast<uint32_t>(change.address));
    putLe32(out, static_cast<uint32_t>(
                     kBaud[change.baudIndex >= 0 && change.baudIndex < 8 ? change.baudIndex : 7]));
    putIp(out, change.ip);
    putIp(out, change.mask);
    putIp(out, change.gateway);
    return out;
}

std::string replyText(const std::string& reply) {
    const size_t nul = reply.find('\0');
    return nul == std::string::npos ? reply : reply.substr(0, nul);
}

std::string remoteFolderFromReply(const std::string& reply) {
    const std::string text = replyText(reply);
    if (text.find("DATA1") == std::string::npos && text.find("DATA2") == std::string::npos)
        return std::string();
    const size_t start = text.find_first_not_of(kWordAck);
    return start == std::string::npos ? std::string() : text.substr(start);
}

bool replyRefuses(const std::string& reply) {
    return replyText(reply).find("ERROR") != std::string::npos;
}

std::optional<BootParams> parseBootParams(const std::string& reply, const std::string& prefix) {
    const std::string text = replyText(reply);
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() < prefix.size() + 6)
        return std::nullopt;
    BootParams p;
    for (size_t i = 0; i < 6; ++i) p.show[i] = static_cast<uint8_t>(text[prefix.size() + i] - '0');
    return p;
}

std::optional<std::string> refuseNetworkSettings(const Ipv4& ip, const Ipv4& mask,
                                                 const Ipv4& gateway) {
    if (ip[0] == 0 || ip[3] == 0)
        return std::string(
            "Sorry !!! New IP address is error!\r\nPlease input new IP address again.");
    if (mask[0] == 0)
        return std::string("Sorry !!! Subnet mask is error!\r\nPlease input subnet mask again.");
    if (gateway[0] == 0 || gateway[0] != ip[0])
        return std::string(
            "Sorry !!! Default gateway is error!\r\nPlease input default gateway again.");
    return std::nullopt;
}

std::string formatIp(const Ipv4& ip) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]);
    return text;
}

std::optional<Ipv4> parseIp(const std::string& text) {
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return std::nullopt;
    if (a > 255 || b > 255 || c > 255 || d > 255) return std::nullopt;
    return Ipv4{{static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(c),
                 static_cast<uint8_t>(d)}};
}

}  // namespace brightline
