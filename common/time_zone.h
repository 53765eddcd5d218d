#pragma once
// The PC's time zone as the show script header states it, taken from the POSIX TZ rule: the TZ
// variable when set (a rule, or a zone name looked up under /usr/share/zoneinfo), else the rule
// at the end of /etc/localtime. "Setting the PC's zone" sets the process's TZ only.
#include <optional>
#include <string>

namespace brightline {

// A daylight-saving change as the show header writes it: month 1..12; day is the week of the
// month (1..4, 5 = last) for rules of the "Mm.w.d" form, else the day of the month; hour 0..23.
// All zero when the zone has no daylight saving.
struct TransitionDate {
    int month = 0;
    int day = 0;
    int hour = 0;
};

struct TimeZoneInfo {
    // Standard offset from UTC in seconds, positive west of Greenwich (UTC+8 gives -28800).
    long standardOffsetWest = 0;
    bool observesDaylight = false;
    // Seconds added to standard time while daylight saving is in force (usually 3600).
    long daylightSaving = 0;
    TransitionDate daylightStart;  // when daylight saving begins
    TransitionDate standardStart;  // when standard time begins again
    std::string rule;              // the POSIX rule it was read from
    std::string standardName;      // the abbreviations ("AEST", "+10"); daylight's empty without
    std::string daylightName;      // daylight saving
};

// Parses a POSIX TZ rule ("CET-1CEST,M3.5.0,M10.5.0/3", "<+10>-10",
// "AEST-10AEDT,M10.1.0,M4.1.0/3"). nullopt when it is no rule.
std::optional<TimeZoneInfo> parsePosixTimeZone(const std::string& rule);

// The rule at the end of a compiled zone file (TZif version 2 or later); empty when it has none.
std::string zoneFileRule(const std::string& path);

// The zone in force for this process: TZ (a rule, ":name" or a zone name), else /etc/localtime;
// UTC when nothing can be read.
TimeZoneInfo currentTimeZone();

// The process's TZ variable as it is now (nullopt: not set).
std::optional<std::string> processTimeZoneVariable();
// Sets (or, with nullopt, removes) the process's TZ variable and makes the C library read it
// again. What "setting the PC's zone" does here: the system's zone is left alone. Not to be
// called while other threads convert local times. False when the variable could not be set.
bool setProcessTimeZone(const std::optional<std::string>& tz);

// The four header lines Make and the schedule compiler write first:
// "TIME_ZONE %d \r\n", "DAYLIGHT_START %02d/%02d:%02d \r\n", "DAYLIGHT_END  %02d/%02d:%02d \r\n"
// and "DAYLIGHT_BIAS %d \r\n" (-3600 when the zone observes daylight saving, else 0).
std::string timeZoneHeader(const TimeZoneInfo& zone);

}  // namespace brightline
