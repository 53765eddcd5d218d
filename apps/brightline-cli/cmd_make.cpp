// make and compile: a program or a schedule made into the show in the workspace folder.
#include <cstdio>
#include <cstring>
#include <iostream>

#include "apps/brightline-cli/commands.h"
#include "common/folders.h"
#include "common/operator_messages.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/time_zone.h"
#include "editor/program_open.h"
#include "editor/script_maker.h"
#include "editor/workspace_media_export.h"
#include "shell/schedule_compiler.h"

namespace brightline::cli {
namespace {

// FILE [--workspace DIR]; false on anything else.
bool parseFileAndWorkspace(const Args& args, std::string& file, std::string& workspace) {
    workspace = workspaceFolder();
    file.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--workspace" && i + 1 < args.size()) {
            workspace = args[++i];
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

}  // namespace

int runMake(const Args& args) {
    std::string path, workspace;
    if (!parseFileAndWorkspace(args, path, workspace))
        return usage("make PROGRAM.ZPF [--workspace DIR]");
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
    ConsoleMessages messages;
    WorkspaceMediaExport media = WorkspaceMediaExport::fromSettings();
    ScriptMaker maker(program, workspace, media, messages);
    maker.setTimeZone(currentTimeZone());
    maker.setStatusCallback(printStatus);
    int made = maker.make(-1, false, 7);
    if (maker.failed()) return kExitFailed;  // the message said why
    std::cout << made << "\n";
    return kExitOk;
}

int runCompile(const Args& args) {
    std::string path, workspace;
    if (!parseFileAndWorkspace(args, path, workspace))
        return usage("compile SCHEDULE.AT [--workspace DIR]");
    std::vector<CAT_Data> entries;
    std::string error;
    switch (loadSchedule(path, entries, &error)) {
        case ScheduleLoadResult::Loaded:
            break;
        case ScheduleLoadResult::WrongMark:
            std::fprintf(stderr, "brightline-cli: %s file type error!\n", path.c_str());
            return kExitFailed;
        case ScheduleLoadResult::NotOpened:
        case ScheduleLoadResult::Corrupt:
            std::fprintf(stderr, "brightline-cli: cannot read %s: %s\n", path.c_str(),
                         error.c_str());
            return kExitFailed;
    }
    ConsoleMessages messages;
    WorkspaceMediaExport media = WorkspaceMediaExport::fromSettings();
    ScheduleCompileContext context;
    context.workspace = workspace;
    context.zone = currentTimeZone();
    context.ledWidth = static_cast<int>(appProfile().getInt(kProfileSectionSet, "LED_W", 256));
    context.ledHeight = static_cast<int>(appProfile().getInt(kProfileSectionSet, "LED_H", 128));
    const std::string scheduleFolder = folderOf(path);
    bool makeFailed = false;
    context.makeEntry = [&](const CAT_Data& entry, int k) {
        std::string programPath = entry.programPath;
        // A relative path is taken from the schedule's folder.
        if (!programPath.empty() && programPath[0] != '/' &&
            programPath.find(':') == std::string::npos)
            programPath = joinPath(scheduleFolder, programPath);
        ProgramData program;
        // A missing program makes what the editor makes of a new one: four empty areas.
        if (openProgram(programPath, program, messages) == ProgramLoadResult::NotAProgram)
            return -1;
        ScriptMaker maker(program, workspace, media, messages);
        maker.setTimeZone(context.zone);
        maker.setStatusCallback(printStatus);
        const int made = maker.make(k, true, 7);
        if (maker.failed()) makeFailed = true;
        return made;
    };
    error.clear();
    int total = compileSchedule(entries, context, messages, &error);
    if (!error.empty() || makeFailed) return kExitFailed;  // the message said why
    std::cout << total << "\n";
    return kExitOk;
}

}  // namespace brightline::cli
