#include <gtest/gtest.h>

#include <random>

#include "shell/schedule.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

CAT_Data weekEntry() {
    CAT_Data e;
    e.kind = CAT_Data::Week;
    e.weekdays = {0, 1, 0, 0, 0, 0, 0};
    e.startHour = 8;
    e.endHour = 17;
    e.endMinute = 30;
    e.openStart = 1;
    e.openEnd = 1;
    e.programPath = "C:\\shows\\a.ZPF";
    return e;
}

TEST(ScheduleDescription, WeekDayAndOtherTexts) {
    CAT_Data e = weekEntry();
    EXPECT_EQ(describeScheduleEntry(e), "Week: Mon.     Start Time:08:00 End Time:17:30 ");

    e.weekdays = {1, 0, 0, 0, 0, 0, 1};
    e.openStart = 0;
    e.openEnd = 0;
    e.startYear = 2012, e.startMonth = 9, e.startDay = 14;
    e.endYear = 2012, e.endMonth = 12, e.endDay = 31;
    e.startHour = 0, e.endHour = 23, e.endMinute = 59;
    EXPECT_EQ(describeScheduleEntry(e),
              "Start Date:2012/09/14  End Date:2012/12/31  Week: Sun.  Sat.     "
              "Start Time:00:00 End Time:23:59 ");

    e.weekdays = {};
    e.openEnd = 1;
    EXPECT_EQ(describeScheduleEntry(e), "Start Date:2012/09/14  Start Time:00:00 End Time:23:59 ");

    CAT_Data d = weekEntry();
    d.kind = CAT_Data::Day;
    d.days[0] = 1;
    d.days[30] = 1;
    EXPECT_EQ(describeScheduleEntry(d), "Day: 1  31    Start Time:08:00 End Time:17:30 ");

    CAT_Data o = weekEntry();
    o.kind = CAT_Data::Other;
    EXPECT_EQ(describeScheduleEntry(o), "Other ");
}

TEST(ScheduleFile, EntryLayoutIs252BytesThenThePath) {
    CAT_Data e = weekEntry();
    e.months[11] = 1;  // kept as stored
    Bytes b = encodeSchedule({e, e});
    Bytes head = {'S', 'C', 'H', 0,   2,   0,   0xFF, 0xFF, 1,   0,
                  8,   0,   'C', 'A', 'T', '_', 'D',  'a',  't', 'a'};
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 20), head);
    // kind 0, then weekdays: Monday (the second int) is 1.
    EXPECT_EQ(b[20], 0);
    EXPECT_EQ(b[24 + 4], 1);
    // months start after kind and 7 weekdays; December is the 12th.
    EXPECT_EQ(b[20 + 4 * (1 + 7 + 11)], 1);
    size_t path = 20 + 252;
    EXPECT_EQ(Bytes(b.begin() + path, b.begin() + path + 4), (Bytes{0xFF, 0xFE, 0xFF, 14}));
    size_t second = path + 4 + 28;
    EXPECT_EQ(b[second], 0x01);
    EXPECT_EQ(b[second + 1], 0x80);

    std::vector<CAT_Data> back;
    ASSERT_EQ(decodeSchedule(b.data(), b.size(), back), ScheduleLoadResult::Loaded);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[1] == e);
    EXPECT_EQ(encodeSchedule(back), b);
}

TEST(ScheduleFile, WrongMarkDamageAndMissingFile) {
    Bytes b = encodeSchedule({weekEntry()});
    std::vector<CAT_Data> entries = {weekEntry()};
    Bytes bad = b;
    bad[2] = 'X';
    EXPECT_EQ(decodeSchedule(bad.data(), bad.size(), entries), ScheduleLoadResult::WrongMark);
    EXPECT_TRUE(entries.empty());
    for (size_t cut = 4; cut < b.size(); ++cut) {
        entries = {weekEntry()};
        EXPECT_EQ(decodeSchedule(b.data(), cut, entries), ScheduleLoadResult::Corrupt) << cut;
        EXPECT_TRUE(entries.empty());
    }
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        Bytes f = b;
        f[rng() % f.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        entries.clear();
        if (decodeSchedule(f.data(), f.size(), entries) != ScheduleLoadResult::Loaded) {
            ASSERT_TRUE(entries.empty());
        }
    }
    EXPECT_EQ(loadSchedule("/nonexistent/x.AT", entries), ScheduleLoadResult::NotOpened);
    Bytes empty = encodeSchedule({});
    EXPECT_EQ(empty, (Bytes{'S', 'C', 'H', 0, 0, 0}));
}

}  // namespace
}  // namespace brightline
