#pragma once
// The users allowed to operate the program and the file "UserInfo.dat" beside the executable.
//
// File layout: "UPW" 0, then one archive stream holding the user list as an object list of
// CUserInfo (userName, passwordHash; both strings).
#include <string>
#include <vector>

#include "common/archive_reader.h"
#include "common/archive_writer.h"

namespace brightline {

inline constexpr const char* kUserFile = "UserInfo.dat";

struct CUserInfo {
    static constexpr const char* kClassName = "CUserInfo";

    std::string userName;      // compared exactly (case-sensitive)
    std::string passwordHash;  // see hashPassword()

    void serialize(ArchiveWriter& ar) const;
    void deserialize(ArchiveReader& ar);

    bool operator==(const CUserInfo& o) const {
        return userName == o.userName && passwordHash == o.passwordHash;
    }
};

// The stored hash of a password: MD5 of the password in the OEM code page, each digest byte as
// uppercase hexadecimal, with a "0" put in front of every byte of value 16 or less. So 0x0F
// gives "0F", 0x10 gives "010" and 0x11 gives "11": 32 characters plus one per 0x10 byte.
// Stored files depend on this exact text.
std::string hashPassword(const std::string& password);

std::vector<uint8_t> encodeUsers(const std::vector<CUserInfo>& users);
// True when the mark matches and the whole list was read; `users` is replaced then, and left as
// it was otherwise.
bool decodeUsers(const uint8_t* data, size_t size, std::vector<CUserInfo>& users,
                 std::string* error = nullptr);
bool loadUsers(const std::string& path, std::vector<CUserInfo>& users,
               std::string* error = nullptr);
// Atomic; the dialogs ignore a failure, as they always did.
bool saveUsers(const std::string& path, const std::vector<CUserInfo>& users,
               std::string* error = nullptr);

}  // namespace brightline
