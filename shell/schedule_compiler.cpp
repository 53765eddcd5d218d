#include "shell/schedule_compiler.h"

#include <algorithm>
#include <cstdio>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"

namespace brightline {
namespace {

std::string dateText(bool open, int year, int month, int day) {
    if (open) return "--/--/-- ";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%4d/%02d/%02d ", year, month, day);
    return buffer;
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

std::string scheduleLine(const CAT_Data& e) {
    if (e.kind != CAT_Data::Week && e.kind != CAT_Data::Day) return "OTHER\r\n";
    std::string first = dateText(e.openStart != 0, e.startYear, e.startMonth, e.startDay);
    std::string last = dateText(e.openEnd != 0, e.endYear, e.endMonth, e.endDay);
    unsigned long mask = 0;
    if (e.kind == CAT_Data::Week) {
        for (size_t i = 0; i < e.weekdays.size(); ++i)
            if (e.weekdays[i]) mask |= 1ul << (6 - i);
    } else {
        for (size_t i = 0; i < e.days.size(); ++i)
            if (e.days[i]) mask |= 1ul << (30 - i);
    }
    char buffer[160];
    if (e.openStart && e.openEnd && mask == 0) {
        std::snprintf(buffer, sizeof buffer, "AT ");
    } else if (e.kind == CAT_Data::Week) {
        std::snprintf(buffer, sizeof buffer, "WEEK %s %s %02lx ", first.c_str(), last.c_str(),
                      mask);
    } else {
        std::snprintf(buffer, sizeof buffer, "DAY %s %s %08lx ", first.c_str(), last.c_str(), mask);
    }
    char times[64];
    std::snprintf(times, sizeof times, "%02d:%02d %02d:%02d\r\n", e.startHour, e.startMinute,
                  e.endHour, e.endMinute);
    return std::string(buffer) + times;
}

std::vector<CAT_Data> scheduleOrder(const std::vector<CAT_Data>& entries) {
    std::vector<CAT_Data> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CAT_Data& a, const CAT_Data& b) {
        return a.startHour != b.startHour ? a.startHour < b.startHour
                                          : a.startMinute < b.startMinute;
    });
    return sorted;
}

int compileSchedule(const std::vector<CAT_Data>& entries, const ScheduleCompileContext& context,
                    OperatorMessages& messages, std::string* error) {
    std::string why;
    auto failed = [&](const std::string& text) {
        messages.show(text, "Warning!", MessageIcon::Warning);
        if (error) *error = text;
        return 0;
    };
    if (!cleanWorkspace(context.workspace, &why)) return failed(why);
    const std::string runPath = joinPath(context.workspace, "run.at");
    char size[96];
    std::snprintf(size, sizeof size, "LED_W %d \r\nLED_H %d \r\n", context.ledWidth,
                  context.ledHeight);
    if (!writeFileAtomically(runPath, bytesOf(timeZoneHeader(context.zone) + size), &why))
        return failed("Could not write " + runPath + ": " + why);

    int total = 0;
    int k = 0;
    for (const CAT_Data& entry : scheduleOrder(entries)) {
        if (!appendFileAtomically(runPath, bytesOf(scheduleLine(entry)), &why))
            return failed("Could not write " + runPath + ": " + why);
        if (context.makeEntry) {
            int made = context.makeEntry(entry, k);
            if (made > 0) total += made;
        }
        ++k;
    }
    if (!appendFileAtomically(runPath, bytesOf("END"), &why))
        return failed("Could not write " + runPath + ": " + why);
    return total;
}

}  // namespace brightline
