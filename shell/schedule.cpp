#include "shell/schedule.h"

#include <cstdio>
#include <cstring>

#include "common/file_io.h"

namespace brightline {
namespace {

constexpr char kMark[4] = {'S', 'C', 'H', 0};

template <class Fn>
void forEachNumber(CAT_Data& e, Fn fn) {
    fn(e.kind);
    for (auto& v : e.weekdays) fn(v);
    for (auto& v : e.months) fn(v);
    for (auto& v : e.days) fn(v);
    for (int32_t* v :
         {&e.startHour, &e.startMinute, &e.endHour, &e.endMinute, &e.openStart, &e.openEnd,
          &e.startYear, &e.startMonth, &e.startDay, &e.endYear, &e.endMonth, &e.endDay})
        fn(*v);
}

std::string format(const char* fmt, int a, int b, int c) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, fmt, a, b, c);
    return buffer;
}

std::string dateTexts(const CAT_Data& e) {
    std::string text;
    if (!e.openStart)
        text += "Start Date:" + format("%04d/%02d/%02d  ", e.startYear, e.startMonth, e.startDay);
    if (!e.openEnd)
        text += "End Date:" + format("%04d/%02d/%02d  ", e.endYear, e.endMonth, e.endDay);
    return text;
}

std::string timeText(const CAT_Data& e) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "Start Time:%02d:%02d End Time:%02d:%02d ", e.startHour,
                  e.startMinute, e.endHour, e.endMinute);
    return buffer;
}

}  // namespace

const std::array<const char*, 7> kWeekdayNames = {"Sun.", "Mon.", "Tue.", "Wed.",
                                                  "Thu.", "Fri.", "Sat."};

void CAT_Data::serialize(ArchiveWriter& ar) const {
    ByteWriter& out = ar.out();
    forEachNumber(const_cast<CAT_Data&>(*this), [&](int32_t& v) { out.i32(v); });
    ar.writeString(programPath);
}

void CAT_Data::deserialize(ArchiveReader& ar) {
    ByteReader& in = ar.in();
    forEachNumber(*this, [&](int32_t& v) { v = in.i32(); });
    programPath = ar.readString();
}

bool CAT_Data::operator==(const CAT_Data& o) const {
    return kind == o.kind && weekdays == o.weekdays && months == o.months && days == o.days &&
           startHour == o.startHour && startMinute == o.startMinute && endHour == o.endHour &&
           endMinute == o.endMinute && openStart == o.openStart && openEnd == o.openEnd &&
           startYear == o.startYear && startMonth == o.startMonth && startDay == o.startDay &&
           endYear == o.endYear && endMonth == o.endMonth && endDay == o.endDay &&
           programPath == o.programPath;
}

std::vector<uint8_t> encodeSchedule(const std::vector<CAT_Data>& entries) {
    ByteWriter out;
    out.bytes(kMark, 4);
    ArchiveWriter ar(out);
    ar.writeCount(static_cast<uint32_t>(entries.size()));
    for (const auto& entry : entries) {
        ar.beginObject(CAT_Data::kClassName);
        entry.serialize(ar);
    }
    return out.take();
}

ScheduleLoadResult decodeSchedule(const uint8_t* data, size_t size, std::vector<CAT_Data>& entries,
                                  std::string* error) {
    entries.clear();
    ByteReader in(data, size);
    char mark[4] = {1, 1, 1, 1};
    in.bytes(mark, 4);
    if (!in.ok() || std::memcmp(mark, kMark, 4) != 0) {
        if (error) *error = "not a schedule file (no \"SCH\" mark)";
        return ScheduleLoadResult::WrongMark;
    }
    ArchiveReader ar(in);
    if (!readObjectList(ar, CAT_Data::kClassName, entries,
                        [](ArchiveReader& r, CAT_Data& e) { e.deserialize(r); })) {
        if (error) *error = in.error();
        return ScheduleLoadResult::Corrupt;
    }
    return ScheduleLoadResult::Loaded;
}

ScheduleLoadResult loadSchedule(const std::string& path, std::vector<CAT_Data>& entries,
                                std::string* error) {
    entries.clear();
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, error)) return ScheduleLoadResult::NotOpened;
    return decodeSchedule(bytes.data(), bytes.size(), entries, error);
}

bool saveSchedule(const std::string& path, const std::vector<CAT_Data>& entries,
                  std::string* error) {
    return writeFileAtomically(path, encodeSchedule(entries), error);
}

std::string describeScheduleEntry(const CAT_Data& e) {
    if (e.kind == CAT_Data::Week) {
        std::string text = dateTexts(e);
        bool any = false;
        for (int32_t f : e.weekdays) any = any || f != 0;
        if (any) {
            text += "Week: ";
            for (size_t i = 0; i < e.weekdays.size(); ++i)
                if (e.weekdays[i]) text += std::string(kWeekdayNames[i]) + "  ";
            text += "   ";
        }
        return text + timeText(e);
    }
    if (e.kind == CAT_Data::Day) {
        std::string text = dateTexts(e);
        bool any = false;
        for (int32_t f : e.days) any = any || f != 0;
        if (any) {
            text += "Day: ";
            for (size_t i = 0; i < e.days.size(); ++i)
                if (e.days[i]) text += std::to_string(i + 1) + "  ";
            text += "  ";
        }
        return text + timeText(e);
    }
    return "Other ";
}

CAT_Data newScheduleEntry(const std::string& programPath, const CivilTime& now) {
    CAT_Data e;
    e.kind = CAT_Data::Week;
    e.programPath = programPath;
    e.startHour = now.hour;
    e.startMinute = now.minute;
    const CivilTime later = civilFromSeconds(
        secondsFromCivil(now.year, now.month, now.day, now.hour, now.minute, now.second) + 60);
    e.endHour = later.hour;
    e.endMinute = later.minute;
    e.startYear = e.endYear = now.year;
    e.startMonth = e.endMonth = now.month;
    e.startDay = e.endDay = now.day;
    return e;
}

}  // namespace brightline
