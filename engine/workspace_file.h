#pragma once
// Finding and reading the files of a show in the workspace folder.
//
// Shows are made for a sign whose file names are case-blind: Make writes "70001001.JPG" while a
// script says "JPG 70001001" and the engine opens "70001001.jpg". On Linux the name is therefore
// looked up first exactly, then case-blind (ASCII) among the entries of its folder. The virtual
// sign uses the same lookup.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brightline::engine {

// The path of the existing file `name` (which may contain '/' or '\' separated folders, taken as
// they are) in `folder`: `folder`/`name` when it exists, else the first entry of that folder
// whose name equals the last part of `name` ignoring ASCII case. nullopt when there is none.
std::optional<std::string> findWorkspaceFile(const std::string& folder, const std::string& name);

// `folder`/`name`, the path the engine reports in its messages.
std::string workspacePath(const std::string& folder, const std::string& name);

// Lower-cases A-Z only, as media names are before they are opened.
std::string lowerMediaName(std::string name);

enum class ReadStatus { Ok, NotFound, ReadFailed };

// Finds `name` as above and reads at most `limit` bytes of it into `out`.
ReadStatus readWorkspaceFile(const std::string& folder, const std::string& name,
                             std::vector<char>& out, size_t limit);

}  // namespace brightline::engine
