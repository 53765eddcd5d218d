#pragma once
// The sign's reading of a show script's schedule lines: which time block plays at a local
// moment. Used by the show player in schedule mode (ShowOptions::schedule) and by the schedule
// checker, so that both read the lines the same way.
//
// A time block is the text between one schedule line and the next (or the end of the script);
// a schedule line is a line whose first word is "AT", "WEEK", "DAY" or "OTHER":
//   AT hh:mm hh:mm                              every day
//   WEEK first last mask hh:mm hh:mm            days whose weekday bit is set (Sunday bit 6 ..
//                                               Saturday bit 0, two hex digits)
//   DAY first last mask hh:mm hh:mm             days whose day-of-month bit is set (day 1 bit 30
//                                               .. day 31 bit 0, eight hex digits)
//   OTHER                                       whenever no other block plays
// Dates are "yyyy/mm/dd" (inclusive) or "--/--/--" (open). A mask of 0 selects every day. The
// time window runs from the start minute up to (not including) the end minute, an end of 23:59
// up to midnight; equal times mean the whole day; an end before the start runs on past midnight
// into the next day (that part belongs to the day it started on).
//
// The first block in script order that plays at a moment is the one the sign shows; when none
// does, the first OTHER block; when there is none either, the sign is dark.
//
// The zone: the script's header ("TIME_ZONE", "DAYLIGHT_START", "DAYLIGHT_END",
// "DAYLIGHT_BIAS") says how the sign's local time follows from universal time, with the same
// arithmetic as a clock page's DIFF_TIME, DAYLIGHT and daylight rules.
//
// Pure functions.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock/clock_page.h"
#include "engine/clock/local_time.h"

namespace brightline::engine {

struct ScheduleDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator<(const ScheduleDate& o) const;
    bool operator==(const ScheduleDate& o) const {
        return year == o.year && month == o.month && day == o.day;
    }
};

struct TimeBlockRule {
    enum class Kind { At, Week, Day, Other };
    Kind kind = Kind::At;
    std::optional<ScheduleDate> first;  // nullopt: open
    std::optional<ScheduleDate> last;
    uint32_t mask = 0;    // Week: 7 bits, Day: 31 bits; 0: every day
    int startMinute = 0;  // minutes of the day, 0..1439
    int endMinute = 0;

    // The day itself is selected (dates and mask; the time window aside). False for OTHER.
    bool selectsDay(const ScheduleDate& date, int weekday) const;
    // The block plays at this local moment. False for OTHER (it only fills in).
    bool playsAt(const CivilTime& local) const;
};

// The rule of one schedule line (its words, "WEEK" first); nullopt when the first word is no
// schedule keyword. Missing or unreadable fields read as open dates, mask 0 and 00:00.
std::optional<TimeBlockRule> parseTimeBlockLine(const std::string& line);

struct TimeBlock {
    TimeBlockRule rule;
    size_t lineStart = 0;  // where the schedule line starts
    size_t begin = 0;      // the block's text: from the end of its schedule line ...
    size_t end = 0;        // ... to the start of the next schedule line or the end
};

// The blocks of a script text, in script order.
std::vector<TimeBlock> findTimeBlocks(const std::string& text);

// The block the sign shows at `local` (see above); -1 when the sign is dark.
int chooseTimeBlock(const std::vector<TimeBlockRule>& rules, const CivilTime& local);

// How local time follows from universal time on the sign.
struct ShowZone {
    long timeZone = 0;      // TIME_ZONE: seconds subtracted from universal time
    long daylightBias = 0;  // DAYLIGHT_BIAS: subtracted in addition while daylight saving holds
    DaylightRule start;     // DAYLIGHT_START
    DaylightRule end;       // DAYLIGHT_END
};
// Read from the header lines of a script text; a script without them is on universal time.
ShowZone readShowZone(const std::string& text);
CivilTime localTimeOf(const ShowZone& zone, int64_t utcSeconds);
// The universal time of a local moment. A moment the clocks skip when daylight saving starts is
// taken in standard time; one they pass twice, the first time.
int64_t utcOfLocal(const ShowZone& zone, const CivilTime& local);

}  // namespace brightline::engine
