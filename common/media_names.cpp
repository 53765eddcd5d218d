#include "common/media_names.h"

#include <cstdio>

namespace brightline {

std::string regionScriptName(int firstDigit, int program, int slot, int window) {
    if (program == -1) program = 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%01d%02d%01d%01d.shw", firstDigit, program, slot, window);
    return buffer;
}

std::string mediaName(int firstDigit, int program, int slot, int window, int sequence) {
    if (program == -1) program = 0;
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%01d%02d%01d%01d%03d", firstDigit, program, slot, window,
                  sequence);
    return buffer;
}

}  // namespace brightline
