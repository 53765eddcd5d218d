#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <fstream>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/testing/scratch_folder.h"
#include "common/tests/file_size_limit.h"

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

TEST(Workspace, CleanupCreatesTheFolderAndMarksIt) {
    const std::string root = freshFolder("ws_new");
    std::string ws = root + "/a/BRIGHTLINE_TMP";
    EXPECT_TRUE(cleanWorkspace(ws));
    EXPECT_TRUE(exists(ws));
    EXPECT_TRUE(isMarkedWorkspace(ws));
}

TEST(Workspace, CleanupDeletesFilesRemovesEmptySubfoldersAndEmptiesFullOnes) {
    const std::string ws = freshFolder("ws_clean");
    ASSERT_TRUE(cleanWorkspace(ws));
    ensureFolder(ws + "/script/inner");
    ensureFolder(ws + "/other");
    touch(ws + "/run.at");
    touch(ws + "/70001001.JPG");
    touch(ws + "/data/old.bin");
    touch(ws + "/script/a.shw");
    EXPECT_TRUE(cleanWorkspace(ws));
    EXPECT_FALSE(exists(ws + "/run.at"));
    EXPECT_FALSE(exists(ws + "/70001001.JPG"));
    EXPECT_FALSE(exists(ws + "/data/old.bin"));
    EXPECT_TRUE(isMarkedWorkspace(ws));          // "data" keeps only the mark
    EXPECT_TRUE(exists(ws + "/script"));         // held a folder: stays
    EXPECT_FALSE(exists(ws + "/script/a.shw"));  // its files go
    EXPECT_TRUE(exists(ws + "/other"));          // other folders are not touched
}

TEST(Workspace, AFolderThatIsNoWorkspaceIsRefusedAndNothingIsDeleted) {
    const std::string root = freshFolder("ws_user");
    const std::string own = root + "/pictures";
    ensureFolder(own);
    touch(own + "/show.ZPF");
    touch(own + "/holiday.jpg");
    std::string why;
    EXPECT_FALSE(cleanWorkspace(own, &why));
    EXPECT_NE(why.find("is not a Brightline workspace folder"), std::string::npos) << why;
    EXPECT_NE(why.find("Choose a new or empty folder"), std::string::npos) << why;
    EXPECT_TRUE(exists(own + "/show.ZPF"));
    EXPECT_TRUE(exists(own + "/holiday.jpg"));
    EXPECT_FALSE(isMarkedWorkspace(own));

    touch(root + "/plain");
    EXPECT_FALSE(cleanWorkspace(root + "/plain", &why));
    EXPECT_NE(why.find("is a file, not a folder"), std::string::npos) << why;

    // An empty folder becomes a workspace.
    ensureFolder(root + "/empty");
    EXPECT_TRUE(cleanWorkspace(root + "/empty"));
    EXPECT_TRUE(isMarkedWorkspace(root + "/empty"));
}

TEST(Workspace, TheDefaultFolderIsTakenOverAsItWasLeftByAnEarlierVersion) {
    const std::string root = freshFolder("ws_default");
    const std::string ws = root + "/BRIGHTLINE_TMP";
    ensureFolder(ws + "/script");
    touch(ws + "/run.at");
    touch(ws + "/script/70001.shw");
    setenv("BRIGHTLINE_WORKSPACE", (ws + "/").c_str(), 1);
    std::string why;
    EXPECT_TRUE(cleanWorkspace(ws, &why)) << why;
    unsetenv("BRIGHTLINE_WORKSPACE");
    EXPECT_TRUE(isMarkedWorkspace(ws));
    EXPECT_FALSE(exists(ws + "/run.at"));
    EXPECT_FALSE(exists(ws + "/script/70001.shw"));
}

TEST(Workspace, LinksInTheWorkspaceGoAsLinksAndNothingOutsideIsTouched) {
    const std::string root = freshFolder("ws_links");
    const std::string ws = root + "/ws", outside = root + "/outside";
    ASSERT_TRUE(cleanWorkspace(ws));
    ensureFolder(outside);
    touch(outside + "/precious.jpg");
    ASSERT_EQ(::symlink(outside.c_str(), (ws + "/script").c_str()), 0);
    ASSERT_EQ(::symlink((outside + "/precious.jpg").c_str(), (ws + "/70001001.JPG").c_str()), 0);
    EXPECT_TRUE(cleanWorkspace(ws));
    EXPECT_FALSE(exists(ws + "/script"));
    EXPECT_FALSE(exists(ws + "/70001001.JPG"));
    EXPECT_TRUE(exists(outside + "/precious.jpg"));
}

TEST(Workspace, OneWriterOrManyReadersHoldTheFolderAtATime) {
    const std::string ws = freshFolder("ws_lock");
    ASSERT_TRUE(cleanWorkspace(ws));
    using Mode = WorkspaceLock::Mode;
    {
        const WorkspaceLock make(ws, Mode::Write);
        ASSERT_TRUE(make.held()) << make.why();
        const WorkspaceLock secondMake(ws, Mode::Write);
        const WorkspaceLock send(ws, Mode::Read);
        EXPECT_FALSE(secondMake.held());
        EXPECT_NE(secondMake.why().find("is in use by another Make or send"), std::string::npos);
        EXPECT_FALSE(send.held());
        EXPECT_NE(send.why().find("is being written by another Make"), std::string::npos);
    }
    {
        // Sends to several signs share the folder; a Make waits for all of them.
        const WorkspaceLock first(ws, Mode::Read), second(ws, Mode::Read);
        EXPECT_TRUE(first.held());
        EXPECT_TRUE(second.held());
        EXPECT_FALSE(WorkspaceLock(ws, Mode::Write).held());
    }
    // Released with its object, and by a process that ends without releasing it.
    EXPECT_TRUE(WorkspaceLock(ws, Mode::Write).held());
    const pid_t child = ::fork();
    if (child == 0) {
        const WorkspaceLock held(ws, Mode::Write);
        ::_exit(held.held() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(WorkspaceLock(ws, Mode::Write).held());
    // A folder that is not there yet has nothing to lock: cleanWorkspace() makes it.
    EXPECT_TRUE(WorkspaceLock(ws + "/new", Mode::Write).held());
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

TEST(Folders, AnInstalledProgramFindsItsDataUnderShareAndWritesInTheUsersFolder) {
    const std::string root = freshFolder("installed");
    ASSERT_TRUE(ensureFolder(root + "/usr/bin"));
    ASSERT_TRUE(ensureFolder(root + "/usr/share/brightline"));
    ASSERT_TRUE(ensureFolder(root + "/opt/bin"));
    ASSERT_TRUE(ensureFolder(root + "/build/apps/brightline"));
    const struct {
        std::string program, data;
    } cases[] = {
        {root + "/usr/bin", root + "/usr/share/brightline"},
        {root + "/usr/bin/", root + "/usr/share/brightline"},
        {root + "/opt/bin", ""},  // a bin folder without the data beside it
        {root + "/build/apps/brightline", ""},
        {"/bin", ""},
        {"bin", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(installedDataFolder(c.program), c.data) << c.program;

    setenv("XDG_DATA_HOME", "/d/", 1);
    EXPECT_EQ(userDataFolder(), "/d/brightline");
    unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/h", 1);
    EXPECT_EQ(userDataFolder(), "/h/.local/share/brightline");
    if (home)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(Folders, SeedingCopiesOnlyWhatTheUserLacks) {
    const std::string from = freshFolder("seed_from");
    const std::string to = freshFolder("seed_to") + "/deep/brightline";
    ASSERT_TRUE(ensureFolder(from));
    std::ofstream(from + "/UserInfo.dat") << "installed users";
    std::ofstream(from + "/LED_SET.ZRC") << "installed signs";
    ASSERT_TRUE(ensureFolder(to));
    std::ofstream(to + "/LED_SET.ZRC") << "the user's signs";

    std::string why;
    ASSERT_TRUE(seedFolder(from, to, {"UserInfo.dat", "LED_SET.ZRC", "RC_IMG.ZRC"}, &why)) << why;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(to + "/UserInfo.dat", bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "installed users");
    ASSERT_TRUE(readWholeFile(to + "/LED_SET.ZRC", bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the user's signs");
    EXPECT_FALSE(exists(to + "/RC_IMG.ZRC"));

    // A user folder that cannot be made (a file stands in its way) is reported, not passed over.
    const std::string blocked = freshFolder("seed_blocked");
    touch(blocked);
    EXPECT_FALSE(seedFolder(from, blocked + "/brightline", {"UserInfo.dat"}, &why));
    EXPECT_NE(why.find(blocked + "/brightline"), std::string::npos) << why;
}

TEST(FileIo, FailedAtomicWriteKeepsTheOldFile) {
    const std::string dir = freshFolder("atomic");
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
        std::string error;
        bool written;
        {
            FileSizeLimit full(4096);
            written = writeFileAtomically(path, std::vector<uint8_t>(100000, 7), &error);
        }
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

TEST(FileIo, WritesGoThroughLinksAndNeverOntoOtherKindsOfFile) {
    const std::string dir = freshFolder("through");
    ensureFolder(dir + "/real");
    ASSERT_EQ(::symlink("real/target.bin", (dir + "/link.bin").c_str()), 0);
    std::string error;
    // The link's target does not exist yet: it is made, and the link stays.
    ASSERT_TRUE(writeFileAtomically(dir + "/link.bin", {1}, &error)) << error;
    ASSERT_TRUE(writeFileAtomically(dir + "/link.bin", {2}, &error)) << error;
    struct stat st {};
    ASSERT_EQ(::lstat((dir + "/link.bin").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    std::vector<uint8_t> back;
    ASSERT_TRUE(readWholeFile(dir + "/real/target.bin", back));
    EXPECT_EQ(back, std::vector<uint8_t>{2});

    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("fifo", (dir + "/to-fifo").c_str()), 0);
    ASSERT_EQ(::symlink("loop-b", (dir + "/loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", (dir + "/loop-b").c_str()), 0);
    struct Case {
        std::string path;
        const char* why;
    } cases[] = {
        {dir + "/fifo", "is a FIFO, not a regular file"},
        {dir + "/to-fifo", "is a FIFO, not a regular file"},
        {dir + "/real", "is a folder, not a regular file"},
        {"/dev/null", "is a device, not a regular file"},
        {dir + "/loop-a", "Too many levels of symbolic links"},
    };
    for (const Case& c : cases) {
        error.clear();
        EXPECT_FALSE(writeFileAtomically(c.path, {3}, &error)) << c.path;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
    ASSERT_EQ(::lstat((dir + "/fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(FileIo, ReadsTakeRegularFilesWithinTheirLimitOnly) {
    const std::string dir = freshFolder("reads");
    ensureFolder(dir);
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0644), 0);
    std::vector<uint8_t> back;
    std::string error;
    // A FIFO without a writer would block for ever; it is refused at once.
    EXPECT_FALSE(readWholeFile(dir + "/fifo", back, &error));
    EXPECT_NE(error.find("is a FIFO, not a regular file"), std::string::npos) << error;
    EXPECT_EQ(openRegularFile(dir + "/fifo"), nullptr);
    EXPECT_FALSE(readWholeFile(dir, back, &error));
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;

    ASSERT_TRUE(writeFileAtomically(dir + "/big.bin", std::vector<uint8_t>(3 << 20, 1)));
    EXPECT_FALSE(readWholeFile(dir + "/big.bin", back, &error, size_t(2) << 20));
    EXPECT_TRUE(back.empty()) << "never cut";
    EXPECT_NE(error.find("more than the 2 MiB read at most"), std::string::npos) << error;
    EXPECT_TRUE(readWholeFile(dir + "/big.bin", back, &error, size_t(3) << 20)) << error;
    EXPECT_EQ(back.size(), size_t(3) << 20);

    EXPECT_TRUE(
        sameFile(dir + "/big.bin", dir + "/../" + dir.substr(dir.rfind('/') + 1) + "/big.bin"));
    EXPECT_FALSE(sameFile(dir + "/big.bin", dir + "/fifo"));
    EXPECT_FALSE(sameFile(dir + "/big.bin", dir + "/none"));
}

}  // namespace
}  // namespace brightline
