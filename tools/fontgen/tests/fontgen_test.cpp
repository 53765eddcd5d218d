// The font generator run as the build runs it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/file_io.h"

namespace {

namespace fs = std::filesystem;

class FontGenerator : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("bl_fontgen_" + std::to_string(::getpid()));
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    int run(const std::string& args) {
        std::string cmd = std::string("'") + BRIGHTLINE_FONTGEN + "' " + args + " >'" +
                          (root_ / "log").string() + "' 2>&1";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string sources() const {
        return std::string("--unifont '") + BRIGHTLINE_UNIFONT_HEX + "' --x11 '" +
               BRIGHTLINE_X11_MISC_FONTS + "' --dejavu '" + BRIGHTLINE_DEJAVU_FONTS + "' ";
    }
    std::vector<uint8_t> read(const fs::path& p) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(brightline::readWholeFile(p.string(), bytes)) << p;
        return bytes;
    }
    fs::path root_;
};

TEST_F(FontGenerator, SameSourcesGiveTheSameBytes) {
    ASSERT_EQ(run(sources() + "'" + (root_ / "a").string() + "'"), 0);
    ASSERT_EQ(run(sources() + "'" + (root_ / "b").string() + "'"), 0);
    for (const char* name : {"zhzk16.bin", "ezfon.bin"}) {
        auto a = read(root_ / "a" / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, read(root_ / "b" / name)) << name;
        EXPECT_EQ(a, read(fs::path(BRIGHTLINE_FONTS_DIR) / name))
            << name << " differs from the build's";
    }
}

TEST_F(FontGenerator, MissingSourceFailsAndWritesNothing) {
    EXPECT_EQ(run(std::string("--unifont '") + (root_ / "none.hex").string() + "' --x11 '" +
                  BRIGHTLINE_X11_MISC_FONTS + "' --dejavu '" + BRIGHTLINE_DEJAVU_FONTS + "' '" +
                  (root_ / "out").string() + "'"),
              1);
    EXPECT_FALSE(fs::exists(root_ / "out" / "zhzk16.bin"));
    EXPECT_FALSE(fs::exists(root_ / "out" / "ezfon.bin"));
    EXPECT_EQ(run("only-a-folder"), 2);
}

}  // namespace
