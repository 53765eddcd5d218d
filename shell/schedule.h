#pragma once
// Schedule entries (which program plays on which days and at which times) and the schedule file
// (".AT"): "SCH" 0, then one archive stream holding the entries as an object list of CAT_Data.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/archive_reader.h"
#include "common/archive_writer.h"
#include "engine/clock/local_time.h"

namespace brightline {

inline constexpr const char* kScheduleFileFilter = "Schedule Files(*.AT)|*.AT||";
inline constexpr const char* kScheduleTypeError = "%s file type error!";

struct CAT_Data {
    static constexpr const char* kClassName = "CAT_Data";
    enum Kind : int32_t { Week = 0, Day = 1, Other = 2 };

    int32_t kind = Week;
    std::array<int32_t, 7> weekdays{};  // Sunday first; nonzero = selected
    std::array<int32_t, 12> months{};   // January first; kept as stored, never read
    std::array<int32_t, 31> days{};     // day 1 first
    int32_t startHour = 0, startMinute = 0;
    int32_t endHour = 0, endMinute = 0;
    int32_t openStart = 0;  // 1: no first date
    int32_t openEnd = 0;    // 1: no last date
    int32_t startYear = 0, startMonth = 0, startDay = 0;
    int32_t endYear = 0, endMonth = 0, endDay = 0;
    std::string programPath;

    // 63 int32 values (252 bytes) in field order, then programPath.
    void serialize(ArchiveWriter& ar) const;
    void deserialize(ArchiveReader& ar);

    bool operator==(const CAT_Data& o) const;
};

enum class ScheduleLoadResult {
    Loaded,
    NotOpened,  // cannot be opened or read: a new, empty schedule
    WrongMark,  // "%s file type error!"
    Corrupt,    // the mark is right but the entries are cut short or damaged
};

std::vector<uint8_t> encodeSchedule(const std::vector<CAT_Data>& entries);
// Anything but Loaded leaves `entries` empty; `error` says what was wrong.
ScheduleLoadResult decodeSchedule(const uint8_t* data, size_t size, std::vector<CAT_Data>& entries,
                                  std::string* error = nullptr);
ScheduleLoadResult loadSchedule(const std::string& path, std::vector<CAT_Data>& entries,
                                std::string* error = nullptr);
// Atomic. The schedule window passes over a failure without a message, as it always did.
bool saveSchedule(const std::string& path, const std::vector<CAT_Data>& entries,
                  std::string* error = nullptr);

// The weekday names of the entry dialog's check boxes, Sunday first ("Sun." … "Sat.").
extern const std::array<const char*, 7> kWeekdayNames;

// The text of the "Schedule" column for an entry.
std::string describeScheduleEntry(const CAT_Data& entry);

// A new entry as the entry dialog first shows it: a week entry for `programPath` with no day
// ticked, from `now` (hour and minute) to a minute later, both dates today, neither ignored.
CAT_Data newScheduleEntry(const std::string& programPath, const CivilTime& now);

}  // namespace brightline
