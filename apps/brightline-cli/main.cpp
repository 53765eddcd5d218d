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
    const char* more = "";     // options it takes that the two texts above do not show
    const char* details = "";  // COMMAND --help only: each option, the output, the exit status
};

// The options of the link to a sign (send and sign take them).
constexpr const char* kLinkOptions =
    "--host --port --ftp-port --serial --address --baud --mtu --modem --workspace --upload-pause";

// One row per subcommand; later subsystems add theirs here.
const Command kCommands[] = {
    {"new", "new PROGRAM.ZPF [--size WxH] [--format 0..10]",
     "write an empty program for a sign, with an area format applied", runNew, "",
     "Writes a new program file of a sign's size, with one of the eleven area formats\n"
     "applied (0: one area; 1: two areas side by side; ... as the Area Format tab shows\n"
     "them). Without --size the size is the current sign's in the sign list LED_SET.ZRC of\n"
     "the current folder, else 256x128. It only writes a new file: an existing one is\n"
     "refused.\n"},
    {"inspect", "inspect FILE [--compact]",
     "print a stored file as JSON (a program in the compact form with --compact)", runInspect, "",
     "Prints a stored file as JSON on standard output: programs .ZPF, schedules .AT,\n"
     "clock pages .TIM, text pages .ZRT, the sign list LED_SET.ZRC, the user file\n"
     "UserInfo.dat, resource libraries RC_*.ZRC, clips .zvi and Flash movies .swf (the\n"
     "tags met and how each is handled). The kind is found from the file's name and\n"
     "content. --compact prints a program in the compact form build takes, or says why the\n"
     "program cannot be said in it (exit 1).\n"},
    {"build", "build FILE.json OUT",
     "write the stored file a JSON document (or a compact program) describes", runBuild, "",
     "Writes the stored file a JSON document describes; the kind comes from OUT's name\n"
     "(.ZPF, .AT, .TIM, .ZRT, LED_SET.ZRC, UserInfo.dat, RC_*.ZRC). A program may be written\n"
     "in the compact form: {\"sign\": \"WxH\", \"areaFormat\": N, \"areas\": [...]}, each\n"
     "area {\"background\": ..., \"items\": [...]}, each item a medium path or {\"path\",\n"
     "\"in\", \"out\", \"speed\", \"hold\"}. A field the kind does not have, a size the\n"
     "desktop would not keep, an area format outside 0..10 or an unknown effect is refused\n"
     "with its JSON path (exit 1).\n"
     "OUT is written beside its place and renamed in when complete; OUT may not be the\n"
     "input.\n"},
    {"hash-password", "hash-password TEXT", "print the stored hash of a password", runHashPassword,
     "",
     "Prints the hash UserInfo.dat keeps for a password (to write a user file with\n"
     "build).\n"},
    {"make", "make PROGRAM.ZPF [--workspace DIR] [--keep-going] [--verbose]",
     "make the program into a show; a medium that cannot be made is named and the exit status is "
     "1 (0 with --keep-going); --verbose: Make's progress lines",
     runMake, "",
     "Makes the program into show scripts and converted media in the workspace folder\n"
     "(--workspace DIR, else $BRIGHTLINE_WORKSPACE, else the default workspace), emptying\n"
     "it first. Only a workspace Brightline made (marked by data/.brightline-workspace), an\n"
     "empty or new folder, or the default workspace is emptied; any other folder is refused\n"
     "and nothing in it is deleted. Prints \"N media made into FOLDER\". A medium that cannot\n"
     "be made is named on standard error and Make goes on with the rest; the command then\n"
     "exits 1 (0 with --keep-going). --verbose prints Make's progress lines (\"Making :\n"
     "...\").\n"},
    {"compile", "compile SCHEDULE.AT [--workspace DIR] [--keep-going] [--verbose]",
     "make a schedule into a show (as make does for each program)", runCompile, "",
     "Makes every program of a schedule and the schedule's show lines into one show in the\n"
     "workspace folder, as make does for one program (the same workspace rules,\n"
     "--keep-going and --verbose).\n"},
    {"check", "check SCHEDULE.AT [--from YYYY-MM-DD] [--days N] [--json]",
     "what a schedule should be checked for before it is sent: overlaps, impossible or past "
     "dates, missing programs or programs for another sign size, hours when nothing plays (the "
     "next 30 days by default); warnings only",
     runCheck, "",
     "Reads a schedule and says, for the days from --from (default today) over --days\n"
     "(default 30), what the sign will do that may not be meant: entries that overlap and\n"
     "which one the sign shows, dates that cannot come or have passed, programs that are\n"
     "missing or made for another sign size, and the hours on which nothing plays. Findings\n"
     "are warnings: the exit status is 0 when the schedule could be read. --json prints them\n"
     "as JSON.\n"},
    {"convert", "convert SRC DST.zvi [--size WxH] [--mode 0..3]",
     "convert a video, a .ZRT text page or a .SWF Flash movie into a clip", runConvert, "",
     "Converts a video (any container FFmpeg reads), a .ZRT text page or a .SWF Flash\n"
     "movie into a .zvi clip. --mode is the clip's size: 0 half the video's, 1 the same\n"
     "(the default for a video), 2 twice, 3 --size WxH (the default with --size, and for a\n"
     "Flash movie, whose own size is taken without --size). A text page keeps its page\n"
     "size. A conversion that yields no frame keeps the old clip and exits 1. A Flash\n"
     "movie's parts that are not drawn (actions, sound, buttons, edit text) are named on\n"
     "standard error.\n"},
    {"send", "send [--verify] [--sign NAME]... [--all-signs] [LINK]",
     "send the show in the workspace folder to the sign; --verify reads the sign's file list back "
     "and names every file not there as sent; --sign/--all-signs send to signs of the sign list "
     "(network signs in parallel, serial ones in turn) and exit with the number that failed; "
     "--workspace DIR: the folder to send (default: the workspace folder); --upload-pause MS: "
     "the wait after the sign has prepared its folder for the files (5000; 0 for the virtual "
     "sign)",
     runSend, kLinkOptions,
     "Sends the show in the workspace folder to a sign: over the network (--host, command\n"
     "port --port, FTP port --ftp-port) or a serial line (--serial DEVICE, --address N,\n"
     "--baud, --mtu; --modem NUMBER dials first and hangs up after). Without --host or\n"
     "--serial it talks to the current sign of the profile, and says which. --upload-pause\n"
     "MS is the wait after the sign has prepared its folder, before the first file (5000 ms;\n"
     "0 for the virtual sign). --verify reads the sign's file list back and names every\n"
     "file not there as sent (exit 1). --sign NAME (repeatable) or --all-signs send to\n"
     "signs of the sign list LED_SET.ZRC of the current folder, network signs in parallel\n"
     "and serial ones in turn, print a summary and exit with the number of signs that\n"
     "failed.\n"},
    {"sign", "sign COMMAND [ARGS] [LINK]",
     "talk to the sign with one of the commands below; LINK: --host H [--port 7203] [--ftp-port "
     "21] | --serial DEVICE [--address N] [--baud 115200] [--mtu 1024] [--modem NUMBER] (dial "
     "the number first, hang up after); the updates take --workspace and --upload-pause as send "
     "does",
     runSign, kLinkOptions,
     "get-time prints the sign's clock; set-time sets it to this computer's; file-list\n"
     "prints the files the sign holds; reboot restarts it; get-startup prints its start-up\n"
     "display settings as six digits 0/1 (show the sign address, baud rate, IP address,\n"
     "subnet mask, default gateway, firmware version) and set-startup writes them; scan N\n"
     "sets the scan direction 0..3 (network only); set-ip changes a network sign's IP\n"
     "address, mask and gateway; set-address changes a serial sign's address (1..254),\n"
     "baud rate (1200..115200) and network settings; update-firmware and update-font send\n"
     "a firmware (.WOS) or font (.WFN) file, prepared in the workspace folder, for the sign\n"
     "to install. Exit 0 when the sign confirmed. A sign that cannot be reached is named\n"
     "with the reason.\n"},
    {"font-sheet", "font-sheet FONTFILE OUT.png [--scale N]",
     "draw every glyph of every font in a font file", runFontSheet, "",
     "Draws every glyph of every font of a bitmap font file into one PNG, each pixel\n"
     "--scale N (1..16) pixels wide.\n"},
    {"play",
     "play RUN.AT|PROGRAM.ZPF|SCHEDULE.AT [--workspace DIR] [--ticks N] [--frames DIR] [--gif "
     "FILE] [--every N] [--realtime] [--window] [--at \"YYYY-MM-DD HH:MM[:SS]\"] [--verbose]",
     "play a show into frames, or on the screen with --window; a program or a schedule is made "
     "into a scratch workspace first; "
     "--at: as the sign plays it from that local moment (its schedule lines choose, its clock "
     "pages show the moment); --verbose: the engine's diagnostic lines on standard error",
     runPlay, "",
     "Plays a show with the sign's own show engine, one tick being 40 ms. RUN.AT is a\n"
     "made show (run.at in the workspace folder); a program or a schedule is first made\n"
     "into a scratch folder, which is removed afterwards, and the workspace is not touched.\n"
     "--ticks N ends after N ticks (any show); --frames DIR writes a PNG per changed frame,\n"
     "--gif FILE an animated GIF; --every N keeps only every N-th tick's screen;\n"
     "--realtime plays at the sign's pace instead of as fast as possible; --at plays as the\n"
     "sign does from that local moment. --window shows the show on the screen at the\n"
     "sign's pace, each sign pixel enlarged to a square, until the window is closed (or\n"
     "--ticks N have played); it needs a display. Ctrl+C ends a play as --ticks does (the\n"
     "frames kept, the GIF finished, a made program's scratch folder removed) with exit\n"
     "status 130, or 0 for --window. Prints \"played N ticks, M frames\".\n"},
    {"effects", "effects [--size WxH] [--speed N] --out DIR | effects --list",
     "every transition effect as GIFs (NAME_in.gif, NAME_out.gif) and half-way stills "
     "(NAME.png); --list: each effect's table position, script name and list name, "
     "tab-separated",
     runEffects, "",
     "Draws each transition effect on a test card, entering and leaving, as the sign's\n"
     "show engine runs it: OUT/NAME_in.gif, OUT/NAME_out.gif and OUT/NAME.png (the entry\n"
     "half-way), at --size (default 96x72) and --speed (default 0, the fastest).\n"},
};

// `text` broken at spaces into lines of at most kHelpWidth columns (a longer word stands alone),
// the first line indented by `first` spaces, the others by `rest`.
constexpr size_t kHelpWidth = 96;
void printWrapped(FILE* to, const std::string& text, size_t first, size_t rest) {
    size_t indent = first;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.size();
        if (indent + (end - at) > kHelpWidth) {
            const size_t limit = at + (kHelpWidth - indent);
            const size_t space = text.rfind(' ', limit);
            end = space != std::string::npos && space > at ? space : text.find(' ', limit);
            if (end == std::string::npos) end = text.size();
        }
        std::fprintf(to, "%*s%s\n", static_cast<int>(indent), "",
                     text.substr(at, end - at).c_str());
        at = end < text.size() ? end + 1 : end;
        indent = rest;
    }
}

void printCommand(FILE* to, const Command& c) {
    printWrapped(to, c.synopsis, 2, 6);
    printWrapped(to, c.description, 6, 6);
    if (c.run == runSign) printSignCommands(to);
}

// COMMAND --help: the command, then what it does in full.
void printCommandHelp(FILE* to, const Command& c) {
    std::fprintf(to, "usage: brightline-cli\n");
    printCommand(to, c);
    if (*c.details) std::fprintf(to, "\n%s", c.details);
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
            printCommandHelp(stdout, c);
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
