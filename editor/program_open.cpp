#include "editor/program_open.h"

#include <cstdio>

#include "common/file_io.h"
#include "common/text_format.h"

namespace brightline {

ProgramLoadResult openProgram(const std::string& path, ProgramData& program,
                              OperatorMessages& messages) {
    std::string error;
    ProgramLoadResult result = loadProgram(path, program, &error);
    if (result == ProgramLoadResult::Unreadable) {
        program.resetToDefaultElements();
        // A new program has no file yet; a file that is there was the operator's program.
        if (fileExists(path))
            messages.show(
                OperatorMessage{formatText(kProgramUnreadable, path.c_str(), error.c_str()),
                                "Warning!", MessageIcon::Warning, MessageButtons::Ok});
    } else if (result == ProgramLoadResult::NotAProgram) {
        std::string text = kProgramOpenError;
        text.replace(text.find("%s"), 2, path);
        messages.show(text);
    }
    return result;
}

}  // namespace brightline
