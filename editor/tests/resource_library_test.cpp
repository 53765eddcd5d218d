#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/testing/scratch_folder.h"
#include "editor/resource_library.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes utf16cr(const std::u16string& text) {
    Bytes b;
    for (char16_t c : text) {
        b.push_back(static_cast<uint8_t>(c));
        b.push_back(static_cast<uint8_t>(c >> 8));
    }
    b.push_back(0x0D);
    b.push_back(0x00);
    return b;
}

TEST(ResourceLibrary, ListsPathsInFileOrderAndRewritesAfterADeletion) {
    Bytes file = {'Z', 'R', 'C', 0};
    Bytes a = utf16cr(u"C:\\pics\\A.jpg");
    Bytes b = utf16cr(u"/home/op/图B.png");
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());

    std::vector<std::string> paths;
    ASSERT_EQ(decodeLibrary(file.data(), file.size(), paths), LibraryLoadResult::Loaded);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\pics\\A.jpg", "/home/op/图B.png"}));
    EXPECT_EQ(encodeLibrary(paths), file);

    testkit::ScratchFolder scratch("bl_library");
    const std::string dir = scratch.path();
    std::string path = dir + "/RC_IMG.ZRC";
    paths.erase(paths.begin());
    ASSERT_TRUE(saveLibrary(path, paths));
    Bytes written;
    ASSERT_TRUE(readWholeFile(path, written));
    Bytes expected = {'Z', 'R', 'C', 0};
    expected.insert(expected.end(), b.begin(), b.end());
    EXPECT_EQ(written, expected);
}

TEST(ResourceLibrary, EmptyMarkOnlyBadMarkAndMissingFile) {
    std::vector<std::string> paths = {"x"};
    Bytes empty = {'Z', 'R', 'C', 0};
    EXPECT_EQ(decodeLibrary(empty.data(), empty.size(), paths), LibraryLoadResult::Loaded);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(encodeLibrary({}), empty);

    Bytes bad = {'Z', 'R', 'X', 0, 'a', 0, 0x0D, 0};
    paths = {"x"};
    EXPECT_EQ(decodeLibrary(bad.data(), bad.size(), paths), LibraryLoadResult::BadMark);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(loadLibrary("/nonexistent/RC_AVI.ZRC", paths), LibraryLoadResult::Missing);
}

TEST(ResourceLibrary, EmptyPartsAreDroppedAndACutLastUnitIgnored) {
    Bytes file = {'Z', 'R', 'C', 0, 0x0D, 0, 'a', 0, 0x0D, 0, 0x0D, 0, 'b', 0, 'c'};
    std::vector<std::string> paths;
    ASSERT_EQ(decodeLibrary(file.data(), file.size(), paths), LibraryLoadResult::Loaded);
    EXPECT_EQ(paths, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace brightline
