#include "signsim/sign_frame.h"

#include <algorithm>

namespace brightline::signsim {
namespace {

constexpr uint8_t kSync = 'Z';
constexpr size_t kHeadSize = 9;  // sync, destination, source, length, header sum
constexpr size_t kFixedBody = 8;
constexpr size_t kLargestBody = kFixedBody + 1024;

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

uint32_t getLe(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

uint8_t sumOf(const uint8_t* from, const uint8_t* to) {
    unsigned sum = 0;
    for (const uint8_t* p = from; p != to; ++p) sum += *p;
    return static_cast<uint8_t>(sum & 0xFF);
}

}  // namespace

std::vector<uint8_t> frameBytes(const SignFrame& frame) {
    const size_t n = std::min<size_t>(frame.data.size(), kLargestBody - kFixedBody);
    std::vector<uint8_t> out(4, kSync);
    out.push_back(frame.destination);
    out.push_back(frame.source);
    putLe(out, static_cast<uint32_t>(n + kFixedBody), 2);
    out.push_back(sumOf(out.data() + 4, out.data() + 8));
    putLe(out, frame.chunkSize, 2);
    putLe(out, frame.type, 2);
    putLe(out, frame.sequence, 4);
    out.insert(out.end(), frame.data.begin(), frame.data.begin() + static_cast<long>(n));
    out.push_back(sumOf(out.data() + kHeadSize, out.data() + out.size()));
    return out;
}

std::vector<SignFrame> SignFrameReader::push(const uint8_t* bytes, size_t size) {
    std::vector<SignFrame> frames;
    pending_.insert(pending_.end(), bytes, bytes + size);
    size_t at = 0;  // everything before `at` is used up
    for (;;) {
        // The next run of four sync bytes.
        size_t run = 0, start = at;
        while (start + run < pending_.size() && run < 4) {
            if (pending_[start + run] == kSync) {
                ++run;
            } else {
                start += run + 1;
                run = 0;
            }
        }
        if (run < 4) {
            at = start;  // keep a partial run for the next bytes
            break;
        }
        at = start;
        if (pending_.size() - start < kHeadSize) break;
        const uint8_t* head = pending_.data() + start;
        const size_t body = getLe(head + 6, 2);
        const bool headOk = sumOf(head + 4, head + 8) == head[8] && head[4] == address_ &&
                            body >= kFixedBody && body <= kLargestBody;
        if (!headOk) {
            at = start + kHeadSize;
            continue;
        }
        if (pending_.size() - start < kHeadSize + body + 1) break;
        const uint8_t* b = head + kHeadSize;
        at = start + kHeadSize + body + 1;
        if (sumOf(b, b + body) != b[body]) continue;
        SignFrame f;
        f.destination = head[4];
        f.source = head[5];
        f.chunkSize = static_cast<uint16_t>(getLe(b, 2));
        f.type = static_cast<uint16_t>(getLe(b + 2, 2));
        f.sequence = getLe(b + 4, 4);
        f.data.assign(b + kFixedBody, b + body);
        frames.push_back(std::move(f));
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(at));
    return frames;
}

}  // namespace brightline::signsim
