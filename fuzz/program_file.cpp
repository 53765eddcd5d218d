// Program files (".ZPF") from arbitrary bytes: never a crash, a leak or a half-built list.
#include <cstdlib>

#include "editor/program_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    ProgramData program;
    program.resetToDefaultElements();
    ProgramLoadResult r = decodeProgram(data, size, program);
    if (r == ProgramLoadResult::Unreadable) {
        for (const auto& list : program.areaLists)
            if (!list.empty()) std::abort();
    }
    if (r == ProgramLoadResult::Loaded) {
        // What was read writes back to a file that reads the same.
        std::vector<uint8_t> again = encodeProgram(program);
        ProgramData back;
        if (decodeProgram(again.data(), again.size(), back) != ProgramLoadResult::Loaded ||
            back.areaLists != program.areaLists)
            std::abort();
    }
    return 0;
}
