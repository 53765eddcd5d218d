// The schedule checker on hand-made schedules: one for each warning and one with none.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/testing/scratch_folder.h"
#include "editor/program_data.h"
#include "shell/schedule_checker.h"

namespace brightline {
namespace {

class ScheduleCheckerTest : public ::testing::Test {
  protected:
    ScheduleCheckerTest() {
        ProgramData program;
        program.ledWidth = 64;
        program.ledHeight = 32;
        program.resetToDefaultElements();
        EXPECT_TRUE(saveProgram(scratch.file("ok.ZPF"), program));
        program.ledWidth = 128;
        program.ledHeight = 64;
        EXPECT_TRUE(saveProgram(scratch.file("big.ZPF"), program));
        EXPECT_TRUE(writeFileAtomically(scratch.file("notes.ZPF"), std::vector<uint8_t>{'N', 0}));
        options.scheduleFolder = scratch.path();
        options.ledWidth = 64;
        options.ledHeight = 32;
        // Sunday 1 March 2026, a week.
        options.fromYear = 2026;
        options.fromMonth = 3;
        options.fromDay = 1;
        options.days = 7;
    }
    static CAT_Data entry(int kind, int h0, int m0, int h1, int m1, const char* program) {
        CAT_Data e;
        e.kind = kind;
        e.startHour = h0;
        e.startMinute = m0;
        e.endHour = h1;
        e.endMinute = m1;
        e.openStart = e.openEnd = 1;
        e.programPath = program;
        return e;
    }
    static CAT_Data dated(CAT_Data e, int y0, int mo0, int d0, int y1, int mo1, int d1) {
        e.openStart = e.openEnd = 0;
        e.startYear = y0, e.startMonth = mo0, e.startDay = d0;
        e.endYear = y1, e.endMonth = mo1, e.endDay = d1;
        return e;
    }
    // The kinds found, in order.
    std::vector<FindingKind> kinds(const std::vector<CAT_Data>& entries) {
        last = checkSchedule(entries, options);
        std::vector<FindingKind> out;
        for (const auto& f : last) out.push_back(f.kind);
        return out;
    }
    testkit::ScratchFolder scratch{"bl_check"};
    ScheduleCheckOptions options;
    std::vector<ScheduleFinding> last;
};

TEST_F(ScheduleCheckerTest, AScheduleThatCoversEveryMinuteOnceHasNothingToSay) {
    CAT_Data weekdays = entry(CAT_Data::Week, 0, 0, 23, 59, "ok.ZPF");
    weekdays.weekdays = {0, 1, 1, 1, 1, 1, 0};
    CAT_Data weekend = entry(CAT_Data::Week, 0, 0, 23, 59, scratch.file("ok.ZPF").c_str());
    weekend.weekdays = {1, 0, 0, 0, 0, 0, 1};
    EXPECT_TRUE(kinds({weekdays, weekend}).empty()) << last.front().text;
    // An Other entry fills what the timed ones leave.
    EXPECT_TRUE(kinds({entry(CAT_Data::Week, 8, 0, 17, 0, "ok.ZPF"),
                       entry(CAT_Data::Other, 0, 0, 0, 0, "ok.ZPF")})
                    .empty());
}

TEST_F(ScheduleCheckerTest, EachEntrysOwnProblems) {
    const CAT_Data filler = entry(CAT_Data::Other, 0, 0, 0, 0, "ok.ZPF");
    CAT_Data monday = entry(CAT_Data::Week, 8, 0, 9, 0, "ok.ZPF");
    monday.weekdays[1] = 1;
    struct Case {
        const char* what;
        CAT_Data entry;
        std::vector<FindingKind> found;
        const char* text;
    } cases[] = {
        {"missing",
         entry(CAT_Data::Week, 8, 0, 9, 0, "gone.ZPF"),
         {FindingKind::MissingProgram},
         "does not exist"},
        {"no program",
         entry(CAT_Data::Week, 8, 0, 9, 0, "notes.ZPF"),
         {FindingKind::UnreadableProgram},
         "is no program file"},
        {"other size",
         entry(CAT_Data::Day, 8, 0, 9, 0, "big.ZPF"),
         {FindingKind::OtherSize},
         "made for a 128 x 64 sign; this sign is 64 x 32"},
        {"end time first",
         entry(CAT_Data::Week, 22, 0, 6, 0, "ok.ZPF"),
         {FindingKind::EndBeforeStart},
         "ends at 06:00, before it starts at 22:00"},
        {"end date first",
         dated(entry(CAT_Data::Week, 8, 0, 9, 0, "ok.ZPF"), 2026, 3, 10, 2026, 3, 1),
         {FindingKind::EndBeforeStart},
         "end date 2026/03/01 is before its start date"},
        {"past",
         dated(entry(CAT_Data::Week, 8, 0, 9, 0, "ok.ZPF"), 2025, 1, 1, 2026, 2, 28),
         {FindingKind::Past},
         "last date 2026/02/28 has passed"},
        {"later",
         dated(entry(CAT_Data::Week, 8, 0, 9, 0, "ok.ZPF"), 2026, 3, 8, 2026, 4, 1),
         {FindingKind::NotReached},
         "first date 2026/03/08 lies after the checked days"},
        // Mondays only, from a Tuesday to the Saturday after it.
        {"never",
         dated(monday, 2026, 3, 3, 2026, 3, 7),
         {FindingKind::NeverPlays},
         "no day from 2026/03/03 to 2026/03/07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(kinds({c.entry, filler}), c.found);
        ASSERT_FALSE(last.empty());
        EXPECT_NE(last[0].text.find(c.text), std::string::npos) << last[0].text;
        EXPECT_EQ(last[0].entries, std::vector<int>{0});
        EXPECT_EQ(last[0].text.rfind("Entry 1 (", 0), 0u) << last[0].text;
    }
}

TEST_F(ScheduleCheckerTest, OverlapsNameTheEntryTheSignShows) {
    // The second entry starts earlier, so the compiler writes it first and the sign shows it.
    const std::vector<CAT_Data> entries = {
        entry(CAT_Data::Week, 11, 0, 13, 0, "ok.ZPF"), entry(CAT_Data::Week, 8, 0, 12, 0, "ok.ZPF"),
        entry(CAT_Data::Other, 0, 0, 0, 0, "ok.ZPF"), entry(CAT_Data::Other, 0, 0, 0, 0, "ok.ZPF")};
    ASSERT_EQ(kinds(entries),
              (std::vector<FindingKind>{FindingKind::Overlap, FindingKind::Overlap}));
    // The Other entries overlap from midnight, the timed ones from 11:00: in that order.
    const ScheduleFinding& others = last[0];
    EXPECT_EQ(others.entries, (std::vector<int>{2, 3}));
    EXPECT_EQ(others.winner, 2);
    const ScheduleFinding& timed = last[1];
    EXPECT_EQ(timed.entries, (std::vector<int>{0, 1}));
    EXPECT_EQ(timed.winner, 1);
    ASSERT_TRUE(timed.from && timed.to);
    EXPECT_EQ(timed.from->day, 1);
    EXPECT_EQ(timed.from->hour, 11);
    EXPECT_EQ(timed.to->hour, 12);
    EXPECT_EQ(timed.minutes, 7 * 60);
    EXPECT_EQ(timed.text,
              "Entry 1 (ok.ZPF) overlaps Entry 2 (ok.ZPF), first from Sun 2026-03-01 11:00 to Sun "
              "2026-03-01 12:00, 7 hours in the checked days; the sign shows entry 2.");
}

TEST_F(ScheduleCheckerTest, DarkSpansOfTheCheckedDays) {
    options.days = 2;
    ASSERT_EQ(kinds({entry(CAT_Data::Day, 8, 0, 17, 0, "ok.ZPF")}),
              std::vector<FindingKind>(3, FindingKind::NothingPlays));
    struct Span {
        int fromDay, fromHour, toDay, toHour;
        long minutes;
    } spans[] = {{1, 0, 1, 8, 8 * 60}, {1, 17, 2, 8, 15 * 60}, {2, 17, 3, 0, 7 * 60}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(last[i].from->day, spans[i].fromDay);
        EXPECT_EQ(last[i].from->hour, spans[i].fromHour);
        EXPECT_EQ(last[i].to->day, spans[i].toDay);
        EXPECT_EQ(last[i].to->hour, spans[i].toHour);
        EXPECT_EQ(last[i].minutes, spans[i].minutes);
    }
    EXPECT_EQ(last[2].text,
              "Nothing plays from Mon 2026-03-02 17:00 to Tue 2026-03-03 00:00 (the end of the "
              "checked days), 7 hours; the sign is dark.");
    // An empty schedule is dark throughout.
    ASSERT_EQ(kinds({}), std::vector<FindingKind>{FindingKind::NothingPlays});
    EXPECT_EQ(last[0].minutes, 2 * 24 * 60);
}

}  // namespace
}  // namespace brightline
