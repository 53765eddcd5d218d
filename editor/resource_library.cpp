#include "editor/resource_library.h"

#include <cstring>

#include "common/byte_writer.h"
#include "common/file_io.h"
#include "common/utf.h"

namespace brightline {
namespace {
constexpr char kMark[4] = {'Z', 'R', 'C', 0};
}  // namespace

LibraryLoadResult decodeLibrary(const uint8_t* data, size_t size, std::vector<std::string>& paths) {
    paths.clear();
    if (size < 4 || std::memcmp(data, kMark, 4) != 0) return LibraryLoadResult::BadMark;
    std::u16string current;
    for (size_t at = 4; at + 1 < size; at += 2) {
        char16_t unit = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
        if (unit == u'\r') {
            if (!current.empty()) paths.push_back(utf16ToUtf8(current));
            current.clear();
        } else {
            current += unit;
        }
    }
    if (!current.empty()) paths.push_back(utf16ToUtf8(current));
    return LibraryLoadResult::Loaded;
}

LibraryLoadResult loadLibrary(const std::string& path, std::vector<std::string>& paths) {
    paths.clear();
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return LibraryLoadResult::Missing;
    return decodeLibrary(bytes.data(), bytes.size(), paths);
}

std::vector<uint8_t> encodeLibrary(const std::vector<std::string>& paths) {
    ByteWriter out;
    out.bytes(kMark, 4);
    for (const std::string& p : paths) {
        for (char16_t unit : utf8ToUtf16(p)) out.u16(static_cast<uint16_t>(unit));
        out.u16(u'\r');
    }
    return out.take();
}

bool saveLibrary(const std::string& path, const std::vector<std::string>& paths,
                 std::string* error) {
    return writeFileAtomically(path, encodeLibrary(paths), error);
}

}  // namespace brightline
