#include <gtest/gtest.h>

#include <filesystem>

#include "comm/comm_settings.h"
#include "comm/firmware_update.h"
#include "comm/sign_requests.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/operator_messages.h"
#include "common/profile.h"
#include "common/testing/scratch_folder.h"

using namespace brightline;
namespace fs = std::filesystem;

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

std::vector<uint8_t> updateFile(uint32_t length, uint32_t sum, std::vector<uint8_t> content) {
    std::vector<uint8_t> f = {'Z', 'O', 'S', '_', 'Z', 'S', 'Y', 0};
    for (uint32_t v : {length, sum})
        for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i)));
    f.insert(f.end(), content.begin(), content.end());
    return f;
}

}  // namespace

TEST(SignRequests, BinaryRequestsAreByteExact) {
    // 2026-01-01 00:00:00 UTC.
    const uint64_t ft = toFileTime(1767225600);
    EXPECT_EQ(ft, 134116992000000000ULL);
    EXPECT_EQ(fromFileTime(ft), 1767225600);
    const std::string clock = setClockRequest(ft);
    ASSERT_EQ(clock.size(), 20u);
    EXPECT_EQ(clock.substr(0, 12), "QVX01SETDATE");
    EXPECT_EQ(clock.substr(12), fileTimeBytes(ft));
    EXPECT_EQ(fileTimeBytes(0x0102030405060708ULL), bytes({8, 7, 6, 5, 4, 3, 2, 1}));

    EXPECT_EQ(setIpRequest({{10, 0, 0, 5}}, {{255, 255, 0, 0}}, {{10, 0, 0, 1}}),
              "QVX01SETIP" + bytes({10, 0, 0, 5, 255, 255, 0, 0, 10, 0, 0, 1, 0, 0}));
    EXPECT_EQ(scanRequest(2), "QVX01SCAN" + bytes({0, '2', 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    BootParams p;
    p.show = {{1, 0, 1, 1, 0, 1}};
    EXPECT_EQ(setBootParamRequest(p), "QVX0001SETBOOTPARAM" + bytes({1, 0, 1, 1, 0, 1}));
    AddressChange a;
    a.address = 9;
    a.baudIndex = 3;
    a.ip = {{10, 1, 2, 3}};
    a.mask = {{255, 0, 0, 0}};
    a.gateway = {{10, 1, 2, 254}};
    EXPECT_EQ(setAddressData(a),
              bytes({9, 0, 0, 0, 0x80, 0x25, 0, 0, 10, 1, 2, 3, 255, 0, 0, 0, 10, 1, 2, 254}));
}

TEST(SignRequests, ParsersReadTheLayoutsAndRefuseOtherBytes) {
    // The bytes as laid out, not as built.
    EXPECT_EQ(parseSetClockRequest("QVX01SETDATE" + bytes({8, 7, 6, 5, 4, 3, 2, 1})),
              0x0102030405060708ULL);
    EXPECT_EQ(parseFileTimeBytes(bytes({8, 7, 6, 5, 4, 3, 2, 1, 99})), 0x0102030405060708ULL);
    const auto network =
        parseSetIpRequest("QVX01SETIP" + bytes({10, 0, 0, 5, 255, 255, 0, 0, 10, 0, 0, 1, 0, 0}));
    ASSERT_TRUE(network);
    EXPECT_EQ(network->ip, (Ipv4{{10, 0, 0, 5}}));
    EXPECT_EQ(network->mask, (Ipv4{{255, 255, 0, 0}}));
    EXPECT_EQ(network->gateway, (Ipv4{{10, 0, 0, 1}}));
    EXPECT_EQ(parseScanRequest("QVX01SCAN" + bytes({0, '3', 0, 0, 0, 0, 0, 0, 0, 0, 0})), 3);
    const auto boot = parseSetBootParamRequest("QVX0001SETBOOTPARAM" + bytes({1, 0, 7, 1, 0, 1}));
    ASSERT_TRUE(boot);
    EXPECT_EQ(boot->show, (std::array<uint8_t, 6>{{1, 0, 1, 1, 0, 1}}));
    EXPECT_EQ(parseBootParamBytes(bytes({0, 0, 1, 0, 0, 1}))->show,
              (std::array<uint8_t, 6>{{0, 0, 1, 0, 0, 1}}));
    const auto change = parseSetAddressData(
        bytes({9, 0, 0, 0, 0x80, 0x25, 0, 0, 10, 1, 2, 3, 255, 0, 0, 0, 10, 1, 2, 254}));
    ASSERT_TRUE(change);
    EXPECT_EQ(change->address, 9);
    EXPECT_EQ(change->baudIndex, 3);  // 9600
    EXPECT_EQ(change->ip, (Ipv4{{10, 1, 2, 3}}));
    EXPECT_EQ(change->mask, (Ipv4{{255, 0, 0, 0}}));
    EXPECT_EQ(change->gateway, (Ipv4{{10, 1, 2, 254}}));

    // Another word, one byte short or long, a value out of range: no request.
    const std::string clock = setClockRequest(1);
    EXPECT_FALSE(parseSetClockRequest("QVX01SETDATX" + clock.substr(12)));
    EXPECT_FALSE(parseSetClockRequest(clock.substr(0, 19)));
    EXPECT_FALSE(parseSetClockRequest(clock + '\0'));
    EXPECT_FALSE(parseFileTimeBytes(bytes({1, 2, 3, 4, 5, 6, 7})));
    EXPECT_FALSE(parseSetIpRequest(setIpRequest({}, {}, {}).substr(0, 23)));
    EXPECT_FALSE(parseScanRequest("QVX01SCAN" + bytes({0, '4', 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_FALSE(parseSetBootParamRequest("QVX0001SETBOOTPARAM" + bytes({1, 1, 1})));
    EXPECT_FALSE(parseBootParamBytes(bytes({1, 1, 1, 1, 1})));
    EXPECT_FALSE(parseSetAddressData(
        bytes({9, 0, 0, 0, 0x81, 0x25, 0, 0, 10, 1, 2, 3, 255, 0, 0, 0, 10, 1, 2, 254})));
    EXPECT_FALSE(parseSetAddressData(setAddressData(AddressChange{}).substr(0, 19)));
}

TEST(SignRequests, WhatIsBuiltParsesBack) {
    for (uint64_t ft : {uint64_t(0), toFileTime(1767225600, 123456700), ~uint64_t(0)}) {
        EXPECT_EQ(parseSetClockRequest(setClockRequest(ft)), ft);
        EXPECT_EQ(parseFileTimeBytes(fileTimeBytes(ft)), ft);
    }
    for (int direction = 0; direction < 4; ++direction)
        EXPECT_EQ(parseScanRequest(scanRequest(direction)), direction);
    BootParams p;
    p.show = {{0, 1, 1, 0, 1, 0}};
    EXPECT_EQ(parseSetBootParamRequest(setBootParamRequest(p)), p);
    EXPECT_EQ(parseBootParamBytes(bootParamBytes(p)), p);
    const Ipv4 ip{{192, 168, 7, 9}}, mask{{255, 255, 255, 0}}, gateway{{192, 168, 7, 1}};
    const auto network = parseSetIpRequest(setIpRequest(ip, mask, gateway));
    ASSERT_TRUE(network);
    EXPECT_EQ(network->ip, ip);
    EXPECT_EQ(network->mask, mask);
    EXPECT_EQ(network->gateway, gateway);
    for (int baudIndex = 0; baudIndex < 8; ++baudIndex) {
        AddressChange a;
        a.address = 254;
        a.baudIndex = baudIndex;
        a.ip = ip;
        const auto back = parseSetAddressData(setAddressData(a));
        ASSERT_TRUE(back) << baudIndex;
        EXPECT_EQ(back->address, 254);
        EXPECT_EQ(back->baudIndex, baudIndex);
        EXPECT_EQ(back->ip, ip);
    }
}

TEST(SignRequests, UploadFolderFromThePrepareReply) {
    struct Case {
        std::string reply, folder;
    };
    const Case cases[] = {
        {"QVX0001ACKDATA1", "DATA1"},
        {"QVX0001ACKDATA2", "DATA2"},
        {"QVX0001ACK", ""},
        {"QVX0001ACKDATA1\r\n", "DATA1\r\n"},
        {"QVX0001ACKDATA2XYZ", "DATA2XYZ"},
        {std::string("QVX0001ACK\0DATA1", 16), ""},  // text ends at its NUL
        {"DATA1", "DATA1"},
    };
    for (const Case& c : cases) EXPECT_EQ(remoteFolderFromReply(c.reply), c.folder) << c.reply;
    EXPECT_TRUE(replyRefuses("QVX0001ERROR"));
    EXPECT_FALSE(replyRefuses("QVX0001ACKDATA1"));
}

TEST(SignRequests, BootParamsMustStartTheReply) {
    auto net = parseBootParams("QVX0001ACKBOOTPARAM:101100", "QVX0001ACKBOOTPARAM:");
    ASSERT_TRUE(net);
    EXPECT_EQ(net->show, (std::array<uint8_t, 6>{{1, 0, 1, 1, 0, 0}}));
    EXPECT_TRUE(parseBootParams("BOOTPARAM:000001", "BOOTPARAM:"));
    EXPECT_FALSE(parseBootParams("XBOOTPARAM:000001", "BOOTPARAM:"));
    EXPECT_FALSE(parseBootParams("BOOTPARAM:0001", "BOOTPARAM:"));
    EXPECT_EQ(formatIp({{192, 168, 0, 6}}), "192.168.0.6");
    EXPECT_EQ(parseIp("10.0.0.5"), (Ipv4{{10, 0, 0, 5}}));
    EXPECT_FALSE(parseIp("10.0.0.256"));
    EXPECT_FALSE(parseIp("10.0.0"));
}

TEST(SignRequests, NetworkSettingsChecksInTheirOrder) {
    const std::string ip =
        "Sorry !!! New IP address is error!\r\nPlease input new IP address again.";
    const std::string mask = "Sorry !!! Subnet mask is error!\r\nPlease input subnet mask again.";
    const std::string gw =
        "Sorry !!! Default gateway is error!\r\nPlease input default gateway again.";
    struct Case {
        Ipv4 ip, mask, gateway;
        std::string refusal;
    };
    const Case cases[] = {
        {{{192, 168, 0, 0}}, {{255, 255, 255, 0}}, {{192, 168, 0, 1}}, ip},
        {{{0, 168, 0, 5}}, {{0, 0, 0, 0}}, {{0, 0, 0, 0}}, ip},
        {{{10, 0, 0, 5}}, {{0, 255, 0, 0}}, {{10, 0, 0, 1}}, mask},
        {{{10, 0, 0, 5}}, {{255, 0, 0, 0}}, {{192, 168, 0, 1}}, gw},
        {{{10, 0, 0, 5}}, {{255, 0, 0, 0}}, {{0, 0, 0, 1}}, gw},
        {{{10, 0, 0, 5}}, {{255, 0, 0, 0}}, {{10, 0, 0, 1}}, ""},
    };
    for (const Case& c : cases) {
        auto refusal = refuseNetworkSettings(c.ip, c.mask, c.gateway);
        EXPECT_EQ(refusal.value_or(""), c.refusal) << formatIp(c.ip);
    }
}

TEST(UpdateFile, FirmwareGetsItsCountAndSum) {
    std::vector<uint8_t> prepared;
    ASSERT_TRUE(prepareUpdateBytes(UpdateKind::Firmware, updateFile(0, 0, {1, 2, 3}), prepared));
    EXPECT_EQ(prepared, updateFile(3, 6, {1, 2, 3}));
    EXPECT_EQ(std::vector<uint8_t>(prepared.begin() + 8, prepared.begin() + 16),
              (std::vector<uint8_t>{3, 0, 0, 0, 6, 0, 0, 0}));
}

TEST(UpdateFile, RefusedAndAcceptedFiles) {
    struct Case {
        const char* what;
        UpdateKind kind;
        std::vector<uint8_t> file;
        bool ok;
    };
    std::vector<uint8_t> badMark = updateFile(0, 0, {1});
    badMark[7] = 'X';
    const Case cases[] = {
        {"firmware with a length already", UpdateKind::Firmware, updateFile(3, 0, {1, 2, 3}),
         false},
        {"firmware with a sum already", UpdateKind::Firmware, updateFile(0, 6, {1, 2, 3}), false},
        {"firmware with a bad mark", UpdateKind::Firmware, badMark, false},
        {"firmware shorter than its header", UpdateKind::Firmware, {'Z', 'O', 'S'}, false},
        {"font with a right header", UpdateKind::Font, updateFile(3, 0x1FF, {0xFF, 0xFF, 1}), true},
        {"font with one byte changed", UpdateKind::Font, updateFile(3, 0x1FF, {0xFF, 0xFE, 1}),
         false},
        {"font with the sum adjusted", UpdateKind::Font, updateFile(3, 0x1FE, {0xFF, 0xFE, 1}),
         true},
        {"font without length", UpdateKind::Font, updateFile(0, 0, {}), false},
        {"font with a wrong length", UpdateKind::Font, updateFile(4, 0x1FF, {0xFF, 0xFF, 1}),
         false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> prepared;
        EXPECT_EQ(prepareUpdateBytes(c.kind, c.file, prepared), c.ok) << c.what;
        if (c.ok && c.kind == UpdateKind::Font) {
            EXPECT_EQ(prepared, std::vector<uint8_t>(c.file.begin() + 16, c.file.end())) << c.what;
        }
    }
}

TEST(UpdateFile, PreparingEmptiesTheWorkspaceEvenWhenRefused) {
    const testkit::ScratchFolder scratch("bl_update");
    const fs::path dir = scratch.path();
    const std::string ws = (dir / "ws").string();
    ASSERT_TRUE(cleanWorkspace(ws));
    ASSERT_TRUE(writeFileAtomically(ws + "/70001001.JPG", {1, 2}));
    ASSERT_TRUE(writeFileAtomically((dir / "bad.WOS").string(), updateFile(1, 0, {9})));
    ASSERT_TRUE(writeFileAtomically((dir / "good.WFN").string(), updateFile(1, 9, {9})));
    RecordingMessages messages;
    EXPECT_FALSE(prepareUpdate(UpdateKind::Firmware, (dir / "bad.WOS").string(), ws, messages));
    EXPECT_FALSE(fs::exists(ws + "/70001001.JPG"));
    EXPECT_TRUE(fs::exists(ws + "/data"));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              "File " + (dir / "bad.WOS").string() +
                  " format unknown.\na firmware file carries no length or sum in its header");
    EXPECT_EQ(messages.messages()[0].caption, "INFO");
    EXPECT_EQ(messages.messages()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(prepareUpdate(UpdateKind::Font, (dir / "good.WFN").string(), ws, messages));
    std::vector<uint8_t> got;
    ASSERT_TRUE(readWholeFile(ws + "/ezfon.bin", got));
    EXPECT_EQ(got, std::vector<uint8_t>{9});
}

TEST(CommSettings, DefaultsOutOfRangeChunkSizeAndRoundTrip) {
    const testkit::ScratchFolder scratch("bl_profile");
    const fs::path file = scratch.file("profile.ini");
    Profile profile(file.string());
    CommSettings s = CommSettings::read(profile);
    EXPECT_EQ(s.ledName, "Sample LED");
    EXPECT_EQ(s.host, "192.168.0.6");
    EXPECT_EQ(s.mtuIndex, 5);
    EXPECT_EQ(s.modemPort, -1);
    EXPECT_EQ(s.width, 256);
    EXPECT_EQ(s.height, 128);
    EXPECT_EQ(s.gateway, (Ipv4{{192, 168, 0, 1}}));
    EXPECT_EQ(s.boot.show, (std::array<uint8_t, 6>{{1, 1, 1, 1, 1, 1}}));
    profile.writeInt("SET", "COM232_MTU", 6);
    EXPECT_EQ(CommSettings::read(profile).mtuIndex, 5);
    profile.writeInt("SET", "COM232_MTU", 2);
    EXPECT_EQ(CommSettings::read(profile).mtuIndex, 2);

    s.port = 2;
    s.address = 17;
    s.host = "sign.local";
    s.ip = {{10, 0, 0, 9}};
    s.ledName = "Hall";
    s.boot.show = {{0, 1, 0, 1, 0, 1}};
    s.writeLedSet(profile);
    s.writeBootParams(profile);
    Profile again(file.string());
    const CommSettings r = CommSettings::read(again);
    EXPECT_EQ(r.port, 2);
    EXPECT_EQ(r.address, 17);
    EXPECT_EQ(r.host, "sign.local");
    EXPECT_EQ(r.ip, s.ip);
    EXPECT_EQ(r.ledName, "Hall");
    EXPECT_EQ(r.boot.show, s.boot.show);
    EXPECT_EQ(again.getInt("SET", "Show_Firmware_Version", 9), 1);

    profile.writeString("SET", "COM3_DEVICE", "/dev/pts/77");
    EXPECT_EQ(serialDeviceForPort(profile, 3), "/dev/pts/77");
    const std::string com9 = serialDeviceForPort(profile, 9);
    EXPECT_TRUE(com9 == "/dev/ttyUSB8" || com9 == "/dev/ttyS8") << com9;
}
