#include "comm/upload_names.h"

#include <dirent.h>

#include <algorithm>

namespace brightline {

bool isUploadedName(const std::string& name) {
    return name != "." && name != ".." && name != "data" && name != "script";
}

std::vector<std::string> uploadNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir))
            if (isUploadedName(entry->d_name)) names.push_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace brightline
