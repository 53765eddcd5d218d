// The modem list, the COM number of a modem's device and the stored telephone numbers.
#include <gtest/gtest.h>
#include <unistd.h>

#include "comm/modem_list.h"
#include "common/profile.h"
#include "common/testing/scratch_folder.h"

using namespace brightline;

TEST(ModemList, NamedDevicesFromTheFallbackListAtMostTen) {
    auto modems = parseModemList("USB Modem=/dev/ttyACM0;bad;=/dev/x;Empty=;Line 2=/dev/ttyUSB1");
    ASSERT_EQ(modems.size(), 2u);
    EXPECT_EQ(modems[0].name, "USB Modem");
    EXPECT_EQ(modems[0].device, "/dev/ttyACM0");
    EXPECT_EQ(modems[1].name, "Line 2");
    std::string many;
    for (int i = 0; i < 12; ++i)
        many += "M" + std::to_string(i) + "=/dev/ttyS" + std::to_string(i) + ";";
    EXPECT_EQ(parseModemList(many).size(), kMaxModems);
    ::setenv(kModemListVariable, "Virtual=/dev/pts/99", 1);
    ASSERT_EQ(installedModems().size(), 1u);
    EXPECT_EQ(installedModems()[0].device, "/dev/pts/99");
    ::unsetenv(kModemListVariable);
}

TEST(ModemList, ComNumberOfADeviceThroughTheMappingOrNone) {
    testkit::ScratchFolder dir("bl_modem");
    Profile profile(dir.file("profile.ini"));
    // COM4 names a device through a symbolic link; COM12 cannot be named at all.
    ASSERT_EQ(::symlink("/dev/null", dir.file("com4").c_str()), 0);
    profile.writeString("SET", "COM4_DEVICE", dir.file("com4"));
    profile.writeString("SET", "COM12_DEVICE", "/dev/zero");
    EXPECT_EQ(comPortForDevice(profile, "/dev/null"), 4);
    EXPECT_EQ(comPortForDevice(profile, dir.file("com4")), 4);
    EXPECT_EQ(comPortForDevice(profile, "/dev/zero"), -1);
    EXPECT_EQ(comPortForDevice(profile, "/dev/ttyS2"), 3);  // the default mapping
}

TEST(ModemList, AddedAndDeletedNumbersKeepTheirKeys) {
    testkit::ScratchFolder dir("bl_modem");
    Profile profile(dir.file("profile.ini"));
    EXPECT_TRUE(readPhoneBook(profile).numbers.empty());
    for (const char* n : {"111", "222", "333"}) addPhoneNumber(profile, n);
    profile.writeString("SET", "PHONE_NUMBER_SEL", "222");
    PhoneBook book = readPhoneBook(profile);
    EXPECT_EQ(book.numbers, (std::vector<std::string>{"111", "222", "333"}));
    EXPECT_EQ(book.lastDialled, "222");
    EXPECT_EQ(profile.getString("SET", "PHONE_NUMBER02", ""), "333");
    storePhoneNumbers(profile, {"111", "333"});  // "222" deleted
    EXPECT_EQ(readPhoneBook(profile).numbers, (std::vector<std::string>{"111", "333"}));
    // The old third key stays behind; only the count says it no longer counts.
    EXPECT_EQ(profile.getString("SET", "PHONE_NUMBER02", ""), "333");
    // A count larger than the stored keys reads the example number for the missing ones.
    profile.writeInt("SET", "PHONE_NUMBER_NUM", 4);
    EXPECT_EQ(readPhoneBook(profile).numbers.back(), kExamplePhoneNumber);
}
