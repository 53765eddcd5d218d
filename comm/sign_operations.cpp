#include "comm/sign_operations.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "comm/comm_settings.h"
#include "comm/led_set_data.h"
#include "comm/send_verification.h"
#include "comm/sign_messages.h"
#include "comm/upload_names.h"
#include "common/code_page.h"
#include "common/file_io.h"
#include "common/operator_messages.h"
#include "common/profile.h"

namespace brightline {
namespace {

std::string lfToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace

const char* operationName(OperationCode code) {
    switch (code) {
        case OperationCode::SendShow:
            return "SendShow";
        case OperationCode::GetTime:
            return "GetTime";
        case OperationCode::SetTime:
            return "SetTime";
        case OperationCode::GetFileList:
            return "GetFileList";
        case OperationCode::UpdateFirmware:
            return "UpdateFirmware";
        case OperationCode::Reboot:
            return "Reboot";
        case OperationCode::UpdateFont:
            return "UpdateFont";
        case OperationCode::SetAddress:
            return "SetAddress";
        default:
            return "none";
    }
}

SignOperations::SignOperations(OperatorMessages& messages, OperationObserver& observer)
    : messages_(messages), observer_(observer), link_(messages) {}

SignOperations::~SignOperations() {
    requestStop();
    if (worker_.joinable()) worker_.join();
    link_.close();
}

unsigned long long SignOperations::workspaceBytes(const std::string& folder) {
    unsigned long long sum = 0;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            if (::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                sum += static_cast<unsigned long long>(st.st_size);
        }
        ::closedir(dir);
    }
    return sum;
}

bool SignOperations::openSerial() {
    link_.setTimings(env_.serialTimings);
    link_.setChunkSize(env_.chunkSize);
    if (link_.open(env_.serialDevice, baudRateForIndex(selection_.baudIndex))) return true;
    messages_.show("COM" + std::to_string(selection_.comPort) + " " + kMsgIsTaken, kCaptionInfo,
                   MessageIcon::Error);
    link_.close();
    return false;
}

bool SignOperations::start(OperationCode code, int parameter) {
    if (runState_.load() != static_cast<int>(RunState::Idle)) return false;
    confirmed_.store(false);
    const unsigned long long bytes = workspaceBytes(env_.workspace);
    if (bytes > kFlashCapacity) {
        // The sum is printed whole; it does not fit the 32-bit number the sign's tools used.
        messages_.show(std::string(kMsgCapacity) + "\r\nsize=" + std::to_string(bytes),
                       kCaptionInfo, MessageIcon::Error);
        return false;
    }
    if (serialSelected() && !selection_.held && !openSerial()) return false;
    if (worker_.joinable()) worker_.join();
    stop_.store(false);
    stopEvent_.reset();
    link_.clearCancel();
    code_.store(static_cast<int>(code));
    runState_.store(static_cast<int>(RunState::Running));
    observer_.progressOpened(parameter);
    worker_ = std::thread([this, code, parameter] {
        run(code, parameter);
        runState_.store(static_cast<int>(RunState::Finished));
    });
    return true;
}

bool SignOperations::sendingWorkspace() const {
    const auto code = static_cast<OperationCode>(code_.load());
    return runState() != RunState::Idle &&
           (code == OperationCode::SendShow || code == OperationCode::UpdateFirmware ||
            code == OperationCode::UpdateFont);
}

bool SignOperations::finishIfDone() {
    if (runState_.load() != static_cast<int>(RunState::Finished)) return false;
    if (worker_.joinable()) worker_.join();
    runState_.store(static_cast<int>(RunState::Idle));
    observer_.progressClosed();
    if (!selection_.held) link_.close();
    if (code_.load() == static_cast<int>(OperationCode::GetFileList) && serialSelected()) {
        std::vector<uint8_t> bytes;
        if (readWholeFile(env_.startFolder + "/" + kFileListFile, bytes))
            observer_.showFileList(fromOem(lfToCrLf(std::string(bytes.begin(), bytes.end()))));
    }
    code_.store(0);
    return true;
}

bool SignOperations::waitUntilFinished(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (runState_.load() == static_cast<int>(RunState::Running)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    finishIfDone();
    return true;
}

void SignOperations::requestStop() {
    stop_.store(true);
    stopEvent_.set();
    link_.cancel();
}

bool SignOperations::pause(int ms) {
    if (stop_.load()) return false;
    return !stopEvent_.waitFor(std::chrono::milliseconds(ms)) && !stop_.load();
}

void SignOperations::communicationError() {
    if (stop_.load()) return;  // stopped on request: nothing went wrong
    messages_.show(kMsgCommunicationError, kCaptionInfo, MessageIcon::Error);
}

bool SignOperations::serialRequest(uint16_t type, const std::string& data, std::string* reply) {
    if (runState_.load() != static_cast<int>(RunState::Running)) link_.clearCancel();
    std::vector<uint8_t> bytes;
    const bool ok = link_.requestWithRetries(static_cast<uint8_t>(selection_.address), type, 0,
                                             reinterpret_cast<const uint8_t*>(data.data()),
                                             data.size(), reply ? &bytes : nullptr);
    if (ok && reply) *reply = replyText(std::string(bytes.begin(), bytes.end()));
    return ok;
}

long SignOperations::netCommand(const std::string& request, std::string* reply, size_t capacity) {
    NetworkLink net(messages_, selection_.host, env_.commandPort, env_.ftpPort);
    net.setTimings(env_.networkTimings);
    long n = net.command(request, reply, capacity);
    if (reply && n >= 0) *reply = replyText(*reply);
    return n;
}

void SignOperations::run(OperationCode code, int parameter) {
    position(0);
    switch (code) {
        case OperationCode::SendShow:
        case OperationCode::UpdateFirmware:
        case OperationCode::UpdateFont:
            if (serialSelected())
                runUploadSerial(code, parameter);
            else
                runUpload(code, parameter);
            break;
        case OperationCode::GetTime:
            runGetTime();
            break;
        case OperationCode::SetTime:
            runSetTime();
            break;
        case OperationCode::GetFileList:
            runGetFileList();
            break;
        case OperationCode::Reboot:
            runReboot();
            break;
        case OperationCode::SetAddress:
            runSetAddress();
            break;
        default:
            break;  // codes without work finish at once
    }
}

void SignOperations::runUpload(OperationCode code, int parameter) {
    std::string reply;
    if (netCommand(kWordDel, &reply) < 1 || replyRefuses(reply)) {
        communicationError();
        return;
    }
    const std::string remote = remoteFolderFromReply(reply);
    if (code == OperationCode::SendShow) netCommand(kWordReal0, nullptr);
    if (!pause(env_.uploadPauseMs)) return;
    NetworkLink net(messages_, selection_.host, env_.commandPort, env_.ftpPort);
    net.setTimings(env_.networkTimings);
    const UploadResult result = net.uploadFolder(
        env_.workspace, remote,
        [this](const std::string& name, int) { observer_.progressFileName(name); },
        [this](int done) { position(done); }, &stop_);
    if (result != UploadResult::Done) return;  // already told
    position(parameter);
    if (code == OperationCode::SendShow) {
        netCommand(kWordResume, nullptr);
        confirmed_.store(verifyUpload(remote));
        return;
    }
    const bool firmware = code == OperationCode::UpdateFirmware;
    ::unlink((env_.workspace + "/" + (firmware ? kFirmwareFile : kFontFile)).c_str());
    reply.clear();
    if (netCommand(firmware ? kWordUpOs : kWordUpFont, &reply) >= 0 && reply == kWordInstallOk) {
        position(1);
        confirmed_.store(true);
        messages_.show(firmware ? kMsgFirmwareOk : kMsgFontOk, kCaptionInfo,
                       MessageIcon::Information);
    } else {
        messages_.show(firmware ? kMsgFirmwareError : kMsgFontError, kCaptionInfo,
                       MessageIcon::Error);
    }
}

void SignOperations::runUploadSerial(OperationCode code, int parameter) {
    std::string reply;
    if (!serialRequest(kReqPrepareUpload, std::string(), &reply) || replyRefuses(reply)) {
        communicationError();
        return;
    }
    const std::string remote = remoteFolderFromReply(reply);  // only displayed
    if (code == OperationCode::SendShow && !serialRequest(kReqStopShow, std::string(), nullptr)) {
        communicationError();
        return;
    }
    if (!pause(env_.uploadPauseMs)) return;
    position(0);
    int done = 0;
    for (const std::string& name : uploadNames(env_.workspace)) {
        if (stop_.load()) return;
        observer_.progressFileName(remote + "\\" + name);
        const int result = link_.sendFile(env_.workspace + "/" + name, toOem(name),
                                          static_cast<uint8_t>(selection_.address));
        if (result == 0) {
            communicationError();
            return;
        }
        position(++done);
    }
    position(parameter);
    if (code == OperationCode::SendShow) {
        if (!serialRequest(kReqResumeShow, std::string(), nullptr)) {
            communicationError();
            return;
        }
        confirmed_.store(verifyUpload(remote));
        return;
    }
    const bool firmware = code == OperationCode::UpdateFirmware;
    ::unlink((env_.workspace + "/" + (firmware ? kFirmwareFile : kFontFile)).c_str());
    reply.clear();
    if (!serialRequest(firmware ? kReqInstallFirmware : kReqInstallFont, std::string(), &reply)) {
        communicationError();
        return;
    }
    if (reply == kSerialInstallFailed) {
        messages_.show(firmware ? kMsgFirmwareError : kMsgFontError, kCaptionInfo,
                       MessageIcon::Error);
        return;
    }
    position(1);
    confirmed_.store(true);
    messages_.show(firmware ? kMsgFirmwareOk : kMsgFontOk, kCaptionInfo, MessageIcon::Information);
}

bool SignOperations::verifyUpload(const std::string& remoteFolder) {
    if (!env_.verifySend) return true;
    observer_.verificationStarted();
    std::string list;
    if (serialSelected()) {
        if (!serialRequest(kReqFileList, std::string(), nullptr) || !pause(env_.fileListPauseMs) ||
            link_.fetchFile(kFileListFile, env_.startFolder + "/" + kFileListFile,
                            static_cast<uint8_t>(selection_.address)) != 1) {
            communicationError();
            return false;
        }
        std::vector<uint8_t> bytes;
        readWholeFile(env_.startFolder + "/" + kFileListFile, bytes);
        list.assign(bytes.begin(), bytes.end());
    } else if (netCommand(kWordGetFile, &list, 1 << 20) < 1) {
        communicationError();
        return false;
    }
    const std::vector<SentFile> sent = sentFiles(env_.workspace);
    const std::vector<std::string> problems =
        compareWithSignList(sent, parseSignFileList(fromOem(list)), remoteFolder);
    observer_.verificationDone(problems, static_cast<int>(sent.size()));
    if (problems.empty()) return true;
    std::string text = kMsgVerifyMismatch;
    for (const std::string& p : problems) text += "\n" + p;
    messages_.show(text, kCaptionInfo, MessageIcon::Error);
    return false;
}

void SignOperations::runGetTime() {
    std::string reply;
    if (serialSelected()) {
        if (!serialRequest(kReqGetTime, std::string(), &reply)) return communicationError();
        position(1);
        confirmed_.store(true);
        messages_.show(fromOem(reply), kCaptionGetTimeOk, MessageIcon::Information);
        return;
    }
    if (netCommand(kWordGetDate, &reply) < 1) return communicationError();
    position(1);
    confirmed_.store(true);
    messages_.show(fromOem(reply), std::string(), MessageIcon::None);
}

void SignOperations::runSetTime() {
    const auto now = std::chrono::system_clock::now();
    const auto since = now.time_since_epoch();
    const std::time_t seconds = std::chrono::duration_cast<std::chrono::seconds>(since).count();
    const long nanos = static_cast<long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() % 1000000000LL);
    const uint64_t fileTime = toFileTime(seconds, nanos);
    std::string reply;
    if (serialSelected()) {
        if (!serialRequest(kReqSetTime, fileTimeBytes(fileTime), &reply))
            return communicationError();
        position(1);
        confirmed_.store(true);
        messages_.show(fromOem(reply), kCaptionSendTimeOk, MessageIcon::Information);
        return;
    }
    if (netCommand(setClockRequest(fileTime), &reply) < 1) return communicationError();
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "GMT:%04d/%02d/%02d %02d:%02d:%02d\r\n", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    position(1);
    confirmed_.store(true);
    messages_.show(text, kCaptionSendTimeOk, MessageIcon::Information);
}

void SignOperations::runGetFileList() {
    if (serialSelected()) {
        if (!serialRequest(kReqFileList, std::string(), nullptr)) communicationError();
        if (!pause(env_.fileListPauseMs)) {
            code_.store(0);
            return;
        }
        const int fetched = link_.fetchFile(kFileListFile, env_.startFolder + "/" + kFileListFile,
                                            static_cast<uint8_t>(selection_.address));
        if (fetched != 1) {
            // A list that cannot be stored here ("%s open error", told by the link) is a failed
            // operation too.
            communicationError();
            code_.store(0);  // no list to show
            return;
        }
        position(1);
        confirmed_.store(true);
        return;
    }
    std::string reply;
    if (netCommand(kWordGetFile, &reply, 1 << 20) < 1) return communicationError();
    position(1);
    confirmed_.store(true);
    observer_.showFileList(fromOem(reply));
}

void SignOperations::runReboot() {
    bool ok;
    if (serialSelected()) {
        ok = serialRequest(kReqReboot, std::string(), nullptr);
    } else {
        std::string reply;
        ok = netCommand(kWordReboot, &reply) >= 1;
    }
    if (!ok) return communicationError();
    position(1);
    confirmed_.store(true);
    messages_.show(kMsgRebooting, kCaptionInfo, MessageIcon::Information);
}

void SignOperations::runSetAddress() {
    if (!serialSelected()) return;  // the address is changed over the serial link only
    const AddressChange change = pending_;
    std::string reply;
    if (!serialRequest(kReqSetAddress, setAddressData(change), &reply)) return communicationError();
    position(1);
    confirmed_.store(true);
    if (reply == kSerialAddressReboot) {
        messages_.show(kMsgRebooting, kCaptionSetAddrOk, MessageIcon::Information);
        if (env_.profile) {
            CommSettings settings = CommSettings::read(*env_.profile);
            settings.newIp = change.ip;
            settings.subnetMask = change.mask;
            settings.gateway = change.gateway;
            settings.writeNewNetwork(*env_.profile);
        }
    } else {
        messages_.show(kMsgSetAddrOk, kCaptionInfo, MessageIcon::Information);
    }
    selection_.address = change.address;
    selection_.baudIndex = change.baudIndex;
    if (!env_.signListPath.empty()) {
        SignList list;
        if (loadSignList(env_.signListPath, list)) {
            if (CLED_Set_Data* sign = list.find(env_.currentSignName)) {
                sign->baudIndex = change.baudIndex;
                sign->address = change.address;
                sign->ip = change.ip;
                sign->host = formatIp(change.ip);
                saveSignList(env_.signListPath, list);
            }
        }
    }
}

std::optional<std::string> SignOperations::setIp(const Ipv4& ip, const Ipv4& mask,
                                                 const Ipv4& gateway) {
    std::string reply;
    if (netCommand(setIpRequest(ip, mask, gateway), &reply) < 1) {
        communicationError();
        return std::nullopt;
    }
    char text[128];
    std::snprintf(text, sizeof text, "%s\n\nNew IP:%d:%d:%d:%d\r\n", kMsgRebooting, ip[0], ip[1],
                  ip[2], ip[3]);
    messages_.show(text, kCaptionSetIpOk, MessageIcon::Information);
    if (env_.profile) {
        for (int i = 0; i < 4; ++i)
            env_.profile->writeInt(kProfileSectionSet, "NEW_IP" + std::to_string(i), ip[i]);
    }
    return formatIp(ip);
}

bool SignOperations::setScanDirection(int direction) {
    if (serialSelected()) return false;
    std::string reply;
    if (netCommand(scanRequest(direction), &reply) < 1) {
        communicationError();
        return false;
    }
    messages_.show(kMsgCommunicationOk, kCaptionInfo, MessageIcon::None);
    return true;
}

std::optional<BootParams> SignOperations::readBootParams() {
    std::optional<BootParams> params;
    if (serialSelected()) {
        const bool opened = !selection_.held && !link_.isOpen();
        if (opened && !openSerial()) return std::nullopt;
        std::string reply;
        if (serialRequest(kReqGetBootParam, std::string(), &reply))
            params = parseBootParams(reply, kSerialBootParamReply);
        if (opened) link_.close();
    } else {
        std::string reply;
        if (netCommand(kWordGetBootParam, &reply) >= 1)
            params = parseBootParams(reply, kWordBootParamReply);
    }
    if (!params) messages_.show(kMsgBootReadFailed, kCaptionInfo, MessageIcon::Information);
    return params;
}

bool SignOperations::writeBootParams(const BootParams& params) {
    bool ok = false;
    if (serialSelected()) {
        const bool opened = !selection_.held && !link_.isOpen();
        if (opened && !openSerial()) return false;
        std::string reply;
        ok = serialRequest(kReqSetBootParam, bootParamBytes(params), &reply) &&
             reply == kSerialBootParamOk;
        if (opened) link_.close();
    } else {
        std::string reply;
        ok = netCommand(setBootParamRequest(params), &reply) >= 1 && reply == kWordBootParamOk;
    }
    messages_.show(ok ? kMsgBootSetOk : kMsgBootSetFailed, kCaptionInfo, MessageIcon::Information);
    return ok;
}

}  // namespace brightline
