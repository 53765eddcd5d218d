#pragma once
// The schedule checker: what an operator should know about a schedule before it goes to the
// sign. Warnings only; a schedule with findings can still be sent. The schedule window shows
// them and `brightline-cli check` prints them (as text or JSON).
//
// It reads the entries the way the sign does: each entry becomes the schedule line the
// compiler writes and the engine's reading of that line (engine/time_blocks.h) says when it
// plays; entries are taken in the order the compiler writes them (scheduleOrderIndexes), the
// first one that plays at a moment is the one the sign shows, and OTHER entries fill in when
// none plays. The checked days are simulated minute by minute.
//
// Pure function of its arguments and the program files it reads.
#include <optional>
#include <string>
#include <vector>

#include "engine/clock/local_time.h"
#include "shell/schedule.h"

namespace brightline {

enum class FindingKind {
    MissingProgram,     // the entry's program file does not exist
    UnreadableProgram,  // it exists but is no program or is damaged
    OtherSize,          // the program is made for another sign size
    EndBeforeStart,     // end time before start time (plays past midnight), or end date before
                        // start date (never plays)
    Past,               // its last date lies before the checked days
    NotReached,         // its first date lies after the checked days
    NeverPlays,         // no day between its dates is one of its ticked days
    Overlap,            // two entries play at the same time; one of them wins
    NothingPlays,       // a span of the checked days in which the sign is dark
};

// "missing-program", "unreadable-program", "other-size", "end-before-start", "past",
// "not-reached", "never-plays", "overlap", "nothing-plays".
const char* findingKindName(FindingKind kind);

struct ScheduleFinding {
    FindingKind kind = FindingKind::Overlap;
    std::vector<int> entries;  // positions in the schedule list, from 0
    int winner = -1;           // Overlap: the entry the sign shows
    // Overlap: the first span both play; NothingPlays: the dark span (`to` is the first minute
    // something plays again, or the end of the checked days).
    std::optional<CivilTime> from;
    std::optional<CivilTime> to;
    long minutes = 0;  // Overlap: minutes both play within the checked days; NothingPlays: the span
    std::string text;  // one sentence for the operator, entries counted from 1
};

struct ScheduleCheckOptions {
    std::string scheduleFolder;  // where relative program paths start
    int ledWidth = 256;          // the sign the schedule is for
    int ledHeight = 128;
    int fromYear = 1970, fromMonth = 1, fromDay = 1;  // the first checked day, from 00:00
    int days = 30;                                    // how many days are checked (1..366)
};

// Findings in this order: each entry's own findings (by entry), then the overlaps, then the
// dark spans. An empty list: nothing to warn about.
std::vector<ScheduleFinding> checkSchedule(const std::vector<CAT_Data>& entries,
                                           const ScheduleCheckOptions& options);

}  // namespace brightline
