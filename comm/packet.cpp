#include "comm/packet.h"

namespace brightline {

int baudRateForIndex(int index) {
    return index >= 0 && index < 8 ? kBaudTable[index] : kBaudTable[kDefaultBaudIndex];
}

int chunkSizeForIndex(int index) {
    return index >= 0 && index < 6 ? kChunkSizeTable[index] : kDefaultChunkSize;
}

std::vector<uint8_t> buildPacket(const PacketHeader& h, const uint8_t* data, size_t size) {
    if (size > kMaxPacketData) size = kMaxPacketData;
    std::vector<uint8_t> p;
    p.reserve(size + kPacketOverhead);
    p.insert(p.end(), {0x5A, 0x5A, 0x5A, 0x5A});
    const uint16_t bodyLength = static_cast<uint16_t>(size + 8);
    p.push_back(h.destination);
    p.push_back(h.source);
    p.push_back(static_cast<uint8_t>(bodyLength));
    p.push_back(static_cast<uint8_t>(bodyLength >> 8));
    p.push_back(static_cast<uint8_t>(p[4] + p[5] + p[6] + p[7]));
    const size_t bodyStart = p.size();
    p.push_back(static_cast<uint8_t>(h.chunkSize));
    p.push_back(static_cast<uint8_t>(h.chunkSize >> 8));
    p.push_back(static_cast<uint8_t>(h.type));
    p.push_back(static_cast<uint8_t>(h.type >> 8));
    for (int i = 0; i < 4; ++i) p.push_back(static_cast<uint8_t>(h.sequence >> (8 * i)));
    if (size) p.insert(p.end(), data, data + size);
    uint8_t sum = 0;
    for (size_t i = bodyStart; i < p.size(); ++i) sum = static_cast<uint8_t>(sum + p[i]);
    p.push_back(sum);
    return p;
}

void PacketParser::reset() {
    state_ = State::Hunting;
    count_ = 0;
    sum_ = 0;
}

bool PacketParser::feed(uint8_t byte) {
    switch (state_) {
        case State::Hunting:
            if (byte == 0x5A) {
                if (++count_ == 4) {
                    state_ = State::Header;
                    count_ = 0;
                    sum_ = 0;
                }
            } else {
                count_ = 0;
            }
            return false;
        case State::Header:
            if (count_ < 4) {
                head_[count_++] = byte;
                sum_ = static_cast<uint8_t>(sum_ + byte);
                return false;
            }
            {
                // Read as a signed 16-bit number: a "negative" length is as bad as one below 8.
                const int16_t length = static_cast<int16_t>(head_[2] | (head_[3] << 8));
                count_ = 0;
                if (byte == sum_ && head_[0] == destination_ && length >= 8 &&
                    length <= static_cast<int16_t>(kMaxBodyLength)) {
                    bodyLength_ = static_cast<size_t>(length);
                    state_ = State::Body;
                    sum_ = 0;
                } else {
                    state_ = State::Hunting;
                }
            }
            return false;
        case State::Body:
            if (count_ < bodyLength_) {
                body_[count_++] = byte;
                sum_ = static_cast<uint8_t>(sum_ + byte);
                return false;
            }
            state_ = State::Hunting;
            count_ = 0;
            if (byte != sum_) return false;
            packet_.destination = head_[0];
            packet_.source = head_[1];
            packet_.chunkSize = static_cast<uint16_t>(body_[0] | (body_[1] << 8));
            packet_.type = static_cast<uint16_t>(body_[2] | (body_[3] << 8));
            packet_.sequence =
                static_cast<uint32_t>(body_[4]) | (static_cast<uint32_t>(body_[5]) << 8) |
                (static_cast<uint32_t>(body_[6]) << 16) | (static_cast<uint32_t>(body_[7]) << 24);
            dataSize_ = bodyLength_ - 8;
            return true;
    }
    return false;
}

}  // namespace brightline
