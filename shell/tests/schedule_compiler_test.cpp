#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "common/file_io.h"
#include "common/testing/scratch_folder.h"
#include "editor/workspace_media_export.h"
#include "shell/schedule_compiler.h"

namespace brightline {
namespace {

CAT_Data entry(int kind, int startHour, int startMinute, int endHour, int endMinute) {
    CAT_Data e;
    e.kind = kind;
    e.startHour = startHour;
    e.startMinute = startMinute;
    e.endHour = endHour;
    e.endMinute = endMinute;
    e.openStart = 1;
    e.openEnd = 1;
    return e;
}

TEST(ScheduleLine, WeekDayAtAndOther) {
    CAT_Data mondayToFriday = entry(CAT_Data::Week, 8, 0, 17, 30);
    mondayToFriday.weekdays = {0, 1, 1, 1, 1, 1, 0};
    EXPECT_EQ(scheduleLine(mondayToFriday), "WEEK --/--/--  --/--/--  3e 08:00 17:30\r\n");

    CAT_Data weekend = entry(CAT_Data::Week, 0, 0, 23, 59);
    weekend.weekdays = {1, 0, 0, 0, 0, 0, 1};
    weekend.openStart = weekend.openEnd = 0;
    weekend.startYear = 2012, weekend.startMonth = 9, weekend.startDay = 14;
    weekend.endYear = 2012, weekend.endMonth = 12, weekend.endDay = 31;
    EXPECT_EQ(scheduleLine(weekend), "WEEK 2012/09/14  2012/12/31  41 00:00 23:59\r\n");

    CAT_Data firstAndLast = entry(CAT_Data::Day, 6, 5, 7, 0);
    firstAndLast.days[0] = firstAndLast.days[30] = 1;
    EXPECT_EQ(scheduleLine(firstAndLast), "DAY --/--/--  --/--/--  40000001 06:05 07:00\r\n");

    EXPECT_EQ(scheduleLine(entry(CAT_Data::Week, 8, 0, 9, 0)), "AT 08:00 09:00\r\n");
    EXPECT_EQ(scheduleLine(entry(CAT_Data::Day, 8, 0, 9, 0)), "AT 08:00 09:00\r\n");
    CAT_Data dated = entry(CAT_Data::Day, 8, 0, 9, 0);
    dated.openEnd = 0;
    dated.endYear = 2027, dated.endMonth = 1, dated.endDay = 2;
    EXPECT_EQ(scheduleLine(dated), "DAY --/--/--  2027/01/02  00000000 08:00 09:00\r\n");
    EXPECT_EQ(scheduleLine(entry(CAT_Data::Other, 8, 0, 9, 0)), "OTHER\r\n");
}

TEST(ScheduleOrder, StableByWholeStartTime) {
    std::vector<CAT_Data> entries = {entry(0, 9, 0, 10, 0), entry(0, 8, 30, 9, 0),
                                     entry(0, 8, 45, 9, 0), entry(2, 8, 30, 0, 0)};
    entries[1].programPath = "first 8:30";
    entries[3].programPath = "second 8:30";
    auto sorted = scheduleOrder(entries);
    EXPECT_EQ(sorted[0].programPath, "first 8:30");
    EXPECT_EQ(sorted[1].programPath, "second 8:30");
    EXPECT_EQ(sorted[2].startMinute, 45);
    EXPECT_EQ(sorted[3].startHour, 9);
    EXPECT_EQ(entries[0].startHour, 9);  // the shown list keeps its order
}

class CompileTest : public testing::Test {
  protected:
    void SetUp() override {
        context.workspace = scratch.file("ws");
        context.zone = *parsePosixTimeZone("CET-1CEST,M3.5.0,M10.5.0/3");
        context.ledWidth = 192;
        context.ledHeight = 64;
    }
    std::string run() {
        std::vector<uint8_t> bytes;
        readWholeFile(context.workspace + "/run.at", bytes);
        return std::string(bytes.begin(), bytes.end());
    }
    testkit::ScratchFolder scratch{"bl_compile"};
    ScheduleCompileContext context;
    RecordingMessages messages;
};

const char* kHeader =
    "TIME_ZONE -3600 \r\nDAYLIGHT_START 03/05:02 \r\nDAYLIGHT_END  10/05:03 \r\nDAYLIGHT_BIAS "
    "-3600 \r\n"
    "LED_W 192 \r\nLED_H 64 \r\n";

TEST_F(CompileTest, EmptyScheduleIsTheHeaderAndEnd) {
    EXPECT_EQ(compileSchedule({}, context, messages), 0);
    EXPECT_EQ(run(), std::string(kHeader) + "END");
}

TEST_F(CompileTest, EachEntrysLineThenItsProgramWithNumbersFromZero) {
    std::vector<CAT_Data> entries = {entry(2, 12, 0, 0, 0), entry(0, 8, 0, 17, 30),
                                     entry(1, 9, 0, 10, 0)};
    entries[1].weekdays = {0, 1, 1, 1, 1, 1, 0};
    entries[2].days[0] = 1;
    std::vector<int> numbers;
    context.makeEntry = [&](const CAT_Data&, int k) {
        numbers.push_back(k);
        // Make appends the program's RUN line, as it does in append mode.
        std::string line = "RUN wzp 1 7" + std::string(k < 10 ? "0" : "") + std::to_string(k) +
                           "01.shw 0 0 192 64 1 \r\n";
        std::FILE* f = std::fopen((context.workspace + "/run.at").c_str(), "a+b");
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
        return k + 1;
    };
    EXPECT_EQ(compileSchedule(entries, context, messages), 1 + 2 + 3);
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(
        run(),
        std::string(kHeader) +
            "WEEK --/--/--  --/--/--  3e 08:00 17:30\r\nRUN wzp 1 70001.shw 0 0 192 64 1 \r\n"
            "DAY --/--/--  --/--/--  40000000 09:00 10:00\r\nRUN wzp 1 70101.shw 0 0 192 64 1 \r\n"
            "OTHER\r\nRUN wzp 1 70201.shw 0 0 192 64 1 \r\n"
            "END");
}

TEST_F(CompileTest, EveryTimeBlockGetsItsRunLineEvenWhenItsFileIsNoProgram) {
    ASSERT_TRUE(writeFileAtomically(scratch.file("notes.ZPF"), std::vector<uint8_t>{'N', 'O', 0}));
    std::vector<CAT_Data> entries = {entry(0, 8, 0, 9, 0), entry(2, 10, 0, 0, 0)};
    entries[0].programPath = "notes.ZPF";  // beside the schedule
    entries[1].programPath = scratch.file("missing.ZPF");
    WorkspaceMediaExport media(false, 75);
    context.makeEntry = [&](const CAT_Data& e, int k) {
        return makeScheduleEntry(e, k, scratch.path(), context.workspace, media, messages, nullptr);
    };
    EXPECT_EQ(compileSchedule(entries, context, messages), 0);
    // The file that is no program is reported and makes an empty program; the missing one makes
    // what a new program is, four empty backgrounds.
    EXPECT_EQ(run(), std::string(kHeader) +
                         "AT 08:00 09:00\r\nRUN wzp 0 \r\nOTHER\r\nRUN wzp 0 "
                         "\r\nEND");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, scratch.file("notes.ZPF") + " file open error!");
}

TEST_F(CompileTest, ACancelledCompileStopsBeforeTheNextEntry) {
    int made = 0;
    context.makeEntry = [&](const CAT_Data&, int) { return ++made; };
    context.cancelled = [&] { return made == 1; };
    EXPECT_EQ(compileSchedule({entry(0, 8, 0, 9, 0), entry(0, 10, 0, 11, 0)}, context, messages),
              0);
    EXPECT_EQ(made, 1);
}

}  // namespace
}  // namespace brightline
