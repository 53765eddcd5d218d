#pragma once
// The subcommands of brightline-cli. Each takes the arguments after its name and returns the
// exit status: 0 done, 1 the input or the sign failed (a message on standard error), 2 bad usage.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace brightline::cli {

using Args = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// Ended by Ctrl+C (SIGINT) or SIGTERM before the work was done: 128 + SIGINT, as a shell reports
// it.
inline constexpr int kExitInterrupted = 130;

// Prints "usage: brightline-cli <line>" on standard error and returns kExitUsage.
int usage(const std::string& line);

int runNew(const Args& args);
int runInspect(const Args& args);
int runBuild(const Args& args);
int runHashPassword(const Args& args);
int runMake(const Args& args);
int runCompile(const Args& args);

// How make and compile (and play, which makes first) run Make.
struct MakeOptions {
    std::string workspace;
    bool keepGoing = false;  // exit 0 although some media could not be made
    bool verbose = false;    // Make's progress lines on standard error
    bool report = true;      // "N media made into WORKSPACE" on standard output
};
// The program (a schedule) made into options.workspace; every medium that could not be made is
// named on standard error, and then the status is kExitFailed unless options.keepGoing.
int makeProgramFile(const std::string& path, const MakeOptions& options);
int compileScheduleFile(const std::string& path, const MakeOptions& options);
// Whether `path` is a schedule file (rather than the show script a workspace plays).
bool isScheduleFile(const std::string& path);
int runCheck(const Args& args);
int runConvert(const Args& args);
// The inspect branch for clips (files that start with "ZAVI"): the header and every frame
// record as JSON; exit 1 when a frame is damaged or missing.
int inspectClip(const std::string& path, const std::vector<uint8_t>& bytes);
// The inspect branch for Flash movies ("FWS", "CWS"): header, frame count, every tag met with
// how it is handled, and any damage, as JSON; exit 1 when the movie is damaged.
int inspectMovie(const std::string& path, const std::vector<uint8_t>& bytes);
int runSend(const Args& args);
int runSign(const Args& args);
// One line a sign command, for --help.
void printSignCommands(FILE* to);
int runFontSheet(const Args& args);
int runPlay(const Args& args);
int runEffects(const Args& args);

}  // namespace brightline::cli
