#include "shell/schedule_checker.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "editor/program_data.h"
#include "engine/time_blocks.h"
#include "shell/schedule_compiler.h"

namespace brightline {
namespace {

using engine::ScheduleDate;
using engine::TimeBlockRule;

constexpr int kMinutesPerDay = 24 * 60;
constexpr int kMaxDays = 366;
// A bounded date range is searched day by day for a day it selects, at most this far.
constexpr int kLongestRangeDays = 400 * 366;

const char* const kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string momentText(const CivilTime& t) {
    return formatText("%s %04d-%02d-%02d %02d:%02d", kWeekdays[t.weekday], t.year, t.month, t.day,
                      t.hour, t.minute);
}

std::string dateText(const ScheduleDate& d) {
    return formatText("%04d/%02d/%02d", d.year, d.month, d.day);
}

std::string durationText(long minutes) {
    if (minutes < 60) return formatText("%ld minute%s", minutes, minutes == 1 ? "" : "s");
    if (minutes % 60 == 0) return formatText("%ld hour%s", minutes / 60, minutes == 60 ? "" : "s");
    return formatText("%ld h %02ld min", minutes / 60, minutes % 60);
}

std::string entryName(const std::vector<CAT_Data>& entries, int i) {
    std::string name = fileNameOf(entries[static_cast<size_t>(i)].programPath);
    return formatText("Entry %d", i + 1) + (name.empty() ? "" : " (" + name + ")");
}

int64_t dayStart(const ScheduleDate& d) {
    return secondsFromCivil(d.year, d.month, d.day, 0, 0, 0);
}

ScheduleDate dateOf(const CivilTime& t) {
    return {t.year, t.month, t.day};
}

TimeBlockRule ruleOf(const CAT_Data& entry) {
    std::string line = scheduleLine(entry);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return engine::parseTimeBlockLine(line).value_or(TimeBlockRule{});
}

void checkProgram(const std::vector<CAT_Data>& entries, int i, const ScheduleCheckOptions& options,
                  std::vector<ScheduleFinding>& out) {
    const std::string path =
        scheduleProgramPath(options.scheduleFolder, entries[static_cast<size_t>(i)].programPath);
    ScheduleFinding f;
    f.entries = {i};
    if (path.empty() || !fileExists(path)) {
        f.kind = FindingKind::MissingProgram;
        f.text = entryName(entries, i) + ": its program " + (path.empty() ? "(none)" : path) +
                 " does not exist; the sign shows nothing in its hours.";
        out.push_back(f);
        return;
    }
    ProgramData program;
    std::string error;
    const ProgramLoadResult loaded = loadProgram(path, program, &error);
    if (loaded != ProgramLoadResult::Loaded) {
        f.kind = FindingKind::UnreadableProgram;
        f.text = entryName(entries, i) + ": " + path +
                 (loaded == ProgramLoadResult::NotAProgram ? " is no program file."
                                                           : " cannot be read: " + error + ".");
        out.push_back(f);
        return;
    }
    if (program.ledWidth != options.ledWidth || program.ledHeight != options.ledHeight) {
        f.kind = FindingKind::OtherSize;
        f.text =
            entryName(entries, i) +
            formatText(": its program is made for a %d x %d sign; this sign is %d x %d.",
                       program.ledWidth, program.ledHeight, options.ledWidth, options.ledHeight);
        out.push_back(f);
    }
}

void checkDates(const std::vector<CAT_Data>& entries, int i, const TimeBlockRule& rule,
                const ScheduleDate& firstDay, const ScheduleDate& lastDay,
                std::vector<ScheduleFinding>& out) {
    const CAT_Data& e = entries[static_cast<size_t>(i)];
    if (e.kind != CAT_Data::Week && e.kind != CAT_Data::Day) return;
    ScheduleFinding f;
    f.entries = {i};
    if (rule.endMinute < rule.startMinute) {
        f.kind = FindingKind::EndBeforeStart;
        f.text = entryName(entries, i) +
                 formatText(
                     ": it ends at %02d:%02d, before it starts at %02d:%02d; the sign plays it "
                     "on past midnight.",
                     e.endHour, e.endMinute, e.startHour, e.startMinute);
        out.push_back(f);
    }
    if (rule.first && rule.last && *rule.last < *rule.first) {
        f.kind = FindingKind::EndBeforeStart;
        f.text = entryName(entries, i) + ": its end date " + dateText(*rule.last) +
                 " is before its start date " + dateText(*rule.first) + "; it never plays.";
        out.push_back(f);
        return;
    }
    if (rule.last && *rule.last < firstDay) {
        f.kind = FindingKind::Past;
        f.text = entryName(entries, i) + ": its last date " + dateText(*rule.last) +
                 " has passed; it no longer plays.";
        out.push_back(f);
        return;
    }
    if (rule.first && rule.last) {
        const int64_t from = dayStart(*rule.first);
        const int64_t to =
            std::min(dayStart(*rule.last), from + int64_t(kLongestRangeDays) * 86400);
        bool any = false;
        for (int64_t day = from; day <= to && !any; day += 86400) {
            const CivilTime t = civilFromSeconds(day);
            any = rule.selectsDay(dateOf(t), t.weekday);
        }
        if (!any) {
            f.kind = FindingKind::NeverPlays;
            f.text = entryName(entries, i) + ": no day from " + dateText(*rule.first) + " to " +
                     dateText(*rule.last) + " is one of its ticked days; it never plays.";
            out.push_back(f);
            return;
        }
    }
    if (rule.first && lastDay < *rule.first) {
        f.kind = FindingKind::NotReached;
        f.text = entryName(entries, i) + ": its first date " + dateText(*rule.first) +
                 " lies after the checked days.";
        out.push_back(f);
    }
}

struct PairState {
    long first = -1;    // minute of the first overlap
    long spanEnd = -1;  // end (exclusive) of the first span
    bool open = false;  // the first span is still growing
    long total = 0;
};

}  // namespace

const char* findingKindName(FindingKind kind) {
    switch (kind) {
        case FindingKind::MissingProgram:
            return "missing-program";
        case FindingKind::UnreadableProgram:
            return "unreadable-program";
        case FindingKind::OtherSize:
            return "other-size";
        case FindingKind::EndBeforeStart:
            return "end-before-start";
        case FindingKind::Past:
            return "past";
        case FindingKind::NotReached:
            return "not-reached";
        case FindingKind::NeverPlays:
            return "never-plays";
        case FindingKind::Overlap:
            return "overlap";
        case FindingKind::NothingPlays:
            break;
    }
    return "nothing-plays";
}

std::vector<ScheduleFinding> checkSchedule(const std::vector<CAT_Data>& entries,
                                           const ScheduleCheckOptions& options) {
    std::vector<ScheduleFinding> out;
    const int days = std::clamp(options.days, 1, kMaxDays);
    const ScheduleDate firstDay{options.fromYear, options.fromMonth, options.fromDay};
    const int64_t base = dayStart(firstDay);
    const ScheduleDate lastDay = dateOf(civilFromSeconds(base + int64_t(days - 1) * 86400));

    std::vector<TimeBlockRule> rules;
    for (const CAT_Data& e : entries) rules.push_back(ruleOf(e));
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        checkProgram(entries, i, options, out);
        checkDates(entries, i, rules[static_cast<size_t>(i)], firstDay, lastDay, out);
    }

    // The checked days, minute by minute, with the entries in the sign's order.
    const std::vector<size_t> order = scheduleOrderIndexes(entries);
    std::map<std::pair<int, int>, PairState> pairs;  // (winner, other)
    std::vector<ScheduleFinding> dark;
    long darkFrom = -1;
    const long minutes = long(days) * kMinutesPerDay;
    std::vector<int> playing, others;
    auto closeDark = [&](long end) {
        if (darkFrom < 0) return;
        ScheduleFinding f;
        f.kind = FindingKind::NothingPlays;
        f.from = civilFromSeconds(base + darkFrom * 60);
        f.to = civilFromSeconds(base + end * 60);
        f.minutes = end - darkFrom;
        f.text = "Nothing plays from " + momentText(*f.from) + " to " + momentText(*f.to) +
                 (end == minutes ? " (the end of the checked days)" : "") + ", " +
                 durationText(f.minutes) + "; the sign is dark.";
        dark.push_back(f);
        darkFrom = -1;
    };
    for (long m = 0; m < minutes; ++m) {
        const CivilTime t = civilFromSeconds(base + m * 60);
        playing.clear();
        others.clear();
        for (size_t k : order) {
            const TimeBlockRule& rule = rules[k];
            if (rule.kind == TimeBlockRule::Kind::Other)
                others.push_back(static_cast<int>(k));
            else if (rule.playsAt(t))
                playing.push_back(static_cast<int>(k));
        }
        const std::vector<int>& contenders = playing.empty() ? others : playing;
        if (contenders.empty()) {
            if (darkFrom < 0) darkFrom = m;
            continue;
        }
        closeDark(m);
        for (size_t j = 1; j < contenders.size(); ++j) {
            PairState& p = pairs[{contenders[0], contenders[j]}];
            ++p.total;
            if (p.first < 0) {
                p.first = m;
                p.spanEnd = m + 1;
                p.open = true;
            } else if (p.open && m == p.spanEnd) {
                ++p.spanEnd;
            } else {
                p.open = false;
            }
        }
    }
    closeDark(minutes);

    std::vector<std::pair<std::pair<int, int>, PairState>> sorted(pairs.begin(), pairs.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.second.first < b.second.first; });
    for (const auto& [key, p] : sorted) {
        ScheduleFinding f;
        f.kind = FindingKind::Overlap;
        f.entries = {std::min(key.first, key.second), std::max(key.first, key.second)};
        f.winner = key.first;
        f.from = civilFromSeconds(base + p.first * 60);
        f.to = civilFromSeconds(base + p.spanEnd * 60);
        f.minutes = p.total;
        const bool bothOther =
            rules[static_cast<size_t>(key.first)].kind == TimeBlockRule::Kind::Other;
        f.text = entryName(entries, key.second) + " overlaps " + entryName(entries, key.first) +
                 (bothOther ? " (both are Other entries)" : "") + ", first from " +
                 momentText(*f.from) + " to " + momentText(*f.to) + ", " + durationText(p.total) +
                 " in the checked days; the sign shows " + formatText("entry %d", key.first + 1) +
                 ".";
        out.push_back(f);
    }
    out.insert(out.end(), dark.begin(), dark.end());
    return out;
}

}  // namespace brightline
