#include "common/folders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

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

// Deletes the regular files (and links) directly in `folder`; returns whether any entry other
// than files remains or any file could not be deleted.
bool deleteFilesIn(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    bool leftOver = false;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = folder + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            leftOver = true;
            continue;
        }
        if (::unlink(path.c_str()) != 0) leftOver = true;
    }
    ::closedir(dir);
    return leftOver;
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

void cleanWorkspace(const std::string& folder) {
    if (!isDirectory(folder)) {
        ensureFolder(folder);
        return;
    }
    deleteFilesIn(folder);
    for (const char* sub : {"data", "script"}) {
        std::string path = folder + "/" + sub;
        if (!isDirectory(path)) continue;
        if (::rmdir(path.c_str()) != 0) deleteFilesIn(path);
    }
}

}  // namespace brightline
