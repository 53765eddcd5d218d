#include "engine/clock/clock_page_file.h"

#include <vector>

#include "common/file_io.h"

namespace brightline {

bool loadClockPage(const std::string& path, ClockPage& page, const FontDiagnostics& diag) {
    if (!fileExists(path)) {
        std::string line = kCouldNotOpenPage;
        line.replace(line.find("%s"), 2, path);
        diag(line);
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, nullptr, kClockPageLimit)) {
        diag(kReadTimFailed);
        return false;
    }
    applyClockPageText(std::string(bytes.begin(), bytes.end()), page);
    return true;
}

}  // namespace brightline
