// make, compile and check: a program or a schedule made into the show in the workspace folder,
// and what the schedule checker has to say about a schedule.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>

#include "apps/brightline-cli/commands.h"
#include "common/folders.h"
#include "common/operator_messages.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/time_zone.h"
#include "editor/program_open.h"
#include "editor/script_maker.h"
#include "editor/workspace_media_export.h"
#include "shell/schedule_checker.h"
#include "shell/schedule_compiler.h"

namespace brightline::cli {

namespace {
const char* const kMakeUsage = "make PROGRAM.ZPF [--workspace DIR] [--keep-going] [--verbose]";
const char* const kCompileUsage =
    "compile SCHEDULE.AT [--workspace DIR] [--keep-going] [--verbose]";

// FILE [--workspace DIR] [--keep-going] [--verbose]; false on anything else.
bool parseFileAndWorkspace(const Args& args, std::string& file, MakeOptions& options) {
    options.workspace = workspaceFolder();
    file.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--workspace" && i + 1 < args.size()) {
            options.workspace = args[++i];
        } else if (args[i] == "--keep-going") {
            options.keepGoing = true;
        } else if (args[i] == "--verbose") {
            options.verbose = true;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return false;
        } else if (file.empty()) {
            file = args[i];
        } else {
            return false;
        }
    }
    return !file.empty();
}

void printStatus(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

// Prints every message as the console does and counts the warnings: during Make each one is a
// medium (or a program) that could not be made. Those that begin "Could not " are media Make
// counted among those it handled.
class CountingMessages : public ConsoleMessages {
  public:
    using OperatorMessages::show;
    MessageAnswer show(const OperatorMessage& message) override {
        if (message.icon == MessageIcon::Warning || message.icon == MessageIcon::Error) {
            ++failures_;
            if (message.text.rfind("Could not ", 0) == 0) ++unmade_;
        }
        return ConsoleMessages::show(message);
    }
    int failures() const { return failures_; }
    int unmade() const { return unmade_; }

  private:
    std::atomic<int> failures_{0};
    std::atomic<int> unmade_{0};
};

// The result line on standard output, and the exit status: failed when anything could not be
// made, unless --keep-going.
int reportMade(int handled, const CountingMessages& messages, const MakeOptions& options) {
    const int failures = messages.failures();
    if (options.report)
        std::cout << std::max(0, handled - messages.unmade()) << " media made into "
                  << options.workspace << "\n";
    if (failures == 0) return kExitOk;
    std::fprintf(stderr, "brightline-cli: %d %s could not be made (named above)%s\n", failures,
                 failures == 1 ? "item" : "items",
                 options.keepGoing ? "; going on (--keep-going)" : "");
    return options.keepGoing ? kExitOk : kExitFailed;
}

// The schedule file into `entries`; an exit status other than kExitOk (said on standard error)
// when it cannot be read.
int readSchedule(const std::string& path, std::vector<CAT_Data>& entries) {
    std::string error;
    switch (loadSchedule(path, entries, &error)) {
        case ScheduleLoadResult::Loaded:
            return kExitOk;
        case ScheduleLoadResult::WrongMark:
            std::fprintf(stderr, "brightline-cli: %s file type error!\n", path.c_str());
            return kExitFailed;
        case ScheduleLoadResult::NotOpened:
        case ScheduleLoadResult::Corrupt:
            break;
    }
    std::fprintf(stderr, "brightline-cli: cannot read %s: %s\n", path.c_str(), error.c_str());
    return kExitFailed;
}

// The current sign's size, as the profile holds it.
int profileSignWidth() {
    return static_cast<int>(appProfile().getInt(kProfileSectionSet, "LED_W", 256));
}
int profileSignHeight() {
    return static_cast<int>(appProfile().getInt(kProfileSectionSet, "LED_H", 128));
}

std::string momentJson(const std::optional<CivilTime>& t) {
    if (!t) return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", t->year, t->month, t->day,
                  t->hour, t->minute);
    return buffer;
}

}  // namespace

int runMake(const Args& args) {
    std::string path;
    MakeOptions options;
    if (!parseFileAndWorkspace(args, path, options)) return usage(kMakeUsage);
    return makeProgramFile(path, options);
}

int makeProgramFile(const std::string& path, const MakeOptions& options) {
    ProgramData program;
    std::string error;
    ProgramLoadResult loaded = loadProgram(path, program, &error);
    if (loaded == ProgramLoadResult::NotAProgram) {
        std::fprintf(stderr, "brightline-cli: %s file open error!\n", path.c_str());
        return kExitFailed;
    }
    if (loaded == ProgramLoadResult::Unreadable) {
        std::fprintf(stderr, "brightline-cli: cannot read %s: %s\n", path.c_str(), error.c_str());
        return kExitFailed;
    }
    CountingMessages messages;
    WorkspaceMediaExport media = WorkspaceMediaExport::fromSettings();
    ScriptMaker maker(program, options.workspace, media, messages);
    maker.setTimeZone(currentTimeZone());
    if (options.verbose) maker.setStatusCallback(printStatus);
    int made = maker.make(-1, false, 7);
    if (maker.failed()) return kExitFailed;  // the message said why
    return reportMade(made, messages, options);
}

int runCompile(const Args& args) {
    std::string path;
    MakeOptions options;
    if (!parseFileAndWorkspace(args, path, options)) return usage(kCompileUsage);
    return compileScheduleFile(path, options);
}

bool isScheduleFile(const std::string& path) {
    std::vector<CAT_Data> entries;
    return loadSchedule(path, entries, nullptr) == ScheduleLoadResult::Loaded;
}

int compileScheduleFile(const std::string& path, const MakeOptions& options) {
    const std::string& workspace = options.workspace;
    std::vector<CAT_Data> entries;
    if (int status = readSchedule(path, entries); status != kExitOk) return status;
    CountingMessages messages;
    WorkspaceMediaExport media = WorkspaceMediaExport::fromSettings();
    ScheduleCompileContext context;
    context.workspace = workspace;
    context.zone = currentTimeZone();
    context.ledWidth = profileSignWidth();
    context.ledHeight = profileSignHeight();
    const std::string scheduleFolder = folderOf(path);
    bool makeFailed = false;
    context.makeEntry = [&](const CAT_Data& entry, int k) {
        return makeScheduleEntry(
            entry, k, scheduleFolder, workspace, media, messages,
            [&](ScriptMaker& maker) {
                maker.setTimeZone(context.zone);
                if (options.verbose) maker.setStatusCallback(printStatus);
            },
            &makeFailed);
    };
    std::string error;
    int total = compileSchedule(entries, context, messages, &error);
    if (!error.empty() || makeFailed) return kExitFailed;  // the message said why
    return reportMade(total, messages, options);
}

int runCheck(const Args& args) {
    const char* kUsage = "check SCHEDULE.AT [--from YYYY-MM-DD] [--days N] [--json]";
    std::string path;
    bool json = false;
    ScheduleCheckOptions options;
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    options.fromYear = today.tm_year + 1900;
    options.fromMonth = today.tm_mon + 1;
    options.fromDay = today.tm_mday;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--from" && hasValue) {
            int y = 0, m = 0, d = 0, used = 0;
            const std::string& text = args[++i];
            if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &m, &d, &used) != 3 ||
                static_cast<size_t>(used) != text.size() || m < 1 || m > 12 || d < 1 ||
                d > daysInMonth(y, m))
                return usage(kUsage);
            options.fromYear = y, options.fromMonth = m, options.fromDay = d;
        } else if (args[i] == "--days" && hasValue) {
            const std::string& text = args[++i];
            if (text.empty() || text.size() > 3 ||
                text.find_first_not_of("0123456789") != std::string::npos)
                return usage(kUsage);
            options.days = std::stoi(text);
            if (options.days < 1 || options.days > 366) return usage(kUsage);
        } else if (!args[i].empty() && args[i][0] != '-' && path.empty()) {
            path = args[i];
        } else {
            return usage(kUsage);
        }
    }
    if (path.empty()) return usage(kUsage);
    std::vector<CAT_Data> entries;
    if (int status = readSchedule(path, entries); status != kExitOk) return status;
    options.scheduleFolder = folderOf(path);
    options.ledWidth = profileSignWidth();
    options.ledHeight = profileSignHeight();
    const std::vector<ScheduleFinding> findings = checkSchedule(entries, options);

    char from[16];
    std::snprintf(from, sizeof from, "%04d-%02d-%02d", options.fromYear, options.fromMonth,
                  options.fromDay);
    if (json) {
        nlohmann::json doc;
        doc["schedule"] = path;
        doc["from"] = from;
        doc["days"] = options.days;
        doc["sign"] = {{"width", options.ledWidth}, {"height", options.ledHeight}};
        doc["findings"] = nlohmann::json::array();
        for (const ScheduleFinding& f : findings) {
            nlohmann::json item;
            item["kind"] = findingKindName(f.kind);
            item["entries"] = nlohmann::json::array();
            for (int e : f.entries) item["entries"].push_back(e + 1);
            if (f.winner >= 0) item["winner"] = f.winner + 1;
            if (f.from) item["from"] = momentJson(f.from);
            if (f.to) item["to"] = momentJson(f.to);
            if (f.kind == FindingKind::Overlap || f.kind == FindingKind::NothingPlays)
                item["minutes"] = f.minutes;
            item["text"] = f.text;
            doc["findings"].push_back(item);
        }
        std::cout << doc.dump(2) << "\n";
        return kExitOk;
    }
    for (const ScheduleFinding& f : findings)
        std::cout << findingKindName(f.kind) << ": " << f.text << "\n";
    std::cout << path << ": " << entries.size() << " entries, " << options.days << " days from "
              << from << ", sign " << options.ledWidth << " x " << options.ledHeight << ": "
              << (findings.empty() ? std::string("no warnings")
                                   : std::to_string(findings.size()) +
                                         (findings.size() == 1 ? " warning" : " warnings"))
              << "\n";
    return kExitOk;
}

}  // namespace brightline::cli
