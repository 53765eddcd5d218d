#include "editor/program_open.h"

#include <cstdio>

namespace brightline {

ProgramLoadResult openProgram(const std::string& path, ProgramData& program,
                              OperatorMessages& messages) {
    ProgramLoadResult result = loadProgram(path, program);
    if (result == ProgramLoadResult::Unreadable) {
        program.resetToDefaultElements();
    } else if (result == ProgramLoadResult::NotAProgram) {
        std::string text = kProgramOpenError;
        text.replace(text.find("%s"), 2, path);
        messages.show(text);
    }
    return result;
}

}  // namespace brightline
