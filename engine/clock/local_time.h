#pragma once
// The local time a clock page shows: universal time minus DIFF_TIME, and minus DAYLIGHT as
// well while daylight saving is in force by the page's DAYLIGHT_START and DAYLIGHT_END rules.
//
// A rule's instant is the given hour on the n-th Sunday of the month (a fifth Sunday the month
// does not have means the fourth) in the year of the page's local standard time. The start hour
// counts in local standard time, the end hour in local daylight time, so the change happens at
// the hour the page names on the sign's own wall clock whatever zone the machine is set to.
// When the end month comes before the start month (the southern hemisphere) daylight saving is
// in force from the start to the end of the year and from the year's beginning to the end.
// Pure functions of their arguments; the caller supplies "now".
#include <cstdint>

#include "engine/clock/clock_page.h"

namespace brightline {

struct CivilTime {
    int year = 1970;
    int month = 1;  // 1-12
    int day = 1;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 Sunday .. 6 Saturday
};

// Proleptic Gregorian calendar, no leap seconds.
CivilTime civilFromSeconds(int64_t seconds);
int64_t secondsFromCivil(int year, int month, int day, int hour, int minute, int second);
int daysInMonth(int year, int month);

// The day of the month of the rule's Sunday in `year`; 0 for an invalid rule.
int ruleDay(const DaylightRule& rule, int year);
// The rule's instant in universal seconds, for a wall clock `wallOffset` seconds ahead of
// universal time. Only for a valid rule.
int64_t ruleInstant(const DaylightRule& rule, int year, int64_t wallOffset);

bool daylightInForce(const ClockPage& page, int64_t utcNow);
// What the page shows at universal time `utcNow`.
CivilTime shownTime(const ClockPage& page, int64_t utcNow);

}  // namespace brightline
