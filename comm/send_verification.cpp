#include "comm/send_verification.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "comm/upload_names.h"

namespace brightline {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string::npos) break;
        const size_t end = line.find_first_of(" \t", at);
        out.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end;
    }
    return out;
}

}  // namespace

std::vector<SentFile> sentFiles(const std::string& folder) {
    std::vector<SentFile> out;
    for (const std::string& name : uploadNames(folder)) {
        struct stat st {};
        const uint64_t size =
            ::stat((folder + "/" + name).c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
        out.push_back({name, size});
    }
    return out;
}

std::vector<ListedFile> parseSignFileList(const std::string& text) {
    std::vector<ListedFile> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::vector<std::string> w = words(trimmed(text.substr(start, end - start)));
        start = end + 1;
        if (w.empty()) continue;
        ListedFile f;
        const size_t cut = w[0].find_last_of("\\/");
        f.name = cut == std::string::npos ? w[0] : w[0].substr(cut + 1);
        if (cut != std::string::npos) f.folder = w[0].substr(0, cut);
        if (f.name.empty()) continue;
        if (w.size() > 1 && !w[1].empty() && w[1].size() <= 19 &&
            std::all_of(w[1].begin(), w[1].end(), [](unsigned char c) { return std::isdigit(c); }))
            f.size = std::stoull(w[1]);
        out.push_back(std::move(f));
    }
    return out;
}

std::vector<std::string> compareWithSignList(const std::vector<SentFile>& sent,
                                             const std::vector<ListedFile>& listed,
                                             const std::string& remoteFolder) {
    const std::string folder = lower(trimmed(remoteFolder));
    std::vector<std::string> problems;
    for (const SentFile& file : sent) {
        const std::string name = lower(file.name);
        const ListedFile* found = nullptr;
        for (const ListedFile& l : listed) {
            if (lower(l.name) != name) continue;
            if (!folder.empty() && !l.folder.empty() && lower(l.folder) != folder) continue;
            found = &l;
            break;
        }
        if (!found)
            problems.push_back(file.name + ": not on the sign");
        else if (found->size && *found->size != file.size)
            problems.push_back(file.name + ": " + std::to_string(*found->size) +
                               " bytes on the sign, " + std::to_string(file.size) + " sent");
    }
    return problems;
}

}  // namespace brightline
