// send and sign ...: talking to a sign over the network or a serial line.

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "apps/brightline-cli/commands.h"
#include "comm/comm_settings.h"
#include "comm/firmware_update.h"
#include "comm/led_set_data.h"
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
    "[--mtu 1024]] [--workspace DIR] [--upload-pause MS]";
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
    Args rest;                // the arguments that are not link options
    bool profileHost = true;  // the host is the profile's (no --host given)
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
        s.ip = *ip;
        s.subnetMask = *mask;
        s.gateway = *gw;
        s.host = *host;
        s.writeNetwork(appProfile());
        SignList list;
        if (loadSignList(r.link.env.signListPath, list)) {
            if (CLED_Set_Data* sign = list.find(s.ledName)) {
                sign->ip = *ip;
                sign->host = *host;
                saveSignList(r.link.env.signListPath, list);
            }
        }
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

}  // namespace

int runSend(const Args& args) {
    LinkOptions o = parseLink(args);
    if (!o.error.empty() || !o.rest.empty()) {
        if (!o.error.empty()) std::fprintf(stderr, "brightline-cli: %s\n", o.error.c_str());
        return usage(std::string("send ") + kLinkUsage);
    }
    ConsoleMessages messages;
    ConsoleObserver observer;
    SignOperations ops(messages, observer);
    ops.setEnvironment(o.env);
    ops.selection() = o.selection;
    const int files = static_cast<int>(uploadNames(o.env.workspace).size());
    if (files == 0) {
        std::fprintf(stderr, "brightline-cli: nothing to send in %s (make a show first)\n",
                     o.env.workspace.c_str());
        return kExitFailed;
    }
    return runOperation(ops, OperationCode::SendShow, files);
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
    ConsoleMessages messages;
    ConsoleObserver observer;
    SignOperations ops(messages, observer);
    ops.setEnvironment(o.env);
    ops.selection() = o.selection;
    SignRun run{ops, o, messages, Args(o.rest.begin() + 1, o.rest.end())};
    const int status = command->run(run);
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
