#include "common/folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "common/file_io.h"
#include "common/paths.h"

namespace brightline {
namespace {

std::mutex gMutex;
std::string gStartFolder;

std::string currentDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

std::string trimSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFolderEntry(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Deletes the files (and links, as links) directly in `folder`, except `keep`.
void deleteFilesIn(const std::string& folder, const char* keep = nullptr) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || (keep && name == keep)) continue;
        std::string path = folder + "/" + name;
        if (!isFolderEntry(path)) ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// The first entry of `folder` other than "." and ".."; empty when there is none.
std::string firstEntry(const std::string& folder) {
    std::string found;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            found = name;
            break;
        }
        ::closedir(dir);
    }
    return found;
}

std::string markPath(const std::string& folder) {
    return folder + "/" + kWorkspaceMarkFolder + "/" + kWorkspaceMarkFile;
}

bool markWorkspace(const std::string& folder) {
    const std::string marks = folder + "/" + kWorkspaceMarkFolder;
    if (!isFolderEntry(marks) && ::mkdir(marks.c_str(), 0755) != 0) return false;
    const std::string text =
        "Brightline workspace: Make empties this folder before it writes a show here.\n";
    return writeFileAtomically(markPath(folder), std::vector<uint8_t>(text.begin(), text.end()));
}

// The same folder, however written (a trailing "/", "..", links).
bool sameFolder(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

}  // namespace

std::string startFolder() {
    std::lock_guard<std::mutex> lock(gMutex);
    if (gStartFolder.empty()) gStartFolder = currentDirectory();
    return gStartFolder;
}

void setStartFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(gMutex);
    gStartFolder = trimSeparator(folder);
}

std::string programFolder() {
    std::vector<char> buffer(4096);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return startFolder();
    std::string exe(buffer.data(), static_cast<size_t>(n));
    return trimSeparator(folderOf(exe));
}

std::string installedDataFolder(const std::string& programFolder) {
    const std::string folder = trimSeparator(programFolder);
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos || folder.compare(slash, std::string::npos, "/bin") != 0)
        return std::string();
    const std::string data = folder.substr(0, slash) + "/share/brightline";
    return isDirectory(data) ? data : std::string();
}

std::string dataFolder() {
    const std::string program = programFolder();
    const std::string data = installedDataFolder(program);
    return data.empty() ? program : data;
}

std::string userDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base = data && *data ? std::string(data) : homeFolder() + "/.local/share";
    return trimSeparator(base) + "/brightline";
}

bool seedFolder(const std::string& from, const std::string& to,
                const std::vector<std::string>& names, std::string* why) {
    if (!ensureFolder(to)) {
        if (why) *why = "cannot create the folder " + to;
        return false;
    }
    for (const std::string& name : names) {
        const std::string source = from + "/" + name;
        const std::string target = to + "/" + name;
        if (fileExists(target) || !fileExists(source)) continue;
        std::vector<uint8_t> bytes;
        std::string error;
        if (!readWholeFile(source, bytes, &error) || !writeFileAtomically(target, bytes, &error)) {
            if (why) *why = "cannot copy " + source + " to " + target + ": " + error;
            return false;
        }
    }
    return true;
}

std::string workspaceFolder() {
    if (const char* env = std::getenv("BRIGHTLINE_WORKSPACE"); env && *env)
        return trimSeparator(env);
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string base = cache && *cache ? std::string(cache) : homeFolder() + "/.cache";
    return trimSeparator(base) + "/brightline/BRIGHTLINE_TMP";
}

std::string scratchFolder() {
    return startFolder() + "/tmp";
}

bool ensureFolder(const std::string& folder) {
    if (folder.empty()) return false;
    if (isDirectory(folder)) return true;
    std::string path;
    size_t from = 0;
    while (from <= folder.size()) {
        size_t slash = folder.find('/', from);
        if (slash == std::string::npos) slash = folder.size();
        path = folder.substr(0, slash);
        if (!path.empty() && !isDirectory(path)) ::mkdir(path.c_str(), 0755);
        from = slash + 1;
    }
    return isDirectory(folder);
}

bool isMarkedWorkspace(const std::string& folder) {
    return fileExists(markPath(folder));
}

bool cleanWorkspace(const std::string& folder, std::string* why) {
    if (!isDirectory(folder)) {
        struct stat st {};
        if (::lstat(folder.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
            if (why) *why = folder + " is a file, not a folder: it cannot hold a show";
            return false;
        }
        if (!ensureFolder(folder) || !markWorkspace(folder)) {
            if (why) *why = "cannot create the workspace folder " + folder;
            return false;
        }
        return true;
    }
    if (!isMarkedWorkspace(folder)) {
        const std::string entry = firstEntry(folder);
        if (!entry.empty() && !sameFolder(folder, workspaceFolder())) {
            if (why)
                *why = folder +
                       " is not a Brightline workspace folder and holds files (such as \"" + entry +
                       "\"), so it is not emptied and nothing in it is deleted. Choose a new or "
                       "empty folder for the show, or the default workspace folder.";
            return false;
        }
        if (!markWorkspace(folder)) {
            if (why) *why = "cannot mark " + folder + " as a workspace folder";
            return false;
        }
    }
    deleteFilesIn(folder);
    for (const char* sub : {"data", "script"}) {
        const std::string path = folder + "/" + sub;
        if (!isFolderEntry(path)) continue;
        const bool marks = std::string(sub) == kWorkspaceMarkFolder;
        if (marks || ::rmdir(path.c_str()) != 0)
            deleteFilesIn(path, marks ? kWorkspaceMarkFile : nullptr);
    }
    return true;
}

WorkspaceLock::WorkspaceLock(const std::string& folder, Mode mode) {
    if (!isDirectory(folder)) return;
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        why_ = "cannot open the workspace folder " + folder + ": " + std::strerror(errno);
        return;
    }
    int rc;
    do {
        rc = ::flock(fd_, (mode == Mode::Write ? LOCK_EX : LOCK_SH) | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) return;
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    if (error != EWOULDBLOCK) {
        why_ = "cannot lock the workspace folder " + folder + ": " + std::strerror(error);
    } else if (mode == Mode::Write) {
        why_ = "The workspace folder " + folder +
               " is in use by another Make or send (another Brightline window or "
               "brightline-cli); nothing was changed. Try again when it is done.";
    } else {
        why_ = "The workspace folder " + folder +
               " is being written by another Make (another Brightline window or "
               "brightline-cli); nothing was sent. Send when it is done.";
    }
}

WorkspaceLock::~WorkspaceLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
}

}  // namespace brightline
