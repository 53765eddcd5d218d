#include "common/profile.h"

#include <cstdlib>

#include "common/folders.h"
#include "common/paths.h"

namespace brightline {

Profile::Profile(std::string path) : path_(std::move(path)) {
    ini_.load(path_);
}

std::string Profile::defaultPath() {
    if (const char* env = std::getenv("BRIGHTLINE_PROFILE"); env && *env) return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    return base + "/brightline/Brightline II.ini";
}

void Profile::reload() {
    std::lock_guard<std::mutex> lock(mutex_);
    ini_.load(path_);
}

long Profile::getInt(const std::string& section, const std::string& key, long fallback) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ini_.getInt(section, key, fallback);
}

std::string Profile::getString(const std::string& section, const std::string& key,
                               const std::string& fallback) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ini_.getString(section, key, fallback);
}

bool Profile::writeInt(const std::string& section, const std::string& key, long value) {
    std::lock_guard<std::mutex> lock(mutex_);
    ini_.setInt(section, key, value);
    return saveLocked();
}

bool Profile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    ini_.set(section, key, value);
    return saveLocked();
}

bool Profile::saveLocked() {
    ensureFolder(folderOf(path_).empty() ? "." : folderOf(path_));
    return ini_.save(path_);
}

namespace {
std::mutex gProfileMutex;
std::unique_ptr<Profile> gProfile;
}  // namespace

Profile& appProfile() {
    std::lock_guard<std::mutex> lock(gProfileMutex);
    if (!gProfile) gProfile = std::make_unique<Profile>(Profile::defaultPath());
    return *gProfile;
}

void setAppProfilePath(const std::string& path) {
    std::lock_guard<std::mutex> lock(gProfileMutex);
    gProfile = std::make_unique<Profile>(path);
}

}  // namespace brightline
