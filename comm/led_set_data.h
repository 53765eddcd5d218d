#pragma once
// One configured sign and the sign list file "LED_SET.ZRC" in the start folder.
//
// File layout (little-endian): "LED" 0; a reserved int32 (written back as last read, 0 in a new
// file); then one archive stream holding the list as an object list of CLED_Set_Data.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/archive_reader.h"
#include "common/archive_writer.h"

namespace brightline {

inline constexpr const char* kSignListFile = "LED_SET.ZRC";
inline constexpr const char* kDefaultSignName = "Sample LED";

struct CLED_Set_Data {
    static constexpr const char* kClassName = "CLED_Set_Data";

    int32_t baudIndex = 7;  // 0..7 into the baud table
    int32_t address = 1;    // the sign's COM address, 1..254
    int32_t height = 96;    // pixels
    int32_t port = 0;       // 0 network ("LAN"), 1..8 COM1..COM8
    int32_t width = 128;    // pixels
    std::string name;       // unique key of the list; lookups take the first match
    int32_t mtuIndex = 6;   // 0..5 into the chunk size table (6, the default's, is none of them)
    std::array<uint8_t, 4> ip{{192, 168, 0, 6}};  // first octet first
    std::string host;                             // host address text for the network link

    // port, baudIndex, address, height, width, name, mtuIndex, the 4 ip bytes, host.
    void serialize(ArchiveWriter& ar) const;
    void deserialize(ArchiveReader& ar);

    bool operator==(const CLED_Set_Data& o) const;
    bool operator!=(const CLED_Set_Data& o) const { return !(*this == o); }
};

struct SignList {
    std::vector<CLED_Set_Data> signs;
    int32_t reserved = 0;

    // The first record whose name equals `name`; nullptr when none does.
    CLED_Set_Data* find(const std::string& name);
    const CLED_Set_Data* find(const std::string& name) const;
};

// The record used when "LED_SET.ZRC" cannot be read: "Sample LED", 128 x 96, network, address
// 1, baud index 7, chunk size index 6, with the current IP octets and host text.
CLED_Set_Data defaultSignRecord(const std::array<uint8_t, 4>& ip, const std::string& host);

std::vector<uint8_t> encodeSignList(const SignList& list);
// True when the mark matches and the whole list was read; `list` is replaced then and left as it
// was otherwise.
bool decodeSignList(const uint8_t* data, size_t size, SignList& list, std::string* error = nullptr);
// Load sign list: 1 (true) when the file's mark matches and the list was read.
bool loadSignList(const std::string& path, SignList& list, std::string* error = nullptr);
// Save sign list (atomically). The caller may ignore the result, as the dialogs do.
bool saveSignList(const std::string& path, const SignList& list, std::string* error = nullptr);

}  // namespace brightline

namespace brightline {

// The "LED Set" dialog's limit while a size is typed: at most 65536 / other rounded down to a
// multiple of 8, so width x height never exceeds 65,536 pixels. An other side below 1 counts as
// 1 (the spin control allows 0).
int limitTypedSignSide(int typed, int other);

}  // namespace brightline
