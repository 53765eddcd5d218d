#pragma once
// Compiling a schedule into one show: "run.at" with the header and one time block per entry,
// each followed by the RUN line that Make appends for the entry's program.
#include <functional>
#include <string>
#include <vector>

#include "common/operator_messages.h"
#include "common/time_zone.h"
#include "shell/schedule.h"

namespace brightline {

struct ScheduleCompileContext {
    std::string workspace;  // emptied first
    TimeZoneInfo zone;
    int ledWidth = 256;  // the current sign's size, for the header
    int ledHeight = 128;
    // Opens the entry's program (the desktop in its program frame, the command line from the
    // file) and runs Make(k, append, 7) on it; returns the made-media count. A negative result
    // means the program could not be opened: nothing is added for it.
    std::function<int(const CAT_Data& entry, int k)> makeEntry;
};

// The time block line of an entry: "WEEK …", "DAY …" or "AT " with the times and CR LF, or
// "OTHER\r\n".
std::string scheduleLine(const CAT_Data& entry);

// The entries in the order the sign gets them: a stable sort of a copy by start time (hour, then
// minute); the list the operator sees keeps its order.
std::vector<CAT_Data> scheduleOrder(const std::vector<CAT_Data>& entries);

// Compile: empties the workspace, writes the header, then for each entry in scheduleOrder its
// line and its program (Make in append mode with program numbers 0, 1, 2 …), then "END".
// Returns the total of made media; 0 with a message (and `error` set) when the workspace is
// refused (see cleanWorkspace()) or run.at cannot be written.
int compileSchedule(const std::vector<CAT_Data>& entries, const ScheduleCompileContext& context,
                    OperatorMessages& messages, std::string* error = nullptr);

}  // namespace brightline
