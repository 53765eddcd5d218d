#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "comm/led_set_data.h"
#include "comm/sign_record_store.h"
#include "common/testing/scratch_folder.h"

namespace brightline {
namespace {

TEST(SignRecordStore, WritesTheFirstRecordOfTheNameOnly) {
    const testkit::ScratchFolder scratch("bl_signrec");
    const std::string path = scratch.file("LED_SET.ZRC");
    SignList list;
    CLED_Set_Data a;
    a.name = "Front";
    CLED_Set_Data b = a;
    b.name = "Front";
    b.width = 64;
    CLED_Set_Data other = a;
    other.name = "Back";
    list.signs = {other, a, b};
    ASSERT_TRUE(saveSignList(path, list));

    SignRecordValues values;
    values.width = 512;
    values.height = 128;
    EXPECT_TRUE(storeSignRecord(path, "Front", values));
    SignList back;
    ASSERT_TRUE(loadSignList(path, back));
    EXPECT_EQ(back.signs[0], other);
    EXPECT_EQ(back.signs[1].width, 512);
    EXPECT_EQ(back.signs[1].height, 128);
    EXPECT_EQ(back.signs[1].port, a.port);
    EXPECT_EQ(back.signs[2], b);

    values.withLink = true;
    values.port = 3;
    values.address = 9;
    values.baudIndex = 2;
    EXPECT_TRUE(storeSignRecord(path, "Front", values));
    ASSERT_TRUE(loadSignList(path, back));
    EXPECT_EQ(back.signs[1].port, 3);
    EXPECT_EQ(back.signs[1].address, 9);
    EXPECT_EQ(back.signs[1].baudIndex, 2);

    // No record of the name: the file stays as it was.
    const auto before = std::filesystem::last_write_time(path);
    EXPECT_FALSE(storeSignRecord(path, "Side", values));
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    int w = 0, h = 0;
    EXPECT_TRUE(readSignSize(path, "Front", w, h));
    EXPECT_EQ(w, 512);
    EXPECT_FALSE(readSignSize(path, "Side", w, h));
}

}  // namespace
}  // namespace brightline

#include "comm/sign_endpoint.h"

namespace brightline {
namespace {

TEST(SignEndpoint, HostAndTwoPortsOrNothing) {
    auto e = parseSignEndpoint("127.0.0.1:40001:40002");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->host, "127.0.0.1");
    EXPECT_EQ(e->commandPort, 40001);
    EXPECT_EQ(e->ftpPort, 40002);
    for (const char* bad : {"", "127.0.0.1", "127.0.0.1:7203", ":1:2", "h:0:21", "h:7203:70000",
                            "h:72x3:21", "h::21"})
        EXPECT_FALSE(parseSignEndpoint(bad)) << bad;
}

}  // namespace
}  // namespace brightline
