#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/profile.h"

namespace brightline {
namespace {

TEST(IniFile, ReadsValuesCaseBlindAndTrimsThem) {
    IniFile ini;
    ini.parse(
        "; clock page\r\n[SET]\r\nJPG_QUALITY = 80 \r\nName=\"Sample LED\"\r\n"
        "[other]\r\njpg_quality=5\r\n");
    EXPECT_EQ(ini.getInt("set", "jpg_quality", 75), 80);
    EXPECT_EQ(ini.getInt("SET", "MISSING", 75), 75);
    EXPECT_EQ(ini.getString("SET", "NAME", ""), "Sample LED");
    EXPECT_EQ(ini.getInt("OTHER", "JPG_QUALITY", 0), 5);
    EXPECT_EQ(ini.keys("SET"), (std::vector<std::string>{"JPG_QUALITY", "Name"}));
}

TEST(IniFile, NumbersReadLikeAtoi) {
    IniFile ini;
    ini.parse("[T]\nA=-36000\nB=12abc\nC=abc\nD=\n");
    EXPECT_EQ(ini.getInt("T", "A", 1), -36000);
    EXPECT_EQ(ini.getInt("T", "B", 1), 12);
    EXPECT_EQ(ini.getInt("T", "C", 1), 0);
    EXPECT_EQ(ini.getInt("T", "D", 1), 0);
}

TEST(IniFile, UpdatesInPlaceAndLeavesOtherLinesAlone) {
    const std::string text =
        "; made by hand\r\n[Brightline_II]\r\nUser_Name=admin\r\n\r\n[SET]\r\nPORT=0\r\n"
        "; keep me\r\nGRAY=1\r\n\r\n[TAIL]\r\nX=1\r\n";
    IniFile ini;
    ini.parse(text);
    ini.setInt("SET", "port", 3);
    ini.setInt("SET", "LED_W", 320);
    ini.set("NEW", "K", "v");
    EXPECT_EQ(ini.text(),
              "; made by hand\r\n[Brightline_II]\r\nUser_Name=admin\r\n\r\n[SET]\r\nPORT=3\r\n"
              "; keep me\r\nGRAY=1\r\nLED_W=320\r\n\r\n[TAIL]\r\nX=1\r\n\r\n[NEW]\r\nK=v\r\n");
}

TEST(IniFile, ParseThenTextGivesTheSameBytes) {
    for (const char* text : {"", "[A]\nb=1", "[A]\nb=1\n", "x\r\n\r\n[A]\r\n  b = 2 \r\n"}) {
        IniFile ini;
        ini.parse(text);
        EXPECT_EQ(ini.text(), text);
    }
}

TEST(Profile, WritesGoToTheFileAtOnceAndSurviveReopening) {
    std::string dir = testing::TempDir() + "profile_test";
    std::string path = dir + "/sub/Brightline II.ini";
    std::remove(path.c_str());
    {
        Profile profile(path);
        EXPECT_EQ(profile.getString(kProfileSectionSet, "LED_NAME", "Sample LED"), "Sample LED");
        EXPECT_TRUE(profile.writeInt(kProfileSectionApp, "First_Running_Flag", 1));
        EXPECT_TRUE(profile.writeString(kProfileSectionSet, "LED_NAME", "Front door"));
    }
    Profile again(path);
    EXPECT_EQ(again.getInt(kProfileSectionApp, "First_Running_Flag", 0), 1);
    EXPECT_EQ(again.getString(kProfileSectionSet, "LED_NAME", ""), "Front door");
}

TEST(Profile, DefaultPathFollowsTheEnvironment) {
    setenv("BRIGHTLINE_PROFILE", "/x/y.ini", 1);
    EXPECT_EQ(Profile::defaultPath(), "/x/y.ini");
    unsetenv("BRIGHTLINE_PROFILE");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(Profile::defaultPath(), "/cfg/brightline/Brightline II.ini");
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace brightline
