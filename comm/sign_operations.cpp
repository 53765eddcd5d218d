#include "comm/sign_operations.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <regex>
#include <vector>

#include "comm/comm_settings.h"
#include "comm/led_set_data.h"
#include "comm/send_verification.h"
#include "comm/sign_messages.h"
#include "comm/upload_names.h"
#include "common/code_page.h"
#include "common/file_io.h"
#include "common/folders.h"
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

bool holdsSignDate(const std::string& text) {
    static const std::regex kDate(R"((\d{4})[/.-](\d{1,2})[/.-](\d{1,2})\D{1,3}(\d{1,2}):(\d{2}))");
    std::smatch m;
    if (!std::regex_search(text, m, kDate)) return false;
    const int month = std::stoi(m[2]), day = std::stoi(m[3]), hour = std::stoi(m[4]),
              minute = std::stoi(m[5]);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59;
}

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
    std::string why;
    if (link_.open(env_.serialDevice, baudRateForIndex(selection_.baudIndex), &why)) return true;
    // The designed message first, then what really happened (a missing device, a plain file).
    messages_.show("COM" + std::to_string(selection_.comPort) + " " + kMsgIsTaken + "\n" + why,
                   kCaptionInfo, MessageIcon::Error);
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
    // A send reads the workspace folder from start to end: a Make of another process must not
    // empty it meanwhile (sends to several signs share the lock).
    std::unique_ptr<WorkspaceLock> sending;
    if (code == OperationCode::SendShow || code == OperationCode::UpdateFirmware ||
        code == OperationCode::UpdateFont) {
        sending = std::make_unique<WorkspaceLock>(env_.workspace, WorkspaceLock::Mode::Read);
        if (!sending->held()) {
            messages_.show(sending->why(), kCaptionInfo, MessageIcon::Error);
            return false;
        }
    }
    if (serialSelected() && !selection_.held && !openSerial()) return false;
    if (worker_.joinable()) worker_.join();
    stop_.store(false);
    stopEvent_.reset();
    link_.clearCancel();
    code_.store(static_cast<int>(code));
    runState_.store(static_cast<int>(RunState::Running));
    observer_.progressOpened(parameter);
    worker_ = std::thread([this, code, parameter, sending = std::move(sending)]() mutable {
        run(code, parameter);
        sending.reset();
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
    messages_.show(cause_.empty() ? std::string(kMsgCommunicationError)
                                  : std::string(kMsgCommunicationError) + "\n" + cause_,
                   kCaptionInfo, MessageIcon::Error);
}

bool SignOperations::answered(long replyLength) {
    if (replyLength > 0) return true;
    if (replyLength == 0) cause_ = "the sign's answer was empty";
    return false;
}

bool SignOperations::serialRequest(uint16_t type, const std::string& data, std::string* reply) {
    if (runState_.load() != static_cast<int>(RunState::Running)) link_.clearCancel();
    std::vector<uint8_t> bytes;
    const bool ok = link_.requestWithRetries(static_cast<uint8_t>(selection_.address), type, 0,
                                             reinterpret_cast<const uint8_t*>(data.data()),
                                             data.size(), reply ? &bytes : nullptr);
    if (ok && reply) *reply = replyText(std::string(bytes.begin(), bytes.end()));
    if (!ok) cause_ = link_.lastError();
    return ok;
}

long SignOperations::netCommand(const std::string& request, std::string* reply, size_t capacity) {
    NetworkLink net(messages_, selection_.host, env_.commandPort, env_.ftpPort);
    net.setTimings(env_.networkTimings);
    long n = net.command(request, reply, capacity);
    if (reply && n >= 0) *reply = replyText(*reply);
    if (n < 0) cause_ = net.lastError();
    return n;
}

void SignOperations::run(OperationCode code, int parameter) {
    cause_.clear();
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
    if (!answered(netCommand(kWordDel, &reply)) || replyRefuses(reply)) {
        if (replyRefuses(reply)) cause_ = "the sign refused the upload: " + reply;
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
        if (replyRefuses(reply)) cause_ = "the sign refused the upload: " + reply;
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
    // The clock's text is shown as it comes, but a text that holds no date is no answer to the
    // question (random bytes, an error word): it is a failure, not the sign's time.
    auto noDate = [&] {
        cause_ = "the sign's answer is no date: \"" + fromOem(reply) + "\"";
        communicationError();
    };
    if (serialSelected()) {
        if (!serialRequest(kReqGetTime, std::string(), &reply)) return communicationError();
        if (!holdsSignDate(reply)) return noDate();
        position(1);
        confirmed_.store(true);
        messages_.show(fromOem(reply), kCaptionGetTimeOk, MessageIcon::Information);
        return;
    }
    if (!answered(netCommand(kWordGetDate, &reply))) return communicationError();
    if (!holdsSignDate(reply)) return noDate();
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
    if (!answered(netCommand(setClockRequest(fileTime), &reply))) return communicationError();
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
    // An empty list is the answer of a sign that holds no files, not a failure.
    if (netCommand(kWordGetFile, &reply, 1 << 20) < 0) return communicationError();
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
        ok = answered(netCommand(kWordReboot, &reply));
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
    cause_.clear();
    if (!answered(netCommand(setIpRequest(ip, mask, gateway), &reply))) {
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
    cause_.clear();
    if (!answered(netCommand(scanRequest(direction), &reply))) {
        communicationError();
        return false;
    }
    messages_.show(kMsgCommunicationOk, kCaptionInfo, MessageIcon::None);
    return true;
}

std::optional<BootParams> SignOperations::readBootParams() {
    std::optional<BootParams> params;
    cause_.clear();
    std::string reply;
    bool exchanged = false;
    if (serialSelected()) {
        const bool opened = !selection_.held && !link_.isOpen();
        if (opened && !openSerial()) return std::nullopt;
        exchanged = serialRequest(kReqGetBootParam, std::string(), &reply);
        if (exchanged) params = parseBootParams(reply, kSerialBootParamReply);
        if (opened) link_.close();
    } else {
        exchanged = answered(netCommand(kWordGetBootParam, &reply));
        if (exchanged) params = parseBootParams(reply, kWordBootParamReply);
    }
    if (exchanged && !params) cause_ = "the sign's answer holds no settings: \"" + reply + "\"";
    if (!params)
        messages_.show(kMsgBootReadFailed + cause_, kCaptionInfo, MessageIcon::Information);
    return params;
}

bool SignOperations::writeBootParams(const BootParams& params) {
    bool ok = false;
    cause_.clear();
    std::string reply;
    bool exchanged = false;
    if (serialSelected()) {
        const bool opened = !selection_.held && !link_.isOpen();
        if (opened && !openSerial()) return false;
        exchanged = serialRequest(kReqSetBootParam, bootParamBytes(params), &reply);
        ok = exchanged && reply == kSerialBootParamOk;
        if (opened) link_.close();
    } else {
        exchanged = answered(netCommand(setBootParamRequest(params), &reply));
        ok = exchanged && reply == kWordBootParamOk;
    }
    if (exchanged && !ok) cause_ = "the sign answered \"" + reply + "\"";
    messages_.show(ok ? std::string(kMsgBootSetOk) : kMsgBootSetFailed + cause_, kCaptionInfo,
                   MessageIcon::Information);
    return ok;
}

}  // namespace brightline
