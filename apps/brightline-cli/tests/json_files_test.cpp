#include <gtest/gtest.h>

#include "apps/brightline-cli/json_files.h"
#include "editor/program_data.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

struct Maker {
    Bytes b;
    Maker& raw(std::initializer_list<int> bytes) {
        for (int v : bytes) b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Maker& text(const std::string& s) {
        for (char c : s) b.push_back(static_cast<uint8_t>(c));
        return *this;
    }
    Maker& i32(int32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Maker& str(const std::u16string& s) {
        raw({0xFF, 0xFE, 0xFF, static_cast<int>(s.size())});
        for (char16_t c : s) raw({c & 0xFF, c >> 8});
        return *this;
    }
    Maker& newClass(const std::string& name) {
        raw({0xFF, 0xFF, 1, 0, static_cast<int>(name.size()), 0});
        return text(name);
    }
};

// Hand-made files of every kind, written byte by byte as the sign's tools write them.
std::vector<std::pair<std::string, Bytes>> handMadeFiles() {
    std::vector<std::pair<std::string, Bytes>> files;

    Maker program;
    program.text("ZPF").raw({0}).i32(192).i32(64).i32(3);
    for (int line = 0; line < 8; ++line)
        program.i32(61).i32(-3).i32(67).i32(64).i32(0).i32(0).i32(line ? 0 : 1).i32(-1).i32(-1);
    program.raw({2, 0}).newClass("CElement");
    program.i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(3).str(
        u"C:\\a\\b.PNG");
    program.raw({0x01, 0x80})
        .i32(12)
        .i32(33)
        .i32(4)
        .i32(0)
        .i32(9)
        .i32(70)
        .i32(3)
        .i32(79)
        .i32(23)
        .i32(0)
        .str(u"C:\\图\\c.jpg");
    program.raw({0, 0, 1, 0, 0x01, 0x80})
        .i32(-1)
        .i32(-1)
        .i32(0)
        .i32(0)
        .i32(3)
        .i32(0)
        .i32(0)
        .i32(0)
        .i32(0)
        .i32(-1)
        .str(u"");
    program.raw({0, 0});
    files.push_back({"program", program.b});

    Maker schedule;
    schedule.text("SCH").raw({0, 1, 0}).newClass("CAT_Data");
    schedule.i32(1);
    for (int i = 0; i < 7; ++i) schedule.i32(0);
    for (int i = 0; i < 12; ++i) schedule.i32(0);
    for (int i = 0; i < 31; ++i) schedule.i32(i == 0 || i == 30);
    for (int32_t v : {6, 30, 22, 0, 1, 1, 2026, 12, 7, 2027, 1, 31}) schedule.i32(v);
    schedule.str(u"/home/op/shows/night.ZPF");
    files.push_back({"schedule", schedule.b});

    Maker signs;
    signs.text("LED").raw({0}).i32(0).raw({2, 0}).newClass("CLED_Set_Data");
    signs.i32(0)
        .i32(7)
        .i32(1)
        .i32(96)
        .i32(128)
        .str(u"Sample LED")
        .i32(6)
        .raw({192, 168, 0, 6})
        .str(u"192.168.0.6");
    signs.raw({0x01, 0x80})
        .i32(3)
        .i32(4)
        .i32(254)
        .i32(16)
        .i32(512)
        .str(u"Platform 2")
        .i32(2)
        .raw({10, 1, 2, 3})
        .str(u"");
    files.push_back({"signs", signs.b});

    Maker users;
    users.text("UPW")
        .raw({0, 1, 0})
        .newClass("CUserInfo")
        .str(u"admin")
        .str(u"21232F297A57A5A743894A0E4A801FC3");
    files.push_back({"users", users.b});

    Maker library;
    library.text("ZRC").raw({0});
    for (char16_t c : std::u16string(u"C:\\p\\a.jpg\r/x/图.png\r")) library.raw({c & 0xFF, c >> 8});
    files.push_back({"library", library.b});
    return files;
}

TEST(JsonFiles, InspectThenBuildGivesBackTheSameBytesForEveryKind) {
    for (const auto& [kind, bytes] : handMadeFiles()) {
        nlohmann::ordered_json doc = fileToJson(bytes);
        EXPECT_EQ(doc["kind"], kind);
        // Through the text form, as the command line does it.
        nlohmann::json parsed = nlohmann::json::parse(doc.dump(2));
        EXPECT_EQ(jsonToFile(parsed), bytes) << kind;
    }
}

TEST(JsonFiles, FieldsUnderTheirOwnNames) {
    auto files = handMadeFiles();
    nlohmann::ordered_json program = fileToJson(files[0].second);
    EXPECT_EQ(program["ledWidth"], 192);
    EXPECT_EQ(program["areaLists"][0][1]["path"], "C:\\图\\c.jpg");
    EXPECT_EQ(program["areaLists"][0][1]["barRect"],
              nlohmann::ordered_json::array({70, 3, 79, 23}));
    EXPECT_EQ(program["regionLines"][0]["role"], 1);
    nlohmann::ordered_json signs = fileToJson(files[2].second);
    EXPECT_EQ(signs["signs"][1]["ip"], nlohmann::ordered_json::array({10, 1, 2, 3}));
    nlohmann::ordered_json schedule = fileToJson(files[1].second);
    EXPECT_EQ(schedule["entries"][0]["description"],
              "Day: 1  31    Start Time:06:30 End Time:22:00 ");  // both dates open
}

TEST(JsonFiles, BadDocumentsNameTheField) {
    auto expectError = [](const std::string& text, const std::string& needle) {
        try {
            jsonToFile(nlohmann::json::parse(text));
            ADD_FAILURE() << "no error for " << text;
        } catch (const FileFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(needle), std::string::npos) << e.what();
        }
    };
    expectError(R"({"kind":"robot"})", "unknown kind");
    expectError(R"([1,2])", "object");
    expectError(R"({"kind":"users","users":[{"userName":"a"}]})",
                "users[0].passwordHash is missing");
    expectError(R"({"kind":"users","users":[{"userName":5,"passwordHash":"x"}]})",
                "users[0].userName must be a string");
    expectError(
        R"({"kind":"signs","reserved":0,"signs":[{"name":"a","port":0,"baudIndex":0,"address":1,"width":1,"height":1,"mtuIndex":0,"ip":[1,2,3,256],"host":""}]})",
        "0..255");
    expectError(R"({"kind":"library","paths":[""]})", "paths[0]");
    expectError(R"({"kind":"schedule","entries":[{"kind":0,"weekdays":[0,0,0]}]})",
                "weekdays must be 7 numbers");
    expectError(R"({"kind":"program","ledWidth":4294967296})", "32-bit");
    // A misspelt or foreign field is refused rather than dropped, in every kind.
    expectError(R"({"kind":"users","users":[{"userName":"a","passwordHash":"x","role":1}]})",
                "users[0].role is not a field here");
    expectError(R"({"kind":"library","path":["a.jpg"],"paths":[]})", "path is not a field here");
    expectError(
        R"({"kind":"signs","reserved":0,"signs":[{"name":"a","port":0,"baudIndex":0,"address":1,"width":1,"height":1,"mtuIndex":0,"ip":[1,2,3,4],"host":"","baud":9600}]})",
        "signs[0].baud is not a field here");
    expectError(R"({"kind":"schedule","entries":[],"programs":[]})",
                "programs is not a field here");
}

TEST(JsonFiles, CorruptAndUnknownFilesAreRefusedWithAReason) {
    auto files = handMadeFiles();
    for (const auto& [kind, bytes] : files) {
        if (kind == "library") continue;  // every library prefix past the mark is a library
        Bytes cut(bytes.begin(), bytes.end() - 3);
        try {
            fileToJson(cut);
            ADD_FAILURE() << kind;
        } catch (const FileFormatError& e) {
            EXPECT_NE(std::string(e.what()).find("corrupt"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(fileToJson(Bytes{'G', 'I', 'F', '8'}), FileFormatError);
}

}  // namespace
}  // namespace brightline
