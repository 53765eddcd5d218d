// brightline-cli: everything Brightline does that needs no person.
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "apps/brightline-cli/commands.h"

namespace brightline::cli {
namespace {

struct Command {
    const char* name;
    const char* synopsis;     // the command and its arguments
    const char* description;  // what it does
    int (*run)(const Args&);
    const char* more = "";  // options it takes that the two texts above do not show
};

// The options of the link to a sign (send and sign take them).
constexpr const char* kLinkOptions =
    "--host --port --ftp-port --serial --address --baud --mtu --modem --workspace --upload-pause";

// One row per subcommand; later subsystems add theirs here.
const Command kCommands[] = {
    {"new", "new PROGRAM.ZPF [--size WxH] [--format 0..10]",
     "write an empty program for a sign, with an area format applied", runNew},
    {"inspect", "inspect FILE [--compact]",
     "print a stored file as JSON (a program in the compact form with --compact)", runInspect},
    {"build", "build FILE.json OUT",
     "write the stored file a JSON document (or a compact program) describes", runBuild},
    {"hash-password", "hash-password TEXT", "print the stored hash of a password", runHashPassword},
    {"make", "make PROGRAM.ZPF [--workspace DIR] [--keep-going] [--verbose]",
     "make the program into a show; a medium that cannot be made is named and the exit status is "
     "1 (0 with --keep-going); --verbose: Make's progress lines",
     runMake},
    {"compile", "compile SCHEDULE.AT [--workspace DIR] [--keep-going] [--verbose]",
     "make a schedule into a show (as make does for each program)", runCompile},
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
     "(network signs in parallel, serial ones in turn) and exit with the number that failed; "
     "--workspace DIR: the folder to send (default: the workspace folder); --upload-pause MS: "
     "the wait after the sign has prepared its folder for the files (5000; 0 for the virtual "
     "sign)",
     runSend, kLinkOptions},
    {"sign", "sign COMMAND [ARGS] [LINK]",
     "talk to the sign with one of the commands below; LINK: --host H [--port 7203] [--ftp-port "
     "21] | --serial DEVICE [--address N] [--baud 115200] [--mtu 1024] [--modem NUMBER] (dial "
     "the number first, hang up after); the updates take --workspace and --upload-pause as send "
     "does",
     runSign, kLinkOptions},
    {"font-sheet", "font-sheet FONTFILE OUT.png [--scale N]",
     "draw every glyph of every font in a font file", runFontSheet},
    {"play",
     "play RUN.AT|PROGRAM.ZPF|SCHEDULE.AT [--workspace DIR] [--ticks N] [--frames DIR] [--gif "
     "FILE] [--every N] [--realtime] [--at \"YYYY-MM-DD HH:MM[:SS]\"] [--verbose]",
     "play a show into frames; a program or a schedule is made into a scratch workspace first; "
     "--at: as the sign plays it from that local moment (its schedule lines choose, its clock "
     "pages show the moment); --verbose: the engine's diagnostic lines on standard error",
     runPlay},
    {"effects", "effects [--size WxH] [--speed N] --out DIR",
     "every transition effect as GIFs and half-way stills", runEffects},
};

void printCommand(FILE* to, const Command& c) {
    std::fprintf(to, "  %s\n      %s\n", c.synopsis, c.description);
    if (c.run == runSign) printSignCommands(to);
}

void printHelp(FILE* to) {
    std::fprintf(to,
                 "usage: brightline-cli COMMAND [ARGS]   (COMMAND --help: that command only; "
                 "--version)\ncommands:\n");
    for (const Command& c : kCommands) printCommand(to, c);
}

// Every "--name" the command's texts show.
std::set<std::string> optionsOf(const Command& c) {
    std::string text = std::string(c.synopsis) + " " + c.description + " " + c.more;
    if (c.run == runSign) {
        char* buffer = nullptr;
        size_t size = 0;
        if (FILE* f = open_memstream(&buffer, &size)) {
            printSignCommands(f);
            std::fclose(f);
            text.append(buffer, size);
        }
        std::free(buffer);
    }
    std::set<std::string> options;
    auto partOfName = [](char ch) {
        return std::islower(static_cast<unsigned char>(ch)) ||
               std::isdigit(static_cast<unsigned char>(ch)) || ch == '-';
    };
    for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        size_t end = at + 2;
        while (end < text.size() && partOfName(text[end])) ++end;
        if (end > at + 2 && std::islower(static_cast<unsigned char>(text[at + 2])))
            options.insert(text.substr(at, end - at));
        at = end - 2;
    }
    return options;
}

// The command's arguments with "--opt=value" taken as "--opt value" (up to a lone "--", after
// which everything is a name). An option the command does not take is named on standard error
// and `unknown` set.
Args normalisedArgs(const Command& c, char** first, char** last, bool& unknown) {
    const std::set<std::string> known = optionsOf(c);
    Args args;
    bool options = true;
    unknown = false;
    for (char** p = first; p != last; ++p) {
        std::string a = *p;
        if (options && a == "--") options = false;
        if (!options || a.size() < 3 || a.compare(0, 2, "--") != 0 || a == "--") {
            args.push_back(a);
            continue;
        }
        const size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        if (!known.count(name)) {
            std::fprintf(stderr, "brightline-cli %s: unknown option %s\n", c.name, name.c_str());
            unknown = true;
            return args;
        }
        args.push_back(name);
        if (eq != std::string::npos) args.push_back(a.substr(eq + 1));
    }
    return args;
}

bool asksForHelp(char** first, char** last) {
    for (char** p = first; p != last; ++p) {
        if (std::strcmp(*p, "--") == 0) return false;
        if (std::strcmp(*p, "--help") == 0 || std::strcmp(*p, "-h") == 0) return true;
    }
    return false;
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
        if (name != c.name) continue;
        if (asksForHelp(argv + 2, argv + argc)) {
            std::printf("usage: brightline-cli\n");
            printCommand(stdout, c);
            return kExitOk;
        }
        bool unknown = false;
        Args args = normalisedArgs(c, argv + 2, argv + argc, unknown);
        if (unknown) {
            std::fprintf(stderr, "usage: brightline-cli %s\n", c.synopsis);
            return kExitUsage;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "brightline-cli: unknown command \"%s\"\n", name.c_str());
    printHelp(stderr);
    return kExitUsage;
}
