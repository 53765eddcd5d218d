#include "comm/firmware_update.h"

#include <cstring>

#include "comm/sign_messages.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/operator_messages.h"

namespace brightline {
namespace {

constexpr uint8_t kMark[8] = {'Z', 'O', 'S', '_', 'Z', 'S', 'Y', 0};
constexpr size_t kHeader = 16;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void putLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool prepareUpdateBytes(UpdateKind kind, const std::vector<uint8_t>& file,
                        std::vector<uint8_t>& prepared, std::string* why) {
    auto refused = [why](const char* text) {
        if (why) *why = text;
        return false;
    };
    if (file.size() < kHeader || std::memcmp(file.data(), kMark, sizeof kMark) != 0)
        return refused("it does not start with the \"ZOS_ZSY\" update header");
    const uint32_t length = le32(file.data() + 8);
    const uint32_t sum = le32(file.data() + 12);
    uint32_t count = 0, total = 0;
    for (size_t i = kHeader; i < file.size(); ++i) {
        ++count;
        total += file[i];
    }
    if (kind == UpdateKind::Firmware) {
        if (length != 0 || sum != 0)
            return refused("a firmware file carries no length or sum in its header");
        prepared.assign(file.begin(), file.end());
        putLe32(prepared.data() + 8, count);
        putLe32(prepared.data() + 12, total);
        return true;
    }
    if (length == 0 || sum == 0 || count != length || total != sum)
        return refused("its content does not match the length and sum in its header");
    prepared.assign(file.begin() + kHeader, file.end());
    return true;
}

bool prepareUpdate(UpdateKind kind, const std::string& chosenPath, const std::string& workspace,
                   OperatorMessages& messages) {
    std::string why;
    const WorkspaceLock lock(workspace, WorkspaceLock::Mode::Write);
    if (!lock.held()) {
        messages.show(lock.why(), kCaptionInfo, MessageIcon::Error);
        return false;
    }
    if (!cleanWorkspace(workspace, &why)) {
        messages.show(why, kCaptionInfo, MessageIcon::Error);
        return false;
    }
    std::vector<uint8_t> file, prepared;
    const std::string target =
        workspace + "/" + (kind == UpdateKind::Firmware ? kFirmwareFile : kFontFile);
    if (!readWholeFile(chosenPath, file, &why, size_t(1) << 30) ||
        !prepareUpdateBytes(kind, file, prepared, &why) ||
        !writeFileAtomically(target, prepared, &why)) {
        // The designed message first, then what went wrong.
        messages.show("File " + chosenPath + " format unknown.\n" + why, kCaptionInfo,
                      MessageIcon::Error);
        return false;
    }
    return true;
}

}  // namespace brightline
