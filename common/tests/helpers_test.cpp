#include <gtest/gtest.h>

#include "common/code_page.h"
#include "common/effect_names.h"
#include "common/file_kind.h"
#include "common/media_names.h"
#include "common/paths.h"
#include "common/utf.h"

namespace brightline {
namespace {

TEST(Paths, SplitWindowsAndLinuxPaths) {
    EXPECT_EQ(fileNameOf("C:\\pics\\a.b.jpg"), "a.b.jpg");
    EXPECT_EQ(fileNameOf("/home/op/a.jpg"), "a.jpg");
    EXPECT_EQ(folderOf("C:\\pics/x\\a.jpg"), "C:\\pics/x\\");
    EXPECT_EQ(folderOf("a.jpg"), "");
    EXPECT_EQ(extensionUpper("C:\\p.q\\clip.avi"), ".AVI");
    EXPECT_EQ(extensionUpper("C:\\p.q\\noext"), "");
    EXPECT_EQ(fileTitleOf("/a/b/show.zpf"), "show");
}

TEST(FileKind, ByUpperCasedExtension) {
    EXPECT_EQ(fileKindOf("/a/x.zpf"), FileKind::Program);
    EXPECT_EQ(fileKindOf("C:\\x.At"), FileKind::Schedule);
    EXPECT_EQ(fileKindOf("x.TIM"), FileKind::ClockPage);
    EXPECT_EQ(fileKindOf("x.zrt"), FileKind::TextPage);
    EXPECT_EQ(fileKindOf("x.ztx"), FileKind::Ztx);
    EXPECT_EQ(fileKindOf("x.bmp"), FileKind::Bmp);
    EXPECT_EQ(fileKindOf("x.jpg"), FileKind::Jpg);
    EXPECT_EQ(fileKindOf("x.png"), FileKind::Png);
    EXPECT_EQ(fileKindOf("x.jpeg"), FileKind::None);
    EXPECT_EQ(fileKindOf("AT"), FileKind::None);
}

TEST(MediaNames, DigitsAsWritten) {
    EXPECT_EQ(regionScriptName(7, -1, 0, 1), "70001.shw");
    EXPECT_EQ(regionScriptName(7, 12, 3, 0), "71230.shw");
    EXPECT_EQ(mediaName(7, 0, 0, 1, 2), "70001002");
    EXPECT_EQ(mediaName(7, -1, 2, 0, 15), "70020015");
}

TEST(EffectNames, TableEndsAndListMapping) {
    EXPECT_STREQ(effectAt(0)->name, "NULL");
    EXPECT_STREQ(effectAt(0)->displayName, "No clear");
    EXPECT_STREQ(effectAt(45)->name, "RANDOM");
    EXPECT_EQ(effectAt(46), nullptr);
    EXPECT_EQ(effectAt(19)->code, 321);  // FR_V_CLOSE keeps its code out of list order
    EXPECT_EQ(effectPosition("FR_H_CLOSE"), 21);
    EXPECT_FALSE(effectPosition("ROTATE").has_value());
    EXPECT_EQ(effectByName("ROTATE")->code, 343);
    EXPECT_EQ(effectByName("fr_lf"), nullptr);  // names match exactly

    EXPECT_EQ(entryEffectName(0), "SHOW");
    EXPECT_EQ(entryEffectName(1), "DFR_LF");
    EXPECT_EQ(entryEffectName(44), "RANDOM");
    EXPECT_EQ(entryEffectName(-1), "SHOW");
    EXPECT_EQ(entryEffectName(45), "SHOW");
    EXPECT_EQ(exitEffectName(0), "NULL");
    EXPECT_EQ(exitEffectName(45), "RANDOM");
    for (int i = 0; i < kEffectCount; ++i) EXPECT_EQ(effectPosition(effectAt(i)->name), i);
}

TEST(CodePage, GbkBothWaysAndReplacement) {
    EXPECT_EQ(toOem("LED 图片"), "LED \xCD\xBC\xC6\xAC");
    EXPECT_EQ(fromOem("LED \xCD\xBC\xC6\xAC"), "LED 图片");
    EXPECT_EQ(toOem("a😀b"), "a?b");
    EXPECT_EQ(fromOem("a\xFF"), "a\xEF\xBF\xBD");
}

TEST(Utf, LoneSurrogatesAndBadBytesBecomeReplacement) {
    EXPECT_EQ(utf16ToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(utf8ToUtf16("a\xC3z"), u"a\xFFFDz");
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16("é图😀")), "é图😀");
}

}  // namespace
}  // namespace brightline
