#include "engine/time_blocks.h"

#include <cstdio>
#include <cstdlib>

#include "engine/script_cursor.h"

namespace brightline::engine {
namespace {

constexpr int kLastMinute = 23 * 60 + 59;

std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        size_t from = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > from) words.push_back(line.substr(from, i - from));
    }
    return words;
}

std::optional<ScheduleDate> dateOf(const std::string& word) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(word.c_str(), "%d/%d/%d%c", &y, &m, &d, &tail) != 3) return std::nullopt;
    return ScheduleDate{y, m, d};
}

int minuteOf(const std::string& word) {
    int h = 0, m = 0;
    if (std::sscanf(word.c_str(), "%d:%d", &h, &m) != 2 || h < 0 || h > 23 || m < 0 || m > 59)
        return 0;
    return h * 60 + m;
}

bool isScheduleKeyword(const std::string& word) {
    return word == "AT" || word == "WEEK" || word == "DAY" || word == "OTHER";
}

ScheduleDate dateBefore(const ScheduleDate& date) {
    CivilTime t =
        civilFromSeconds(secondsFromCivil(date.year, date.month, date.day, 0, 0, 0) - 86400);
    return {t.year, t.month, t.day};
}

int weekdayOf(const ScheduleDate& date) {
    return civilFromSeconds(secondsFromCivil(date.year, date.month, date.day, 0, 0, 0)).weekday;
}

ClockPage pageOf(const ShowZone& zone) {
    ClockPage page;
    page.diffTime = zone.timeZone;
    page.daylight = zone.daylightBias;
    page.daylightStart = zone.start;
    page.daylightEnd = zone.end;
    return page;
}

}  // namespace

bool ScheduleDate::operator<(const ScheduleDate& o) const {
    if (year != o.year) return year < o.year;
    if (month != o.month) return month < o.month;
    return day < o.day;
}

bool TimeBlockRule::selectsDay(const ScheduleDate& date, int weekday) const {
    if (kind == Kind::Other) return false;
    if (first && date < *first) return false;
    if (last && *last < date) return false;
    if (mask == 0) return true;
    if (kind == Kind::Week) return (mask >> (6 - weekday)) & 1u;
    if (kind == Kind::Day)
        return date.day >= 1 && date.day <= 31 && ((mask >> (31 - date.day)) & 1u);
    return true;
}

bool TimeBlockRule::playsAt(const CivilTime& local) const {
    if (kind == Kind::Other) return false;
    const ScheduleDate today{local.year, local.month, local.day};
    const int minute = local.hour * 60 + local.minute;
    if (startMinute == endMinute) return selectsDay(today, local.weekday);
    // The pickers end at 23:59: that end means midnight.
    const int end = endMinute == kLastMinute ? kLastMinute + 1 : endMinute;
    if (startMinute < end)
        return minute >= startMinute && minute < end && selectsDay(today, local.weekday);
    // Past midnight: the evening of a selected day and the small hours after it.
    if (minute >= startMinute) return selectsDay(today, local.weekday);
    if (minute < endMinute) {
        const ScheduleDate yesterday = dateBefore(today);
        return selectsDay(yesterday, weekdayOf(yesterday));
    }
    return false;
}

std::optional<TimeBlockRule> parseTimeBlockLine(const std::string& line) {
    const std::vector<std::string> words = wordsOf(line);
    if (words.empty() || !isScheduleKeyword(words[0])) return std::nullopt;
    auto word = [&](size_t i) { return i < words.size() ? words[i] : std::string(); };
    TimeBlockRule rule;
    size_t times = 1;
    if (words[0] == "OTHER") {
        rule.kind = TimeBlockRule::Kind::Other;
        return rule;
    }
    if (words[0] == "AT") {
        rule.kind = TimeBlockRule::Kind::At;
    } else {
        rule.kind = words[0] == "WEEK" ? TimeBlockRule::Kind::Week : TimeBlockRule::Kind::Day;
        rule.first = dateOf(word(1));
        rule.last = dateOf(word(2));
        rule.mask = static_cast<uint32_t>(std::strtoul(word(3).c_str(), nullptr, 16));
        rule.mask &= rule.kind == TimeBlockRule::Kind::Week ? 0x7Fu : 0x7FFFFFFFu;
        times = 4;
    }
    rule.startMinute = minuteOf(word(times));
    rule.endMinute = minuteOf(word(times + 1));
    return rule;
}

std::vector<TimeBlock> findTimeBlocks(const std::string& text) {
    std::vector<TimeBlock> blocks;
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = lineStart;
        while (lineEnd < text.size() && text[lineEnd] != '\r' && text[lineEnd] != '\n' &&
               text[lineEnd] != '\0')
            ++lineEnd;
        if (auto rule = parseTimeBlockLine(text.substr(lineStart, lineEnd - lineStart))) {
            if (!blocks.empty()) blocks.back().end = lineStart;
            TimeBlock block;
            block.rule = *rule;
            block.lineStart = lineStart;
            block.begin = lineEnd;
            block.end = text.size();
            blocks.push_back(block);
        }
        lineStart = lineEnd + 1;
    }
    return blocks;
}

int chooseTimeBlock(const std::vector<TimeBlockRule>& rules, const CivilTime& local) {
    int other = -1;
    for (size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].kind == TimeBlockRule::Kind::Other) {
            if (other < 0) other = static_cast<int>(i);
        } else if (rules[i].playsAt(local)) {
            return static_cast<int>(i);
        }
    }
    return other;
}

ShowZone readShowZone(const std::string& text) {
    ShowZone zone;
    ScriptCursor cursor(std::vector<char>(text.begin(), text.end()));
    while (!cursor.atEnd()) {
        if (cursor.current() == ' ') {
            cursor.step();
            continue;
        }
        const std::string token = cursor.readToken();
        if (token == "TIME_ZONE")
            zone.timeZone = scriptNumber(cursor.readToken());
        else if (token == "DAYLIGHT_BIAS")
            zone.daylightBias = scriptNumber(cursor.readToken());
        else if (token == "DAYLIGHT_START")
            zone.start = DaylightRule::parse(cursor.readToken());
        else if (token == "DAYLIGHT_END")
            zone.end = DaylightRule::parse(cursor.readToken());
        if (cursor.onTerminator()) cursor.step();
    }
    return zone;
}

CivilTime localTimeOf(const ShowZone& zone, int64_t utcSeconds) {
    return shownTime(pageOf(zone), utcSeconds);
}

int64_t utcOfLocal(const ShowZone& zone, const CivilTime& local) {
    const ClockPage page = pageOf(zone);
    const int64_t wall = secondsFromCivil(local.year, local.month, local.day, local.hour,
                                          local.minute, local.second);
    const int64_t standard = wall + zone.timeZone;
    const int64_t daylight = standard + zone.daylightBias;
    if (zone.daylightBias != 0 && daylightInForce(page, daylight)) return daylight;
    return standard;
}

}  // namespace brightline::engine
