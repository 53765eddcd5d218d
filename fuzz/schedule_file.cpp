// Schedule files (".AT") from arbitrary bytes.
#include <cstdlib>

#include "shell/schedule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    std::vector<CAT_Data> entries;
    ScheduleLoadResult r = decodeSchedule(data, size, entries);
    if (r != ScheduleLoadResult::Loaded && !entries.empty()) std::abort();
    for (const auto& e : entries) (void)describeScheduleEntry(e);
    if (r == ScheduleLoadResult::Loaded) {
        std::vector<uint8_t> again = encodeSchedule(entries);
        std::vector<CAT_Data> back;
        if (decodeSchedule(again.data(), again.size(), back) != ScheduleLoadResult::Loaded ||
            !(back == entries))
            std::abort();
    }
    return 0;
}
