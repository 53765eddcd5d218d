#include "engine/workspace_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace brightline::engine {
namespace {

// Only regular files are shows' files: a FIFO or a device would block or never end.
bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace

std::string workspacePath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string lowerMediaName(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

std::optional<std::string> findWorkspaceFile(const std::string& folder, const std::string& name) {
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\') c = '/';
    std::string exact = workspacePath(folder, relative);
    if (isRegularFile(exact)) return exact;

    size_t slash = exact.rfind('/');
    std::string dirPath = slash == std::string::npos ? "." : exact.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? exact : exact.substr(slash + 1);
    if (base.empty()) return std::nullopt;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dirPath.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    while (dirent* entry = ::readdir(dir.get())) {
        if (!equalsIgnoringCase(base, entry->d_name)) continue;
        std::string candidate =
            (slash == std::string::npos ? std::string() : dirPath) + entry->d_name;
        if (isRegularFile(candidate)) return candidate;
    }
    return std::nullopt;
}

ReadStatus readWorkspaceFile(const std::string& folder, const std::string& name,
                             std::vector<char>& out, size_t limit) {
    out.clear();
    std::optional<std::string> path = findWorkspaceFile(folder, name);
    if (!path) return ReadStatus::NotFound;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path->c_str(), "rb"), std::fclose);
    if (!file) return ReadStatus::NotFound;
    out.resize(limit);
    size_t got = std::fread(out.data(), 1, limit, file.get());
    if (got < limit && std::ferror(file.get())) {
        out.clear();
        return ReadStatus::ReadFailed;
    }
    out.resize(got);
    return ReadStatus::Ok;
}

}  // namespace brightline::engine
