#pragma once
// The per-user application profile "Brightline II": an INI file with the sections
// "Brightline_II" (logon flags) and "SET" (sign and communication settings, guide flags,
// colour mode, phone numbers).
//
// It lives at $BRIGHTLINE_PROFILE when that is set, else at
// $XDG_CONFIG_HOME/brightline/Brightline II.ini (~/.config when XDG_CONFIG_HOME is unset).
// Every write goes to the file at once, as the registry did. Thread-safe.
#include <memory>
#include <mutex>
#include <string>

#include "common/ini_file.h"

namespace brightline {

inline constexpr const char* kProfileSectionApp = "Brightline_II";
inline constexpr const char* kProfileSectionSet = "SET";

class Profile {
  public:
    explicit Profile(std::string path);

    static std::string defaultPath();

    const std::string& path() const { return path_; }
    // Reads the file again (another process may have written it).
    void reload();

    long getInt(const std::string& section, const std::string& key, long fallback) const;
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& fallback) const;
    // False when the file could not be written (the value is kept in memory all the same).
    bool writeInt(const std::string& section, const std::string& key, long value);
    bool writeString(const std::string& section, const std::string& key, const std::string& value);

  private:
    bool saveLocked();

    std::string path_;
    mutable std::mutex mutex_;
    IniFile ini_;
};

// The process's profile, opened at defaultPath() on first use.
Profile& appProfile();
// Points the process's profile elsewhere (tests, demos).
void setAppProfilePath(const std::string& path);

}  // namespace brightline
