#include <gtest/gtest.h>

#include <cstdlib>

#include "common/file_io.h"
#include "common/testing/scratch_folder.h"
#include "editor/resource_libraries.h"

namespace brightline {
namespace {

class ResourceLibrariesTest : public testing::Test {
  protected:
    std::string file(const std::string& name) const { return scratch.file(name); }
    void touch(const std::string& name, const std::string& text = "x") {
        ASSERT_TRUE(
            writeFileAtomically(file(name), std::vector<uint8_t>(text.begin(), text.end())));
    }
    std::vector<std::string> stored(const std::string& library) {
        std::vector<std::string> paths;
        loadLibrary(file(library), paths);
        return paths;
    }
    testkit::ScratchFolder scratch{"bl_libs"};
    RecordingMessages messages;
};

TEST_F(ResourceLibrariesTest, MissingFilesAreHiddenButKeptAndEntriesActOnTheirOwnPaths) {
    touch("a.jpg");
    touch("c.jpg");
    ASSERT_TRUE(saveLibrary(file("RC_IMG.ZRC"), {file("a.jpg"), file("gone.jpg"), file("c.jpg")}));
    LibraryList list;
    ASSERT_EQ(list.load(file("RC_IMG.ZRC")), LibraryLoadResult::Loaded);
    ASSERT_EQ(list.shownCount(), 2);
    EXPECT_EQ(list.shownPath(1), file("c.jpg"));  // entry 1 is the library's third path
    EXPECT_EQ(list.libraryIndex(1), 2);
    EXPECT_EQ(list.shownPath(2), "");

    // Deleting entry 1 removes c.jpg; the missing file stays in the library.
    ASSERT_TRUE(deleteResources(file("RC_IMG.ZRC"), {1}, messages));
    EXPECT_EQ(stored("RC_IMG.ZRC"), (std::vector<std::string>{file("a.jpg"), file("gone.jpg")}));
    ASSERT_TRUE(deleteResources(file("RC_IMG.ZRC"), {0}, messages));
    EXPECT_EQ(stored("RC_IMG.ZRC"), (std::vector<std::string>{file("gone.jpg")}));
    EXPECT_TRUE(messages.messages().empty());

    EXPECT_EQ(list.load(file("RC_AVI.ZRC")), LibraryLoadResult::Missing);
    EXPECT_EQ(list.shownCount(), 0);
}

TEST_F(ResourceLibrariesTest, AddingStopsAtTheFirstFileThatIsNoReadableVideo) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
        "testsrc=size=64x48:rate=10:duration=1 -c:v mjpeg " +
        file("good.avi") + " </dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    touch("bad.avi", "RIFF, but nothing after it");
    EXPECT_EQ(addResources(kTabVideo, file("RC_AVI.ZRC"),
                           {file("good.avi"), file("bad.avi"), file("good.avi")}, messages),
              1);
    EXPECT_EQ(stored("RC_AVI.ZRC"), (std::vector<std::string>{file("good.avi")}));
    ASSERT_EQ(messages.messages().size(), 1u);
    const OperatorMessage refusal = messages.messages()[0];
    EXPECT_EQ(refusal.text, "File format unknown");
    EXPECT_EQ(refusal.caption, "INFO");
    EXPECT_EQ(refusal.icon, MessageIcon::Error);
}

TEST_F(ResourceLibrariesTest, ATextPageWithoutAPageIsRefusedWithItsPath) {
    touch("page.zrt", "ZRT");
    EXPECT_EQ(addResources(kTabTextPage, file("RC_ZTXT.ZRC"), {file("page.zrt")}, messages), 0);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, file("page.zrt") + " format error!");
    EXPECT_FALSE(fileExists(file("RC_ZTXT.ZRC")));
    // Clock pages and pictures are taken as they are.
    EXPECT_EQ(
        addResources(kTabClockPage, file("RC_ZTIME.ZRC"), {file("a.TIM"), file("b.TIM")}, messages),
        2);
    EXPECT_EQ(stored("RC_ZTIME.ZRC").size(), 2u);
}

TEST_F(ResourceLibrariesTest, ALibraryWithAWrongMarkIsNeverOverwritten) {
    touch("RC_IMG.ZRC", "ZRX\0some other file");
    std::vector<uint8_t> before;
    ASSERT_TRUE(readWholeFile(file("RC_IMG.ZRC"), before));
    EXPECT_EQ(addResources(kTabPicture, file("RC_IMG.ZRC"), {file("a.jpg")}, messages), 0);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "RC file mark error!");
    std::vector<uint8_t> after;
    ASSERT_TRUE(readWholeFile(file("RC_IMG.ZRC"), after));
    EXPECT_EQ(after, before);
}

TEST(ResourceTabs, LibrariesAndDialogFilters) {
    EXPECT_STREQ(libraryFileName(kTabPicture), "RC_IMG.ZRC");
    EXPECT_STREQ(libraryFileName(kTabVideo), "RC_AVI.ZRC");
    EXPECT_STREQ(libraryFileName(kTabTextPage), "RC_ZTXT.ZRC");
    EXPECT_STREQ(libraryFileName(kTabClockPage), "RC_ZTIME.ZRC");
    EXPECT_EQ(libraryFileName(kTabMoveOut), nullptr);
    EXPECT_FALSE(isLibraryTab(kTabMoveOut));
    const auto pictures = addResourceFilters(kTabPicture);
    ASSERT_EQ(pictures.size(), 4u);
    EXPECT_EQ(pictures[0].patterns, "*.BMP;*.JPG;*.PNG");
    EXPECT_EQ(addResourceFilters(kTabVideo)[0].patterns,
              "*.AVI;*.MP4;*.MOV;*.MKV;*.WEBM;*.MPG;*.M4V");
    EXPECT_EQ(addResourceFilters(kTabClockPage)[0].patterns, "*.TIM");
    EXPECT_TRUE(addResourceFilters(kTabAreaFormat).empty());
}

}  // namespace
}  // namespace brightline
