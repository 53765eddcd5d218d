#pragma once
// The folders the programs work in.
//
// start folder     the current directory when the program started (or as set); holds
//                  "LED_SET.ZRC", the resource libraries and "fonts"
// program folder   the folder of the running executable; holds "UserInfo.dat" and "jpg.ini"
// workspace folder where Make writes the show: $BRIGHTLINE_WORKSPACE, else
//                  $XDG_CACHE_HOME/brightline/BRIGHTLINE_TMP (~/.cache when XDG_CACHE_HOME is
//                  unset)
// scratch folder   "tmp" under the start folder, used by media conversions
//
// Every folder is returned without a trailing separator. Thread-safe.
#include <string>

namespace brightline {

std::string startFolder();
// Fixes the start folder (the main window does this when it is created; tests use it too).
void setStartFolder(const std::string& folder);
std::string programFolder();
std::string workspaceFolder();
std::string scratchFolder();

// Creates the folder and its missing parents; true when it exists afterwards.
bool ensureFolder(const std::string& folder);

// The mark Brightline leaves in a workspace folder it made or took over: a file inside its "data"
// subfolder, which no upload sends (uploads send only the files directly in the workspace).
inline constexpr const char* kWorkspaceMarkFolder = "data";
inline constexpr const char* kWorkspaceMarkFile = ".brightline-workspace";

// True when `folder` carries Brightline's workspace mark.
bool isMarkedWorkspace(const std::string& folder);

// Empties the workspace folder for a new show: creates (and marks) it, or deletes every file in
// it; then its subfolders "data" and "script" are removed when empty, else emptied of files (the
// folder stays; "data" keeps the mark). Single files that cannot be deleted are passed over.
//
// Only a workspace is emptied: a folder that carries the mark, an empty folder (marked now), or
// the default workspace folder (workspaceFolder(), Brightline's own, marked now also when an
// earlier version left it unmarked). Any other folder, such as a user's folder of pictures, is
// refused: false with `why` saying so and what to do, and nothing is deleted. Symbolic links in
// the folder are removed as links; nothing outside the folder is touched.
bool cleanWorkspace(const std::string& folder, std::string* why = nullptr);

}  // namespace brightline
