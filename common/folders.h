#pragma once
// The folders the programs work in.
//
// start folder     the current directory when the program started (or as set); holds
//                  "LED_SET.ZRC", the resource libraries and "fonts"
// program folder   the folder of the running executable; in a build tree it holds "fonts",
//                  "UserInfo.dat" and "jpg.ini"
// data folder      the read-only data of an installed program, "<prefix>/share/brightline" beside
//                  "<prefix>/bin" (fonts, the initial "UserInfo.dat" and sign list); in a build
//                  tree the program folder
// user data folder $XDG_DATA_HOME/brightline (~/.local/share when XDG_DATA_HOME is unset): the
//                  start folder of an installed desktop program, which writes nothing under /usr
// workspace folder where Make writes the show: $BRIGHTLINE_WORKSPACE, else
//                  $XDG_CACHE_HOME/brightline/BRIGHTLINE_TMP (~/.cache when XDG_CACHE_HOME is
//                  unset)
// scratch folder   "tmp" under the start folder, used by media conversions
//
// Every folder is returned without a trailing separator. Thread-safe.
#include <string>
#include <vector>

namespace brightline {

std::string startFolder();
// Fixes the start folder (the main window does this when it is created; tests use it too).
void setStartFolder(const std::string& folder);
std::string programFolder();
// "<prefix>/share/brightline" when `programFolder` is "<prefix>/bin" and that folder exists;
// empty otherwise (the program runs from a build tree).
std::string installedDataFolder(const std::string& programFolder);
// installedDataFolder(programFolder()), or the program folder when that is empty.
std::string dataFolder();
std::string userDataFolder();
std::string workspaceFolder();
std::string scratchFolder();

// Creates the folder and its missing parents; true when it exists afterwards.
bool ensureFolder(const std::string& folder);

// Copies each of `names` from the folder `from` into the folder `to` (created when missing) when
// `to` lacks it; a file already in `to` is never replaced, and a name missing from `from` is passed
// over. False, with `why` naming the file, when `to` cannot be made or a copy fails.
bool seedFolder(const std::string& from, const std::string& to,
                const std::vector<std::string>& names, std::string* why = nullptr);

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

// Held by whoever writes a show into a workspace folder (Make, a schedule compile, an update's
// preparation: Write) or sends it to a sign (Read, shared by sends to several signs at once).
// Another process doing the same on the same folder at the same time, a second desktop or
// brightline-cli, is refused instead of emptying or sending the folder under the first one. The
// lock is the folder's own (flock), so it ends with the process that holds it, also when that
// one ends abruptly. It is taken at once or not at all, and it is per object: two locks in one
// process exclude each other as two processes do. A folder that does not exist yet has nothing
// to lock and counts as held (cleanWorkspace() makes it or says why not).
class WorkspaceLock {
  public:
    enum class Mode { Write, Read };
    WorkspaceLock(const std::string& folder, Mode mode);
    ~WorkspaceLock();
    WorkspaceLock(const WorkspaceLock&) = delete;
    WorkspaceLock& operator=(const WorkspaceLock&) = delete;

    bool held() const { return why_.empty(); }
    // Why it was not taken, for the operator.
    const std::string& why() const { return why_; }

  private:
    int fd_ = -1;
    std::string why_;
};

}  // namespace brightline
