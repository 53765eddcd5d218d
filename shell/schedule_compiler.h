#pragma once
// Compiling a schedule into one show: "run.at" with the header and one time block per entry,
// each followed by the RUN line that Make appends for the entry's program.
#include <functional>
#include <string>
#include <vector>

#include "common/operator_messages.h"
#include "common/time_zone.h"
#include "editor/media_export.h"
#include "shell/schedule.h"

namespace brightline {

class ScriptMaker;

struct ScheduleCompileContext {
    std::string workspace;  // emptied first
    TimeZoneInfo zone;
    int ledWidth = 256;  // the current sign's size, for the header
    int ledHeight = 128;
    // Runs Make(k, append, 7) on the entry's program (makeScheduleEntry below); returns the
    // made-media count. It must append the program's RUN line whatever the program file holds.
    std::function<int(const CAT_Data& entry, int k)> makeEntry;
    // Asked before each entry; true ends the compile (nothing is sent then). Null: never.
    std::function<bool()> cancelled;
};

// The program file of an entry: its path as stored; a relative one is taken from the schedule's
// folder.
std::string scheduleProgramPath(const std::string& scheduleFolder, const std::string& programPath);

// Make in append mode of one entry's program, read from its file: a file that does not exist
// makes what the editor makes of a new program (four empty backgrounds), one that is no program
// reports "<path> file open error!" and makes an empty program. Either way the entry's time
// block gets its RUN line. `configure` gives the maker the time zone, status and cancel flag of
// the run (may be null). `makeFailed` (may be null) is set when Make failed (a medium that could
// not be written; the message said why) and left alone otherwise.
int makeScheduleEntry(const CAT_Data& entry, int k, const std::string& scheduleFolder,
                      const std::string& workspace, MediaExport& media, OperatorMessages& messages,
                      const std::function<void(ScriptMaker&)>& configure,
                      bool* makeFailed = nullptr);

// The time block line of an entry: "WEEK …", "DAY …" or "AT " with the times and CR LF, or
// "OTHER\r\n".
std::string scheduleLine(const CAT_Data& entry);

// The entries in the order the sign gets them: a stable sort of a copy by start time (hour, then
// minute); the list the operator sees keeps its order.
std::vector<CAT_Data> scheduleOrder(const std::vector<CAT_Data>& entries);
// The same order as positions in `entries`.
std::vector<size_t> scheduleOrderIndexes(const std::vector<CAT_Data>& entries);

// Compile: empties the workspace, writes the header, then for each entry in scheduleOrder its
// line and its program (Make in append mode with program numbers 0, 1, 2 …), then "END".
// Returns the total of made media; 0 with a message (and `error` set) when the workspace is
// refused (see cleanWorkspace()) or run.at cannot be written; 0 when cancelled.
int compileSchedule(const std::vector<CAT_Data>& entries, const ScheduleCompileContext& context,
                    OperatorMessages& messages, std::string* error = nullptr);

}  // namespace brightline
