// The modem line collector from arbitrary bytes: lines never exceed its buffer.
#include <cstdlib>

#include "comm/line_collector.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    LineCollector collector;
    for (size_t i = 0; i < size; ++i) {
        if (collector.feed(data[i]) &&
            (collector.line().size() < 2 || collector.line().size() > LineCollector::kCapacity))
            std::abort();
    }
    return 0;
}
