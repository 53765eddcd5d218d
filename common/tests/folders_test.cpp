#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <fstream>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/testing/scratch_folder.h"

namespace brightline {
namespace {

// Every folder of these tests lies in one scratch folder, removed when the tests end.
std::string freshFolder(const std::string& name) {
    static const testkit::ScratchFolder scratch("bl_folders");
    return scratch.file(name);
}

void touch(const std::string& path) {
    std::ofstream(path) << "x";
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

TEST(Workspace, CleanupCreatesTheFolder) {
    std::string ws = freshFolder("ws_new") + "/a/BRIGHTLINE_TMP";
    cleanWorkspace(ws);
    EXPECT_TRUE(exists(ws));
}

TEST(Workspace, CleanupDeletesFilesRemovesEmptySubfoldersAndEmptiesFullOnes) {
    std::string ws = freshFolder("ws_clean");
    ensureFolder(ws + "/data");
    ensureFolder(ws + "/script/inner");
    ensureFolder(ws + "/other");
    touch(ws + "/run.at");
    touch(ws + "/70001001.JPG");
    touch(ws + "/script/a.shw");
    cleanWorkspace(ws);
    EXPECT_FALSE(exists(ws + "/run.at"));
    EXPECT_FALSE(exists(ws + "/70001001.JPG"));
    EXPECT_FALSE(exists(ws + "/data"));          // empty: removed
    EXPECT_TRUE(exists(ws + "/script"));         // held a folder: stays
    EXPECT_FALSE(exists(ws + "/script/a.shw"));  // its files go
    EXPECT_TRUE(exists(ws + "/other"));          // other folders are not touched
}

TEST(Folders, WorkspaceFromTheEnvironment) {
    setenv("BRIGHTLINE_WORKSPACE", "/tmp/ws/", 1);
    EXPECT_EQ(workspaceFolder(), "/tmp/ws");
    unsetenv("BRIGHTLINE_WORKSPACE");
    setenv("XDG_CACHE_HOME", "/c", 1);
    EXPECT_EQ(workspaceFolder(), "/c/brightline/BRIGHTLINE_TMP");
    unsetenv("XDG_CACHE_HOME");
    setStartFolder("/start/");
    EXPECT_EQ(startFolder(), "/start");
    EXPECT_EQ(scratchFolder(), "/start/tmp");
    EXPECT_FALSE(programFolder().empty());
}

TEST(FileIo, FailedAtomicWriteKeepsTheOldFile) {
    std::string dir = freshFolder("atomic");
    ensureFolder(dir);
    std::string path = dir + "/keep.bin";
    ASSERT_TRUE(writeFileAtomically(path, {1, 2, 3}));
    std::vector<uint8_t> back;
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_EQ(back, (std::vector<uint8_t>{1, 2, 3}));

    // The folder refuses new files: the write fails, is reported, and the old file stays.
    if (::geteuid() != 0) {
        ::chmod(dir.c_str(), 0555);
        std::string error;
        EXPECT_FALSE(writeFileAtomically(path, {9}, &error));
        EXPECT_FALSE(error.empty());
        ::chmod(dir.c_str(), 0755);
    }
    // The disk fills up half-way (a file size limit stands in for it, also for root).
    {
        struct rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::string error;
        bool written = writeFileAtomically(path, std::vector<uint8_t>(100000, 7), &error);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(written);
        EXPECT_FALSE(error.empty());
    }
    // A path whose folder does not exist fails the same way.
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir + "/missing/x.bin", {9}, &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_EQ(back, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(readWholeFile(dir + "/none.bin", back, &error));
}

}  // namespace
}  // namespace brightline
