// The sign list "LED_SET.ZRC" from arbitrary bytes.
#include <cstdlib>

#include "comm/led_set_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    SignList list;
    list.signs.push_back(defaultSignRecord({1, 2, 3, 4}, "h"));
    SignList before = list;
    if (!decodeSignList(data, size, list)) {
        if (list.signs != before.signs) std::abort();  // a failed load leaves the list alone
        return 0;
    }
    std::vector<uint8_t> again = encodeSignList(list);
    SignList back;
    if (!decodeSignList(again.data(), again.size(), back) || back.signs != list.signs) std::abort();
    return 0;
}
