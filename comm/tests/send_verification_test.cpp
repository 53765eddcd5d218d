// Comparing what was sent with the sign's file list.
#include <gtest/gtest.h>

#include "comm/send_verification.h"

using namespace brightline;

TEST(SendVerification, ListLinesWithAndWithoutFoldersAndSizes) {
    const auto listed = parseSignFileList(
        "DATA1\\run.at 30\r\nDATA2/70001001.JPG\n\n  plain.png   12  \nbig.zvi "
        "99999999999999999999\n");
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0].folder, "DATA1");
    EXPECT_EQ(listed[0].name, "run.at");
    EXPECT_EQ(listed[0].size, std::optional<uint64_t>(30));
    EXPECT_EQ(listed[1].folder, "DATA2");
    EXPECT_FALSE(listed[1].size);
    EXPECT_EQ(listed[2].folder, "");
    EXPECT_EQ(listed[2].size, std::optional<uint64_t>(12));
    EXPECT_FALSE(listed[3].size);  // too long to be a size: none
}

TEST(SendVerification, EachFileNotThereAsSentIsNamedInOrder) {
    const std::vector<SentFile> sent = {
        {"run.at", 30}, {"70001.shw", 300}, {"70001001.JPG", 5000}, {"70001002.PNG", 2048}};
    struct Case {
        const char* what;
        const char* list;
        const char* folder;
        std::vector<std::string> problems;
    } cases[] = {
        {"all there, names in another case, sizes right",
         "DATA1\\RUN.AT 30\nDATA1\\70001.SHW 300\nDATA1\\70001001.jpg 5000\nDATA1\\70001002.png "
         "2048\n",
         "DATA1",
         {}},
        {"a list without sizes counts names only",
         "run.at\n70001.shw\n70001001.JPG\n70001002.PNG\n",
         "DATA2",
         {}},
        {"one missing, one short",
         "DATA1\\run.at 30\nDATA1\\70001.shw 300\nDATA1\\70001001.JPG 4096\n",
         "DATA1",
         {"70001001.JPG: 4096 bytes on the sign, 5000 sent", "70001002.PNG: not on the sign"}},
        {"the last show in the other folder does not count",
         "DATA1\\run.at 30\nDATA1\\70001.shw 300\nDATA1\\70001001.JPG 5000\nDATA1\\70001002.PNG "
         "2048\n",
         "DATA2\r\n",
         {"run.at: not on the sign", "70001.shw: not on the sign", "70001001.JPG: not on the sign",
          "70001002.PNG: not on the sign"}},
        {"an empty list",
         "",
         "DATA1",
         {"run.at: not on the sign", "70001.shw: not on the sign", "70001001.JPG: not on the sign",
          "70001002.PNG: not on the sign"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(compareWithSignList(sent, parseSignFileList(c.list), c.folder), c.problems)
            << c.what;
}
