#pragma once
// A resource library file ("RC_IMG.ZRC", "RC_AVI.ZRC", "RC_ZTXT.ZRC", "RC_ZTIME.ZRC" in the
// start folder): the mark "ZRC" 0, then each media path as UTF-16LE units followed by U+000D;
// no count, no line feed, no terminator. An empty library is the mark alone.
#include <string>
#include <vector>

namespace brightline {

inline constexpr const char* kPictureLibrary = "RC_IMG.ZRC";
inline constexpr const char* kVideoLibrary = "RC_AVI.ZRC";
inline constexpr const char* kTextPageLibrary = "RC_ZTXT.ZRC";
inline constexpr const char* kClockPageLibrary = "RC_ZTIME.ZRC";
inline constexpr const char* kLibraryMarkError = "RC file mark error!";

enum class LibraryLoadResult { Loaded, Missing, BadMark };

// The paths of a library file's bytes; empty parts between carriage returns are dropped. A
// trailing path without its U+000D is kept; an odd last byte is ignored.
LibraryLoadResult decodeLibrary(const uint8_t* data, size_t size, std::vector<std::string>& paths);
// Missing when the file cannot be opened or read, BadMark on a wrong mark; `paths` is empty then.
LibraryLoadResult loadLibrary(const std::string& path, std::vector<std::string>& paths);

std::vector<uint8_t> encodeLibrary(const std::vector<std::string>& paths);
// Rewrites the whole file (atomically). False when it could not be written.
bool saveLibrary(const std::string& path, const std::vector<std::string>& paths,
                 std::string* error = nullptr);

}  // namespace brightline
