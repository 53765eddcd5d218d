// The serial packet parser from arbitrary bytes: it never reads past its buffers, every packet
// it accepts is within bounds, and a packet it accepted is rebuilt byte for byte.
#include <cstdlib>
#include <vector>

#include "comm/packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    PacketParser parser(kPcAddress);
    for (size_t i = 0; i < size; ++i) {
        if (!parser.feed(data[i])) continue;
        if (parser.dataSize() > kMaxPacketData) std::abort();
        const std::vector<uint8_t> again =
            buildPacket(parser.header(), parser.data(), parser.dataSize());
        if (again.size() != parser.dataSize() + kPacketOverhead || i + 1 < again.size())
            std::abort();
        if (!std::equal(again.begin(), again.end(), data + i + 1 - again.size())) std::abort();
    }
    return 0;
}
