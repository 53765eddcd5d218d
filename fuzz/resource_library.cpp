// Resource library files ("RC_*.ZRC") from arbitrary bytes.
#include <cstdlib>

#include "editor/resource_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    std::vector<std::string> paths;
    if (decodeLibrary(data, size, paths) != LibraryLoadResult::Loaded) return 0;
    std::vector<uint8_t> again = encodeLibrary(paths);
    std::vector<std::string> back;
    decodeLibrary(again.data(), again.size(), back);
    if (back != paths) std::abort();
    return 0;
}
