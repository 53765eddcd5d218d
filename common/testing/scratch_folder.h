#pragma once
// A test's own folder: made fresh under the temporary folder ($TMPDIR, else /tmp) with a unique
// name, and removed with everything in it when the object goes, so that tests leave nothing
// behind. Header-only, for the tests of every room.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace brightline::testkit {

class ScratchFolder {
  public:
    // `prefix` starts the folder's name ("bl_engine" gives bl_engine_Ab12Cd).
    explicit ScratchFolder(const std::string& prefix = "bl") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder like " + pattern);
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace brightline::testkit
