// send and sign ...: talking to a sign over the network or a serial line.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>

#include "apps/brightline-cli/commands.h"
#include "comm/comm_settings.h"
#include "comm/firmware_update.h"
#include "comm/led_set_data.h"
#include "comm/modem_connection.h"
#include "comm/multi_send.h"
#include "comm/packet.h"
#include "comm/sign_operations.h"
#include "comm/upload_names.h"
#include "common/folders.h"
#include "common/operator_messages.h"
#include "common/profile.h"

namespace brightline::cli {
namespace {

constexpr const char* kLinkUsage =
    "[--host H [--port 7203] [--ftp-port 21] | --serial DEVICE [--address N] [--baud 115200] "
    "[--mtu 1024] [--modem NUMBER]] [--workspace DIR] [--upload-pause MS]";
constexpr const char* kSendUsage =
    "send [--verify] [--sign NAME]... [--all-signs] [--host H [--port 7203] [--ftp-port 21] | "
    "--serial DEVICE [--address N] [--baud 115200] [--mtu 1024] [--modem NUMBER]] "
    "[--workspace DIR] [--upload-pause MS]";
constexpr int kOperationLimitMs = 30 * 60 * 1000;  // a show upload over a slow line

// Prints progress on standard error and the file list on standard output.
class ConsoleObserver : public OperationObserver {
  public:
    void progressOpened(int range) override { range_ = range; }
    void progressFileName(const std::string& name) override {
        std::fprintf(stderr, "sending %s\n", name.c_str());
    }
    void progressPosition(int position) override {
        if (range_ > 1 && position > 0 && position != last_)
            std::fprintf(stderr, "  %d/%d\n", position, range_);
        last_ = position;
    }
    void showFileList(const std::string& text) override {
        if (text.empty()) std::fprintf(stderr, "the sign holds no files\n");
        std::string plain;
        for (char c : text)
            if (c != '\r') plain.push_back(c);
        std::cout << plain;
        if (!plain.empty() && plain.back() != '\n') std::cout << "\n";
        std::cout.flush();
    }

  private:
    int range_ = 1;
    int last_ = 0;
};

struct LinkOptions {
    LinkSelection selection;
    OperationEnvironment env;
    Args rest;                           // the arguments that are not link options
    bool profileHost = true;             // the host is the profile's (no --host given)
    std::string modemNumber;             // dial this number first over the serial device (--modem)
    std::vector<std::string> signNames;  // --sign NAME...
    bool allSigns = false;               // --all-signs
    bool linkGiven = false;              // --host or --serial
    std::string error;
};

bool parseInt(const std::string& text, long& out) {
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0;
}

// Defaults from the profile's link selection, then the options.
LinkOptions parseLink(const Args& args) {
    LinkOptions o;
    const LinkSetup link =
        linkSetup(CommSettings::read(appProfile()), appProfile(), workspaceFolder(), startFolder());
    o.selection = link.selection;
    o.env = link.environment;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        long n = 0;
        auto number = [&](long lo, long hi) {
            if (!hasValue || !parseInt(args[i + 1], n) || n < lo || n > hi) {
                o.error =
                    a + " needs a number from " + std::to_string(lo) + " to " + std::to_string(hi);
                return false;
            }
            ++i;
            return true;
        };
        if (a == "--host" && hasValue) {
            o.profileHost = false;
            o.linkGiven = true;
            o.selection.comPort = 0;
            o.selection.host = args[++i];
        } else if (a == "--port") {
            if (!number(1, 65535)) return o;
            o.env.commandPort = static_cast<int>(n);
        } else if (a == "--ftp-port") {
            if (!number(1, 65535)) return o;
            o.env.ftpPort = static_cast<int>(n);
        } else if (a == "--serial" && hasValue) {
            // The serial device stands for the selected COM port; its number only names it in
            // messages.
            if (o.selection.comPort <= 0) o.selection.comPort = 1;
            o.linkGiven = true;
            o.env.serialDevice = args[++i];
        } else if (a == "--address") {
            if (!number(1, 254)) return o;
            o.selection.address = static_cast<int>(n);
        } else if (a == "--baud") {
            if (!number(1, 1000000)) return o;
            int index = -1;
            for (int b = 0; b < 8; ++b)
                if (kBaudTable[b] == n) index = b;
            if (index < 0) {
                o.error = "--baud takes 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200";
                return o;
            }
            o.selection.baudIndex = index;
        } else if (a == "--mtu") {
            if (!number(32, 1024)) return o;
            bool known = false;
            for (int c : kChunkSizeTable) known = known || c == n;
            if (!known) {
                o.error = "--mtu takes 32, 64, 128, 256, 512 or 1024";
                return o;
            }
            o.env.chunkSize = static_cast<int>(n);
        } else if (a == "--modem" && hasValue) {
            o.modemNumber = args[++i];
        } else if (a == "--verify") {
            o.env.verifySend = true;
        } else if (a == "--sign" && hasValue) {
            o.signNames.push_back(args[++i]);
        } else if (a == "--all-signs") {
            o.allSigns = true;
        } else if (a == "--workspace" && hasValue) {
            o.env.workspace = args[++i];
        } else if (a == "--upload-pause") {
            if (!number(0, 600000)) return o;
            o.env.uploadPauseMs = static_cast<int>(n);
            o.env.fileListPauseMs = std::min(o.env.fileListPauseMs, static_cast<int>(n));
        } else {
            o.rest.push_back(a);
        }
    }
    return o;
}

int runOperation(SignOperations& ops, OperationCode code, int parameter) {
    if (!ops.start(code, parameter)) return kExitFailed;
    if (!ops.waitUntilFinished(kOperationLimitMs)) {
        ops.requestStop();
        ops.waitUntilFinished(kOperationLimitMs);
        std::fprintf(stderr, "brightline-cli: %s did not finish\n", operationName(code));
        return kExitFailed;
    }
    return ops.confirmed() ? kExitOk : kExitFailed;
}

// Runs `body` over a held modem link when --modem was given: opens the serial device, dials,
// runs it, hangs up and releases the link. Without --modem, just runs it.
int overModem(SignOperations& ops, const LinkOptions& o, const std::function<int()>& body) {
    if (o.modemNumber.empty()) return body();
    if (o.selection.comPort == 0) {
        std::fprintf(stderr,
                     "brightline-cli: --modem dials over a serial line (--serial DEVICE)\n");
        return kExitUsage;
    }
    ModemConnection modem(ops, nullptr);
    if (!modem.connect(o.selection.comPort, o.env.serialDevice)) return kExitFailed;
    std::fprintf(stderr, "dialling %s\n", o.modemNumber.c_str());
    const std::string status = modem.dial(o.modemNumber);
    if (status != "CONNECT") {
        std::fprintf(stderr, "brightline-cli: %s\n",
                     modem.failure().empty() ? ("the modem answered " + status).c_str()
                                             : modem.failure().c_str());
        modem.release();
        return kExitFailed;
    }
    std::fprintf(stderr, "connected\n");
    const int status2 = body();
    std::fprintf(stderr, "hanging up: %s\n", modem.hangUp().c_str());
    modem.release();
    return status2;
}

// send --sign NAME... / --all-signs: the signs of the sign list in the start folder, each with
// its own link; a line per event and sign, a summary, and the count of failed signs as status.
int sendToSigns(const LinkOptions& o) {
    SignList list;
    std::string error;
    if (!loadSignList(o.env.signListPath, list, &error)) {
        std::fprintf(stderr, "brightline-cli: cannot read the sign list %s: %s\n",
                     o.env.signListPath.c_str(), error.c_str());
        return kExitFailed;
    }
    std::vector<CLED_Set_Data> chosen;
    if (o.allSigns) chosen = list.signs;
    for (const std::string& name : o.signNames) {
        const CLED_Set_Data* sign = list.find(name);
        if (!sign) {
            std::fprintf(stderr, "brightline-cli: no sign named \"%s\" in %s\n", name.c_str(),
                         o.env.signListPath.c_str());
            return kExitUsage;
        }
        if (!o.allSigns) chosen.push_back(*sign);
    }
    if (chosen.empty()) {
        std::fprintf(stderr, "brightline-cli: the sign list %s is empty\n",
                     o.env.signListPath.c_str());
        return kExitFailed;
    }
    MultiSend send(chosen, o.env, appProfile(),
                   [](const std::string& sign, const std::string& text) {
                       std::fprintf(stderr, "%s: %s\n", sign.c_str(), text.c_str());
                   });
    const std::vector<SignSendResult> results = send.run();
    std::printf("%s\n", multiSendSummary(results).c_str());
    long failed = std::count_if(results.begin(), results.end(),
                                [](const SignSendResult& r) { return !r.ok; });
    return static_cast<int>(std::min(failed, 100L));
}

bool parseBootDigits(const std::string& text, BootParams& p) {
    if (text.size() != 6) return false;
    for (size_t i = 0; i < 6; ++i) {
        if (text[i] != '0' && text[i] != '1') return false;
        p.show[i] = static_cast<uint8_t>(text[i] - '0');
    }
    return true;
}

// What a sign command works with: the operations on the chosen link, the link options, the
// messages and the arguments after the command's word.
struct SignRun {
    SignOperations& ops;
    const LinkOptions& link;
    ConsoleMessages& messages;
    Args args;
    bool serial() const { return link.selection.comPort != 0; }
};

int operationWithoutArguments(SignRun& r, OperationCode code) {
    if (!r.args.empty()) return kExitUsage;
    return runOperation(r.ops, code, 1);
}

// The profile keeps the start-up display settings last read from or sent to the sign.
void rememberBootParams(const BootParams& params) {
    CommSettings s = CommSettings::read(appProfile());
    s.boot = params;
    s.writeBootParams(appProfile());
}

int getStartup(SignRun& r) {
    if (!r.args.empty()) return kExitUsage;
    auto p = r.ops.readBootParams();
    if (!p) return kExitFailed;
    rememberBootParams(*p);
    for (uint8_t v : p->show) std::cout << static_cast<int>(v);
    std::cout << "\n";
    return kExitOk;
}

int setStartup(SignRun& r) {
    BootParams p;
    if (r.args.size() != 1 || !parseBootDigits(r.args[0], p)) return kExitUsage;
    if (!r.ops.writeBootParams(p)) return kExitFailed;
    rememberBootParams(p);
    return kExitOk;
}

int scan(SignRun& r) {
    long n = 0;
    if (r.args.size() != 1 || !parseInt(r.args[0], n) || n < 0 || n > 3) return kExitUsage;
    if (r.serial()) {
        std::fprintf(stderr, "brightline-cli: the scan direction is set over the network only\n");
        return kExitFailed;
    }
    return r.ops.setScanDirection(static_cast<int>(n)) ? kExitOk : kExitFailed;
}

int setIp(SignRun& r) {
    std::optional<Ipv4> ip, mask, gw;
    if (r.args.size() != 3 || !(ip = parseIp(r.args[0])) || !(mask = parseIp(r.args[1])) ||
        !(gw = parseIp(r.args[2])))
        return kExitUsage;
    if (r.serial()) {
        std::fprintf(stderr,
                     "brightline-cli: set-ip works over the network; use set-address on a "
                     "serial line\n");
        return kExitFailed;
    }
    if (auto refusal = refuseNetworkSettings(*ip, *mask, *gw)) {
        r.messages.show(*refusal);
        return kExitFailed;
    }
    const std::optional<std::string> host = r.ops.setIp(*ip, *mask, *gw);
    if (!host) return kExitFailed;
    if (r.link.profileHost) {
        // As when the change-IP dialog closes: the sign is now reached at its new address.
        CommSettings s = CommSettings::read(appProfile());
        adoptChangedIp(s, appProfile(), r.link.env.signListPath, NetworkSettings{*ip, *mask, *gw},
                       *host);
    }
    return kExitOk;
}

int setAddress(SignRun& r) {
    const Args& a = r.args;
    long address = 0, baud = 0;
    std::optional<Ipv4> ip, mask, gw;
    if (a.size() != 5 || !parseInt(a[0], address) || address < 1 || address > 254 ||
        !parseInt(a[1], baud) || !(ip = parseIp(a[2])) || !(mask = parseIp(a[3])) ||
        !(gw = parseIp(a[4])))
        return kExitUsage;
    AddressChange change;
    change.address = static_cast<int>(address);
    change.baudIndex = -1;
    for (int b = 0; b < 8; ++b)
        if (kBaudTable[b] == baud) change.baudIndex = b;
    if (change.baudIndex < 0) return kExitUsage;
    change.ip = *ip;
    change.mask = *mask;
    change.gateway = *gw;
    if (!r.serial()) {
        std::fprintf(stderr,
                     "brightline-cli: set-address works over a serial line (--serial DEVICE)\n");
        return kExitFailed;
    }
    if (auto refusal = refuseNetworkSettings(*ip, *mask, *gw)) {
        r.messages.show(*refusal);
        return kExitFailed;
    }
    r.ops.setPendingAddressChange(change);
    const int rc = runOperation(r.ops, OperationCode::SetAddress, 1);
    if (rc == kExitOk && r.link.selection.comPort == CommSettings::read(appProfile()).port) {
        appProfile().writeInt(kProfileSectionSet, "ADDR", r.ops.selection().address);
        appProfile().writeInt(kProfileSectionSet, "BPS", r.ops.selection().baudIndex);
    }
    return rc;
}

int update(SignRun& r, UpdateKind kind) {
    if (r.args.size() != 1) return kExitUsage;
    if (!prepareUpdate(kind, r.args[0], r.link.env.workspace, r.messages)) return kExitFailed;
    return runOperation(
        r.ops,
        kind == UpdateKind::Firmware ? OperationCode::UpdateFirmware : OperationCode::UpdateFont,
        1);
}

// The sign commands: the word, its arguments, and what runs it. A handler returns an exit status;
// kExitUsage makes runSign print the command's usage.
struct SignCommand {
    const char* word;
    const char* arguments;
    int (*run)(SignRun& r);
};

const SignCommand kSignCommands[] = {
    {"get-time", "",
     [](SignRun& r) { return operationWithoutArguments(r, OperationCode::GetTime); }},
    {"set-time", "",
     [](SignRun& r) { return operationWithoutArguments(r, OperationCode::SetTime); }},
    {"file-list", "",
     [](SignRun& r) { return operationWithoutArguments(r, OperationCode::GetFileList); }},
    {"reboot", "", [](SignRun& r) { return operationWithoutArguments(r, OperationCode::Reboot); }},
    {"get-startup", "", getStartup},
    {"set-startup", "101101", setStartup},
    {"scan", "N", scan},
    {"set-ip", "A.B.C.D MASK GW", setIp},
    {"set-address", "ADDR BAUD IP MASK GW", setAddress},
    {"update-firmware", "FILE.WOS", [](SignRun& r) { return update(r, UpdateKind::Firmware); }},
    {"update-font", "FILE.WFN", [](SignRun& r) { return update(r, UpdateKind::Font); }},
};

// "sign get-time | set-time | ... [LINK]", from the table.
std::string signUsage() {
    std::string line = "sign";
    const char* separator = " ";
    for (const SignCommand& c : kSignCommands) {
        line += separator;
        line += c.word;
        if (*c.arguments) line += std::string(" ") + c.arguments;
        separator = " | ";
    }
    return line + " " + kLinkUsage;
}

// Standard error: the sign a command talks to, and whence its link came.
void sayWhichSign(const LinkOptions& o) {
    std::string link = o.selection.comPort > 0
                           ? "COM" + std::to_string(o.selection.comPort) + " (" +
                                 (o.env.serialDevice.empty() ? "no device" : o.env.serialDevice) +
                                 ") address " + std::to_string(o.selection.address)
                           : o.selection.host + ":" + std::to_string(o.env.commandPort);
    if (o.linkGiven)
        std::fprintf(stderr, "sign at %s\n", link.c_str());
    else
        std::fprintf(stderr, "sign \"%s\" at %s (the current sign of the profile)\n",
                     o.env.currentSignName.c_str(), link.c_str());
}

}  // namespace

int runSend(const Args& args) {
    LinkOptions o = parseLink(args);
    if (!o.error.empty() || !o.rest.empty()) {
        if (!o.error.empty()) std::fprintf(stderr, "brightline-cli: %s\n", o.error.c_str());
        return usage(kSendUsage);
    }
    if (uploadNames(o.env.workspace).empty()) {
        std::fprintf(stderr, "brightline-cli: nothing to send in %s (make a show first)\n",
                     o.env.workspace.c_str());
        return kExitFailed;
    }
    if (o.allSigns || !o.signNames.empty()) {
        if (o.linkGiven || !o.modemNumber.empty()) {
            std::fprintf(stderr,
                         "brightline-cli: --sign and --all-signs take each sign's link "
                         "from the sign list (only --port, --ftp-port and the "
                         "time options go with them)\n");
            return usage(kSendUsage);
        }
        return sendToSigns(o);
    }
    sayWhichSign(o);
    ConsoleMessages messages;
    ConsoleObserver observer;
    SignOperations ops(messages, observer);
    ops.setEnvironment(o.env);
    ops.selection() = o.selection;
    const int files = static_cast<int>(uploadNames(o.env.workspace).size());
    return overModem(ops, o, [&] { return runOperation(ops, OperationCode::SendShow, files); });
}

int runSign(const Args& args) {
    LinkOptions o = parseLink(args);
    if (!o.error.empty()) {
        std::fprintf(stderr, "brightline-cli: %s\n", o.error.c_str());
        return usage(signUsage());
    }
    if (o.rest.empty()) return usage(signUsage());
    const SignCommand* command = nullptr;
    for (const SignCommand& c : kSignCommands)
        if (o.rest[0] == c.word) command = &c;
    if (!command) return usage(signUsage());
    sayWhichSign(o);
    ConsoleMessages messages;
    ConsoleObserver observer;
    SignOperations ops(messages, observer);
    ops.setEnvironment(o.env);
    ops.selection() = o.selection;
    SignRun run{ops, o, messages, Args(o.rest.begin() + 1, o.rest.end())};
    const int status = overModem(ops, o, [&] { return command->run(run); });
    if (status == kExitUsage)
        return usage(std::string("sign ") + command->word + (*command->arguments ? " " : "") +
                     command->arguments + " " + kLinkUsage);
    return status;
}

void printSignCommands(FILE* to) {
    for (const SignCommand& c : kSignCommands)
        std::fprintf(to, "      sign %s%s%s\n", c.word, *c.arguments ? " " : "", c.arguments);
}

}  // namespace brightline::cli
