#include "shell/schedule_compiler.h"

#include <algorithm>
#include <cstdio>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"
#include "editor/program_open.h"
#include "editor/script_maker.h"

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

std::vector<size_t> scheduleOrderIndexes(const std::vector<CAT_Data>& entries) {
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t ia, size_t ib) {
        const CAT_Data& a = entries[ia];
        const CAT_Data& b = entries[ib];
        return a.startHour != b.startHour ? a.startHour < b.startHour
                                          : a.startMinute < b.startMinute;
    });
    return order;
}

std::vector<CAT_Data> scheduleOrder(const std::vector<CAT_Data>& entries) {
    std::vector<CAT_Data> sorted;
    for (size_t i : scheduleOrderIndexes(entries)) sorted.push_back(entries[i]);
    return sorted;
}

std::string scheduleProgramPath(const std::string& scheduleFolder, const std::string& programPath) {
    const bool absolute =
        !programPath.empty() && (programPath[0] == '/' || programPath[0] == '\\' ||
                                 programPath.find(':') != std::string::npos);
    if (programPath.empty() || absolute || scheduleFolder.empty()) return programPath;
    return joinPath(scheduleFolder, programPath);
}

int makeScheduleEntry(const CAT_Data& entry, int k, const std::string& scheduleFolder,
                      const std::string& workspace, MediaExport& media, OperatorMessages& messages,
                      const std::function<void(ScriptMaker&)>& configure, bool* makeFailed) {
    // A fresh program, as the editor has one after closing the last: a file that is no program
    // leaves it empty and Make still writes the RUN line its time block needs.
    ProgramData program;
    openProgram(scheduleProgramPath(scheduleFolder, entry.programPath), program, messages);
    ScriptMaker maker(program, workspace, media, messages);
    if (configure) configure(maker);
    const int made = maker.make(k, true, 7);
    if (makeFailed && maker.failed()) *makeFailed = true;
    return made;
}

int compileSchedule(const std::vector<CAT_Data>& entries, const ScheduleCompileContext& context,
                    OperatorMessages& messages, std::string* error) {
    std::string why;
    auto failed = [&](const std::string& text) {
        messages.show(text, "Warning!", MessageIcon::Warning);
        if (error) *error = text;
        return 0;
    };
    // Held until the last program is made: another Make on the folder is refused meanwhile.
    const WorkspaceLock lock(context.workspace, WorkspaceLock::Mode::Write);
    if (!lock.held()) return failed(lock.why());
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
        if (context.cancelled && context.cancelled()) return 0;
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
