#include "signsim/virtual_sign.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include "comm/firmware_update.h"
#include "comm/packet.h"
#include "comm/sign_messages.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"

namespace brightline::signsim {
namespace {

constexpr const char* kNetError = "QVX0001ERROR";

struct FixedWord {
    const char* word;
    size_t length;  // whole request length; 0 = the word alone
};
const FixedWord kWords[] = {
    {kWordDel, 0},
    {kWordReal0, 0},
    {kWordResume, 0},
    {kWordUpOs, 0},
    {kWordUpFont, 0},
    {kWordGetDate, 0},
    {kWordSetDate, kSetClockRequestSize},
    {kWordGetFile, 0},
    {kWordReboot, 0},
    {kWordSetIp, kSetIpRequestSize},
    {kWordScan, kScanRequestSize},
    {kWordGetBootParam, 0},
    {kWordSetBootParam, kSetBootParamRequestSize},
};

bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::vector<uint8_t> text(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}
std::string bytesOf(const std::vector<uint8_t>& data) {
    return std::string(data.begin(), data.end());
}

void emptyFolder(const std::string& folder) {
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string path = folder + "/" + e->d_name;
            struct stat st {};
            if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(path.c_str());
        }
        ::closedir(dir);
    }
}

std::string bootDigits(const BootParams& b) {
    std::string d;
    for (uint8_t v : b.show) d.push_back(static_cast<char>('0' + v));
    return d;
}

}  // namespace

VirtualSign::VirtualSign(std::string storage) : storage_(std::move(storage)) {
    ensureFolder(storage_ + "/DATA1");
    ensureFolder(storage_ + "/DATA2");
}

void VirtualSign::setFaults(const SignFaults& faults) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = faults;
    dropCounter_ = corruptCounter_ = 0;
}

SignFaults VirtualSign::faults() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_;
}

bool VirtualSign::nextAnswerDropped() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++answers_;
    return faults_.dropEveryNth > 0 && ++dropCounter_ % faults_.dropEveryNth == 0;
}

bool VirtualSign::nextAnswerCorrupted() {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_.corruptEveryNth > 0 && ++corruptCounter_ % faults_.corruptEveryNth == 0;
}

int VirtualSign::expectedWordLength(const std::string& prefix) {
    bool couldBe = false;
    for (const FixedWord& w : kWords) {
        const std::string word = w.word;
        const size_t n = std::min(word.size(), prefix.size());
        if (prefix.compare(0, n, word, 0, n) != 0) continue;
        if (prefix.size() >= word.size())
            return static_cast<int>(w.length ? w.length : word.size());
        couldBe = true;
    }
    return couldBe ? 0 : -1;
}

std::string VirtualSign::folderPath(const std::string& name) const {
    return storage_ + "/" + name;
}

std::string VirtualSign::prepareUpload() {
    folder_ = folder_ == "DATA1" ? "DATA2" : "DATA1";
    emptyFolder(folderPath(folder_));
    return folder_;
}

bool VirtualSign::checkFirmware(std::string* error) {
    std::vector<uint8_t> bytes;
    if (folder_.empty() || !readWholeFile(folderPath(folder_) + "/" + kFirmwareFile, bytes)) {
        if (error) *error = "no zos.zos";
        return false;
    }
    if (bytes.size() < 16 || std::memcmp(bytes.data(), "ZOS_ZSY", 8) != 0) return false;
    uint32_t sum = 0;
    for (size_t i = 16; i < bytes.size(); ++i) sum += bytes[i];
    return le32(bytes.data() + 8) == bytes.size() - 16 && le32(bytes.data() + 12) == sum;
}

bool VirtualSign::checkFont() {
    std::vector<uint8_t> bytes;
    return !folder_.empty() && readWholeFile(folderPath(folder_) + "/" + kFontFile, bytes) &&
           !bytes.empty();
}

std::string VirtualSign::clockText() const {
    const std::time_t now = std::time(nullptr) + static_cast<std::time_t>(clockOffset_);
    std::tm t{};
    gmtime_r(&now, &t);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buffer;
}

std::string VirtualSign::fileListText() const {
    std::string out;
    for (const char* folder : {"DATA1", "DATA2"}) {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folderPath(folder).c_str())) {
            while (dirent* e = ::readdir(dir)) {
                if (e->d_name[0] != '.') names.push_back(e->d_name);
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        for (const std::string& n : names) {
            struct stat st {};
            ::stat((folderPath(folder) + "/" + n).c_str(), &st);
            out += std::string(folder) + "\\" + n + " " + std::to_string(st.st_size) + "\n";
        }
    }
    return out;
}

void VirtualSign::onShowResumed(std::function<void(const std::string&)> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    resumedListener_ = std::move(listener);
}

void VirtualSign::notifyResumed() {
    std::function<void(const std::string&)> listener;
    std::string folder;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!resumed_) return;
        resumed_ = false;
        listener = resumedListener_;
        folder = folderPath(showFolder_);
    }
    if (listener) listener(folder);
}

std::string VirtualSign::answerWord(const std::string& request) {
    std::string reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reply = answerWordLocked(request);
        auto it = faults_.answers.find(log_.back());
        if (it != faults_.answers.end()) reply = it->second;
    }
    notifyResumed();
    return reply;
}

SerialAnswer VirtualSign::answerRequest(uint16_t type, uint32_t sequence, int chunkSize,
                                        const std::vector<uint8_t>& data) {
    SerialAnswer answer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        answer = answerRequestLocked(type, sequence, chunkSize, data);
        auto it = faults_.answers.find(log_.back());
        if (it != faults_.answers.end()) answer.data.assign(it->second.begin(), it->second.end());
    }
    notifyResumed();
    return answer;
}

std::string VirtualSign::answerWordLocked(const std::string& request) {
    log_.push_back(startsWith(request, kWordSetBootParam) ? kWordSetBootParam
                   : startsWith(request, kWordSetDate)    ? kWordSetDate
                   : startsWith(request, kWordSetIp)      ? kWordSetIp
                   : startsWith(request, kWordScan)       ? kWordScan
                                                          : request);
    if (faults_.answerError) return kNetError;
    const std::string ack = kWordAck;
    if (request == kWordDel) return ack + prepareUpload();
    if (request == kWordReal0) {
        playing_ = false;
        return ack;
    }
    if (request == kWordResume) {
        playing_ = true;
        showFolder_ = folder_;
        resumed_ = !showFolder_.empty();
        return ack;
    }
    if (request == kWordUpOs) {
        if (!checkFirmware(nullptr)) return ack + "01";
        ++installs_;
        return kWordInstallOk;
    }
    if (request == kWordUpFont) {
        if (!checkFont()) return ack + "01";
        ++installs_;
        return kWordInstallOk;
    }
    if (request == kWordGetDate) return clockText();
    if (request == kWordGetFile) return fileListText();
    if (request == kWordReboot) {
        ++reboots_;
        return ack;
    }
    if (request == kWordGetBootParam) return kWordBootParamReply + bootDigits(boot_);
    if (const auto fileTime = parseSetClockRequest(request)) {
        clockOffset_ = static_cast<long long>(fromFileTime(*fileTime)) - std::time(nullptr);
        return ack;
    }
    if (const auto network = parseSetIpRequest(request)) {
        ip_ = network->ip;
        mask_ = network->mask;
        gateway_ = network->gateway;
        return ack;
    }
    if (const auto direction = parseScanRequest(request)) {
        scan_ = *direction;
        return ack;
    }
    if (const auto params = parseSetBootParamRequest(request)) {
        boot_ = *params;
        return kWordBootParamOk;
    }
    return kNetError;
}

SerialAnswer VirtualSign::answerRequestLocked(uint16_t type, uint32_t sequence, int chunkSize,
                                              const std::vector<uint8_t>& data) {
    log_.push_back("type " + std::to_string(type));
    SerialAnswer a;
    auto nameIn = [&](const std::string& folder) {
        std::string name(data.begin(), data.end());
        name = name.substr(0, name.find('\0'));
        name = fileNameOf(name);
        if (name.empty() || name == "." || name == "..") return std::string();
        return folderPath(folder) + "/" + name;
    };
    switch (type) {
        case kReqOpenWrite: {
            const std::string path = nameIn(folder_.empty() ? "DATA1" : folder_);
            writeFile_ = std::make_unique<AtomicFileWriter>();
            if (path.empty() || !writeFile_->open(path)) {
                writeFile_.reset();
                a.code = kReplyCannotWrite;
            }
            lastWriteSequence_ = 0;
            return a;
        }
        case kReqWriteChunk:
        case kReqWriteLast:
            if (sequence != 0 && sequence == lastWriteSequence_) return a;
            lastWriteSequence_ = sequence;
            if (!writeFile_ || !writeFile_->write(data)) a.code = kReplyNoWriteFile;
            if (type == kReqWriteLast) {
                // A received file takes its name only when it is whole.
                if (writeFile_ && !writeFile_->commit()) a.code = kReplyNoWriteFile;
                writeFile_.reset();
            }
            return a;
        case kReqOpenRead: {
            std::string path = nameIn("");
            if (!path.empty()) path = storage_ + "/" + fileNameOf(path);
            readFile_.reset(path.empty() ? nullptr : openRegularFile(path));
            if (!readFile_) a.code = kReplyCannotRead;
            lastReadSequence_ = 0;
            return a;
        }
        case kReqReadChunk: {
            if (sequence != 0 && sequence == lastReadSequence_) {
                a.data = lastReadChunk_;
                return a;
            }
            if (!readFile_) {
                a.code = kReplyNoReadFile;
                return a;
            }
            a.data.resize(static_cast<size_t>(std::clamp(chunkSize, 1, 1024)));
            a.data.resize(std::fread(a.data.data(), 1, a.data.size(), readFile_.get()));
            if (a.data.size() < static_cast<size_t>(chunkSize)) readFile_.reset();
            lastReadSequence_ = sequence;
            lastReadChunk_ = a.data;
            return a;
        }
        default:
            break;
    }
    if (faults_.answerError) {
        a.data = text("ERROR");
        return a;
    }
    switch (type) {
        case kReqStopShow:
            playing_ = false;
            break;
        case kReqResumeShow:
            playing_ = true;
            showFolder_ = folder_;
            resumed_ = !showFolder_.empty();
            break;
        case kReqReboot:
            ++reboots_;
            break;
        case kReqGetTime:
            a.data = text(clockText());
            break;
        case kReqSetTime:
            if (const auto fileTime = parseFileTimeBytes(bytesOf(data)))
                clockOffset_ = static_cast<long long>(fromFileTime(*fileTime)) - std::time(nullptr);
            a.data = text("GMT:" + clockText());
            break;
        case kReqPrepareUpload:
            a.data = text("ACK" + prepareUpload());
            break;
        case kReqFileList: {
            const std::string list = fileListText();
            writeFileAtomically(storage_ + "/" + kFileListFile, text(list));
            break;
        }
        case kReqInstallFirmware:
        case kReqInstallFont: {
            const bool ok = type == kReqInstallFirmware ? checkFirmware(nullptr) : checkFont();
            if (ok) ++installs_;
            a.data = text(ok ? "ACK01" : "ACK00");
            break;
        }
        case kReqSetAddress:
            if (const auto change = parseSetAddressData(bytesOf(data))) {
                address_ = change->address;
                baud_ = kBaudTable[change->baudIndex];
                ip_ = change->ip;
                mask_ = change->mask;
                gateway_ = change->gateway;
                a.data = text("ACKREBOOT");
            } else {
                a.data = text("ERROR");
            }
            break;
        case kReqSetBootParam:
            if (const auto params = parseBootParamBytes(bytesOf(data))) {
                boot_ = *params;
                a.data = text("ACK01");
            } else {
                a.data = text("ACK00");
            }
            break;
        case kReqGetBootParam:
            a.data = text(std::string(kSerialBootParamReply) + bootDigits(boot_));
            break;
        default:
            break;
    }
    return a;
}

int VirtualSign::serialAddress() const {
    std::lock_guard<std::mutex> l(mutex_);
    return address_;
}
void VirtualSign::setSerialAddress(int address) {
    std::lock_guard<std::mutex> l(mutex_);
    address_ = address;
}
int VirtualSign::baudRate() const {
    std::lock_guard<std::mutex> l(mutex_);
    return baud_;
}
Ipv4 VirtualSign::ip() const {
    std::lock_guard<std::mutex> l(mutex_);
    return ip_;
}
BootParams VirtualSign::bootParams() const {
    std::lock_guard<std::mutex> l(mutex_);
    return boot_;
}
int VirtualSign::scanDirection() const {
    std::lock_guard<std::mutex> l(mutex_);
    return scan_;
}
bool VirtualSign::playing() const {
    std::lock_guard<std::mutex> l(mutex_);
    return playing_;
}
std::string VirtualSign::currentFolder() const {
    std::lock_guard<std::mutex> l(mutex_);
    return folder_;
}
std::string VirtualSign::showFolder() const {
    std::lock_guard<std::mutex> l(mutex_);
    return showFolder_;
}
int VirtualSign::reboots() const {
    std::lock_guard<std::mutex> l(mutex_);
    return reboots_;
}
int VirtualSign::installs() const {
    std::lock_guard<std::mutex> l(mutex_);
    return installs_;
}
long long VirtualSign::clockOffsetSeconds() const {
    std::lock_guard<std::mutex> l(mutex_);
    return clockOffset_;
}
std::vector<std::string> VirtualSign::log() const {
    std::lock_guard<std::mutex> l(mutex_);
    return log_;
}

}  // namespace brightline::signsim
