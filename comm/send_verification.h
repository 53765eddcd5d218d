#pragma once
// Checking a send against the sign's own file list: every file sent must be listed in the folder
// the upload went to, with the size sent where the list gives one. Pure functions.
//
// A list line is "<folder>\<name> [<size>]" (folder and size optional; '/' also separates);
// names compare without regard to case, as the sign's own names do.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brightline {

struct SentFile {
    std::string name;  // as in the workspace folder
    uint64_t size = 0;
};

struct ListedFile {
    std::string folder;  // empty when the line names none
    std::string name;
    std::optional<uint64_t> size;
};

// The sent files of `folder` (what uploadNames() names, with their sizes).
std::vector<SentFile> sentFiles(const std::string& folder);
std::vector<ListedFile> parseSignFileList(const std::string& text);

// One line per file that is not as sent ("70001001.JPG: not on the sign", "run.at: 12 bytes on
// the sign, 30 sent"), in the order sent; empty when all are there. Listed files in another
// folder than `remoteFolder` (blanks around it ignored; empty: any folder) do not count.
std::vector<std::string> compareWithSignList(const std::vector<SentFile>& sent,
                                             const std::vector<ListedFile>& listed,
                                             const std::string& remoteFolder);

}  // namespace brightline
