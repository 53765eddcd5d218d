// brightline-cli: everything Brightline does that needs no person.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "apps/brightline-cli/commands.h"

namespace brightline::cli {
namespace {

struct Command {
    const char* name;
    const char* synopsis;     // the command and its arguments
    const char* description;  // what it does
    int (*run)(const Args&);
};

// One row per subcommand; later subsystems add theirs here.
const Command kCommands[] = {
    {"new", "new PROGRAM.ZPF [--size WxH] [--format 0..10]",
     "write an empty program for a sign, with an area format applied", runNew},
    {"inspect", "inspect FILE [--compact]",
     "print a stored file as JSON (a program in the compact form with --compact)", runInspect},
    {"build", "build FILE.json OUT",
     "write the stored file a JSON document (or a compact program) describes", runBuild},
    {"hash-password", "hash-password TEXT", "print the stored hash of a password", runHashPassword},
    {"make", "make PROGRAM.ZPF [--workspace DIR]", "make the program into a show", runMake},
    {"compile", "compile SCHEDULE.AT [--workspace DIR]", "make a schedule into a show", runCompile},
    {"check", "check SCHEDULE.AT [--from YYYY-MM-DD] [--days N] [--json]",
     "what a schedule should be checked for before it is sent: overlaps, impossible or past "
     "dates, missing programs or programs for another sign size, hours when nothing plays (the "
     "next 30 days by default); warnings only",
     runCheck},
    {"convert", "convert SRC DST.zvi [--size WxH] [--mode 0..3]",
     "convert a video, a .ZRT text page or a .SWF Flash movie into a clip", runConvert},
    {"send", "send [--verify] [--sign NAME]... [--all-signs] [LINK]",
     "send the show in the workspace folder to the sign; --verify reads the sign's file list back "
     "and names every file not there as sent; --sign/--all-signs send to signs of the sign list "
     "(network signs in parallel, serial ones in turn) and exit with the number that failed",
     runSend},
    {"sign", "sign COMMAND [ARGS] [LINK]",
     "talk to the sign with one of the commands below; LINK: --host H [--port 7203] [--ftp-port "
     "21] | --serial DEVICE [--address N] [--baud 115200] [--mtu 1024] [--modem NUMBER] (dial "
     "the number first, hang up after)",
     runSign},
    {"font-sheet", "font-sheet FONTFILE OUT.png", "draw every glyph of every font in a font file",
     runFontSheet},
    {"play",
     "play RUN.AT [--workspace DIR] [--ticks N] [--frames DIR] [--gif FILE] [--every N] "
     "[--realtime] [--at \"YYYY-MM-DD HH:MM[:SS]\"]",
     "play a show into frames; --at: as the sign plays it from that local moment (its schedule "
     "lines choose, its clock pages show the moment)",
     runPlay},
    {"effects", "effects [--size WxH] [--speed N] --out DIR",
     "every transition effect as GIFs and half-way stills", runEffects},
};

void printHelp(FILE* to) {
    std::fprintf(to, "usage: brightline-cli COMMAND [ARGS] | --help | --version\ncommands:\n");
    for (const Command& c : kCommands) {
        std::fprintf(to, "  %s\n      %s\n", c.synopsis, c.description);
        if (c.run == runSign) printSignCommands(to);
    }
}

}  // namespace

int usage(const std::string& line) {
    std::fprintf(stderr, "usage: brightline-cli %s\n", line.c_str());
    return kExitUsage;
}

}  // namespace brightline::cli

int main(int argc, char** argv) {
    using namespace brightline::cli;
    // A file size limit (or a full quota) then fails the write with an error the command reports
    // and the old file stays, instead of the signal ending the program half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        printHelp(stderr);
        return kExitUsage;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("brightline-cli %s\n", BRIGHTLINE_VERSION);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (name == c.name) return c.run(Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "brightline-cli: unknown command \"%s\"\n", name.c_str());
    printHelp(stderr);
    return kExitUsage;
}
