#include <gtest/gtest.h>

#include <random>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/testing/scratch_folder.h"
#include "editor/program_data.h"

namespace brightline {
namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}
void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

// The bytes of one CElement's own fields as the program file holds them.
void putElement(Bytes& b, const CElement& e) {
    for (int32_t v : {e.moveIn, e.moveOut, e.speed, e.start, e.hold, e.barRect.left, e.barRect.top,
                      e.barRect.right, e.barRect.bottom, e.thumbIndex})
        put32(b, v);
    b.push_back(0xFF);
    put16(b, 0xFFFE);
    b.push_back(static_cast<uint8_t>(e.path.size()));  // ASCII paths below 255 in these tests
    for (char c : e.path) put16(b, static_cast<uint8_t>(c));
}

// A program file built by hand: four lists of one element each.
Bytes handMadeProgram(const std::array<CElement, 4>& elements) {
    Bytes b = {'Z', 'P', 'F', 0};
    put32(b, 320);
    put32(b, 96);
    put32(b, 2);
    for (int line = 0; line < 8; ++line) {
        for (int32_t v : {line, -3, line + 6, 96, 0, line & 1, 1, -1, line - 1}) put32(b, v);
    }
    for (int slot = 0; slot < 4; ++slot) {
        put16(b, 1);
        if (slot == 0) {
            put16(b, 0xFFFF);
            put16(b, 1);
            put16(b, 8);
            for (char c : std::string("CElement")) b.push_back(static_cast<uint8_t>(c));
        } else {
            put16(b, 0x8001);
        }
        putElement(b, elements[slot]);
    }
    return b;
}

std::array<CElement, 4> sampleElements() {
    std::array<CElement, 4> e;
    e[0].path = "C:\\pics\\back.bmp";
    e[0].thumbIndex = 2;
    e[1].path = "";
    e[1].moveIn = 10;
    e[1].moveOut = -1;
    e[1].barRect = {100, 5, 103, 25};
    e[2].path = "/home/op/clip.AVI";
    e[2].hold = 0;
    e[2].speed = 7;
    e[3].start = 12;
    return e;
}

TEST(ProgramFile, HandMadeFileLoadsAndWritesBackByteForByte) {
    Bytes file = handMadeProgram(sampleElements());
    ProgramData p;
    ASSERT_EQ(decodeProgram(file.data(), file.size(), p), ProgramLoadResult::Loaded);
    EXPECT_EQ(p.ledWidth, 320);
    EXPECT_EQ(p.ledHeight, 96);
    EXPECT_EQ(p.areaFormat, 2);
    EXPECT_EQ(p.regionLines[3].band, (Rect{3, -3, 9, 96}));
    EXPECT_EQ(p.regionLines[3].horizontal, 1);
    EXPECT_EQ(p.regionLines[3].endLineB, 2);
    auto expected = sampleElements();
    for (int s = 0; s < 4; ++s) {
        ASSERT_EQ(p.areaLists[s].size(), 1u);
        EXPECT_EQ(p.areaLists[s][0], expected[s]) << s;
    }
    EXPECT_EQ(encodeProgram(p), file);
}

TEST(ProgramFile, ClassNameOnceAfterTheFirstCountThenTagged) {
    ProgramData p;
    p.resetToDefaultElements();
    Bytes b = encodeProgram(p);
    ASSERT_EQ(b.size(), 304u + (2 + 14 + 44) + 3 * (2 + 2 + 44));
    // After the 304-byte header: count 1, the new-class record, then the element.
    EXPECT_EQ(Bytes(b.begin() + 304, b.begin() + 320),
              (Bytes{1, 0, 0xFF, 0xFF, 1, 0, 8, 0, 'C', 'E', 'l', 'e', 'm', 'e', 'n', 't'}));
    // Default element: moveIn 0, moveOut 0, speed 0, start 0, hold 3, barRect 0, thumbIndex -1,
    // empty path FF FE FF 00.
    Bytes element(b.begin() + 320, b.begin() + 364);
    EXPECT_EQ(element[16], 3);
    EXPECT_EQ(Bytes(element.begin() + 36, element.end()),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}));
    // The next three lists: count 1 and the tag 0x8001.
    for (size_t at : {364u, 412u, 460u})
        EXPECT_EQ(Bytes(b.begin() + at, b.begin() + at + 4), (Bytes{1, 0, 0x01, 0x80}));
}

TEST(ProgramFile, LongPathUsesTheThreeByteLength) {
    ProgramData p;
    p.resetToDefaultElements();
    p.areaLists[0][0].path = std::string(300, 'p');
    Bytes b = encodeProgram(p);
    size_t at = 320 + 40;  // after the ten numbers
    EXPECT_EQ(Bytes(b.begin() + at, b.begin() + at + 6),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    EXPECT_EQ(b[at + 6], 'p');
    EXPECT_EQ(b[at + 7], 0);
    ProgramData back;
    ASSERT_EQ(decodeProgram(b.data(), b.size(), back), ProgramLoadResult::Loaded);
    EXPECT_EQ(back.areaLists[0][0].path, std::string(300, 'p'));
}

TEST(ProgramFile, WrongMarkLeavesTheProgramUntouched) {
    ProgramData p;
    p.resetToDefaultElements();
    p.ledWidth = 77;
    for (Bytes bad : {Bytes{'Z', 'P', 'G', 0, 1, 2, 3, 4}, Bytes{'Z', 'P', 'F', 'X'},
                      Bytes{'Z', 'P'}, Bytes{}}) {
        EXPECT_EQ(decodeProgram(bad.data(), bad.size(), p), ProgramLoadResult::NotAProgram);
        EXPECT_EQ(p.ledWidth, 77);
        EXPECT_EQ(p.areaLists[2].size(), 1u);
    }
}

TEST(ProgramFile, EveryPrefixIsUnreadableWithEmptyListsAndNoOverread) {
    Bytes file = handMadeProgram(sampleElements());
    for (size_t cut = 4; cut < file.size(); ++cut) {
        ProgramData p;
        p.resetToDefaultElements();
        Bytes prefix(file.begin(), file.begin() + static_cast<long>(cut));
        std::string error;
        ASSERT_EQ(decodeProgram(prefix.data(), prefix.size(), p, &error),
                  ProgramLoadResult::Unreadable)
            << cut;
        EXPECT_FALSE(error.empty());
        for (const auto& list : p.areaLists) EXPECT_TRUE(list.empty()) << cut;
        // Header values read whole stay; the others keep what they were.
        EXPECT_EQ(p.ledWidth, cut >= 8 ? 320 : 256) << cut;
    }
}

TEST(ProgramFile, RandomByteFlipsNeverCrashOrHalfLoad) {
    Bytes file = handMadeProgram(sampleElements());
    std::mt19937 rng(20261207);
    int loaded = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes b = file;
        int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i)
            b[rng() % b.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        ProgramData p;
        ProgramLoadResult r = decodeProgram(b.data(), b.size(), p);
        if (r == ProgramLoadResult::Unreadable) {
            for (const auto& list : p.areaLists) ASSERT_TRUE(list.empty());
        }
        if (r == ProgramLoadResult::Loaded) {
            ++loaded;
            for (const auto& list : p.areaLists) ASSERT_LE(list.size(), 1u);
        }
    }
    EXPECT_GT(loaded, 0);  // flips in plain numbers still load
}

TEST(ProgramFile, SaveAndLoadThroughTheFileSystem) {
    testkit::ScratchFolder scratch("bl_program_file");
    const std::string dir = scratch.path();
    std::string path = dir + "/show.ZPF";
    ProgramData p;
    p.resetToDefaultElements();
    p.areaLists[1].push_back(CElement{"C:\\a.jpg", 0, 4, 5, 1, 3, 7, Rect{1, 2, 3, 4}});
    EXPECT_FALSE(p.needsMake);
    ASSERT_TRUE(saveProgram(path, p));
    EXPECT_TRUE(p.needsMake);

    ProgramData back;
    ASSERT_EQ(loadProgram(path, back), ProgramLoadResult::Loaded);
    EXPECT_EQ(back.areaLists, p.areaLists);
    EXPECT_FALSE(back.needsMake);  // not stored

    // A save that cannot be written reports it, keeps the old file and leaves needsMake alone.
    ProgramData other;
    other.ledWidth = 1;
    std::string error;
    EXPECT_FALSE(saveProgram(dir + "/no/such/folder/x.ZPF", other, &error));
    EXPECT_FALSE(other.needsMake);
    EXPECT_FALSE(error.empty());

    // A file that cannot be opened is Unreadable with the lists emptied.
    EXPECT_EQ(loadProgram(dir + "/missing.ZPF", back), ProgramLoadResult::Unreadable);
    for (const auto& list : back.areaLists) EXPECT_TRUE(list.empty());
}

TEST(ProgramFile, DefaultProgramHasOneEmptyBackgroundPerArea) {
    ProgramData p;
    p.resetToDefaultElements();
    for (const auto& list : p.areaLists) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_TRUE(list[0].path.empty());
        EXPECT_EQ(list[0].hold, 3);
        EXPECT_EQ(list[0].thumbIndex, -1);
    }
    EXPECT_EQ(p.ledWidth, 256);
    EXPECT_EQ(p.ledHeight, 128);
}

}  // namespace
}  // namespace brightline

#include "editor/program_open.h"

namespace brightline {
namespace {

TEST(ProgramOpen, NewFileGetsDefaultsAndAWrongMarkIsReportedWithTheListsKept) {
    testkit::ScratchFolder scratch("bl_program_open");
    const std::string dir = scratch.path();
    RecordingMessages messages;

    ProgramData p;
    EXPECT_EQ(openProgram(dir + "/new.ZPF", p, messages), ProgramLoadResult::Unreadable);
    for (const auto& list : p.areaLists) EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(messages.messages().empty());

    std::string notProgram = dir + "/picture.ZPF";
    ASSERT_TRUE(writeFileAtomically(notProgram, {'G', 'I', 'F', '8', '9', 'a'}));
    p.areaLists[0].push_back(CElement());
    EXPECT_EQ(openProgram(notProgram, p, messages), ProgramLoadResult::NotAProgram);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, notProgram + " file open error!");
    EXPECT_EQ(messages.messages()[0].caption, "");
    EXPECT_EQ(p.areaLists[0].size(), 2u);
}

// A program file that is there but damaged opens as the empty program a new file gets, and the
// operator is told, since the first save replaces the file.
TEST(ProgramOpen, ADamagedFileIsNamedWithItsReasonAndOpensEmpty) {
    testkit::ScratchFolder scratch("bl_program_open_damaged");
    const std::string path = scratch.path() + "/shop.ZPF";
    ProgramData full;
    full.resetToDefaultElements();
    full.areaLists[0][0].path = "/pictures/left.png";
    std::vector<uint8_t> bytes = encodeProgram(full);
    bytes.resize(bytes.size() - 10);  // the last path cut short
    ASSERT_TRUE(writeFileAtomically(path, bytes));

    RecordingMessages messages;
    ProgramData p;
    EXPECT_EQ(openProgram(path, p, messages), ProgramLoadResult::Unreadable);
    for (const auto& list : p.areaLists) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_TRUE(list[0].path.empty());
    }
    ASSERT_EQ(messages.messages().size(), 1u);
    const OperatorMessage told = messages.messages()[0];
    EXPECT_EQ(told.text.rfind(path + " could not be read: ", 0), 0u) << told.text;
    EXPECT_NE(told.text.find(". It opens as an empty program, which replaces the file when it is "
                             "saved."),
              std::string::npos)
        << told.text;
    EXPECT_EQ(told.caption, "Warning!");
    EXPECT_EQ(told.icon, MessageIcon::Warning);
}

}  // namespace
}  // namespace brightline
