#pragma once
// Opening a program for editing: the program frame's first steps, without any window.
#include <string>

#include "common/operator_messages.h"
#include "editor/program_data.h"

namespace brightline {

inline constexpr const char* kProgramOpenError = "%s file open error!";
inline constexpr const char* kProgramUnreadable =
    "%s could not be read: %s. It opens as an empty program, which replaces the file when it is "
    "saved.";

// Loads `path` into `program`:
// - Loaded: as read.
// - Unreadable (no file yet, or a damaged one): every list gets one default element, so a new
//   program starts with four empty backgrounds. No file yet: no message. A file that is there
//   but cannot be read (cut short, damaged, no permission) is named with the reason in
//   kProgramUnreadable ("Warning!", warning icon): the empty program the operator then sees
//   replaces the file when it is saved (every change to an area list saves it).
// - NotAProgram: "<path> file open error!" (plain OK box, application title) through
//   `messages`; the lists stay as they were.
// A frame opened for a new program then takes the size of the current sign (see
// currentSignSize in comm/).
ProgramLoadResult openProgram(const std::string& path, ProgramData& program,
                              OperatorMessages& messages);

}  // namespace brightline
