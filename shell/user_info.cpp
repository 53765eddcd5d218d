#include "shell/user_info.h"

#include <nettle/md5.h>

#include <cstdio>
#include <cstring>

#include "common/code_page.h"
#include "common/file_io.h"

namespace brightline {
namespace {
constexpr char kMark[4] = {'U', 'P', 'W', 0};
}  // namespace

void CUserInfo::serialize(ArchiveWriter& ar) const {
    ar.writeString(userName);
    ar.writeString(passwordHash);
}

void CUserInfo::deserialize(ArchiveReader& ar) {
    userName = ar.readString();
    passwordHash = ar.readString();
}

std::string hashPassword(const std::string& password) {
    std::string oem = toOem(password);
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, oem.size(), reinterpret_cast<const uint8_t*>(oem.data()));
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&ctx, sizeof digest, digest);
    std::string text;
    for (uint8_t byte : digest) {
        char hex[8];
        // "%X" gives one digit below 0x10 and two from 0x10 up; the stored rule puts the
        // leading "0" in front of every byte up to 0x10, so 0x10 becomes "010".
        std::snprintf(hex, sizeof hex, byte <= 0x10 ? "0%X" : "%X", byte);
        text += hex;
    }
    return text;
}

std::vector<uint8_t> encodeUsers(const std::vector<CUserInfo>& users) {
    ByteWriter out;
    out.bytes(kMark, 4);
    ArchiveWriter ar(out);
    ar.writeCount(static_cast<uint32_t>(users.size()));
    for (const auto& user : users) {
        ar.beginObject(CUserInfo::kClassName);
        user.serialize(ar);
    }
    return out.take();
}

bool decodeUsers(const uint8_t* data, size_t size, std::vector<CUserInfo>& users,
                 std::string* error) {
    ByteReader in(data, size);
    char mark[4] = {1, 1, 1, 1};
    in.bytes(mark, 4);
    if (!in.ok() || std::memcmp(mark, kMark, 4) != 0) {
        if (error) *error = "not a user file (no \"UPW\" mark)";
        return false;
    }
    ArchiveReader ar(in);
    std::vector<CUserInfo> read;
    if (!readObjectList(ar, CUserInfo::kClassName, read,
                        [](ArchiveReader& r, CUserInfo& u) { u.deserialize(r); })) {
        if (error) *error = in.error();
        return false;
    }
    users = std::move(read);
    return true;
}

bool loadUsers(const std::string& path, std::vector<CUserInfo>& users, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, error)) return false;
    return decodeUsers(bytes.data(), bytes.size(), users, error);
}

bool saveUsers(const std::string& path, const std::vector<CUserInfo>& users, std::string* error) {
    return writeFileAtomically(path, encodeUsers(users), error);
}

}  // namespace brightline
