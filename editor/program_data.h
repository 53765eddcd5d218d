#pragma once
// The one open program: the sign size, the area format, its dividing lines and the four area
// lists; and the ".ZPF" program file that stores it.
//
// File layout (little-endian): "ZPF" 0; ledWidth, ledHeight, areaFormat (int32); the eight
// region lines inline (36 bytes each); then one archive stream with the four area lists as
// object lists of CElement, slot 0 first.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/element.h"
#include "editor/region_line.h"

namespace brightline {

inline constexpr int kAreaSlots = 4;
inline constexpr int kRegionLines = 8;
inline constexpr const char* kProgramFileFilter = "Program File (*.ZPF)|*.ZPF||";

enum class ProgramLoadResult { Unreadable = -1, NotAProgram = 0, Loaded = 1 };

struct ProgramData {
    int32_t ledWidth = 256;
    int32_t ledHeight = 128;
    int32_t areaFormat = 0;  // 0..10
    std::array<CRegion_Line, kRegionLines> regionLines{};
    // Slot 3 is stored but never played.
    std::array<std::vector<CElement>, kAreaSlots> areaLists{};
    // Set each time the file is written, cleared when a preview starts; not stored.
    bool needsMake = false;

    // Empties the four lists (releasing their elements).
    void clearLists();
    // Gives every list exactly one default (empty background) element.
    void resetToDefaultElements();
};

// The process's one open program.
ProgramData& programData();

// The bytes of the program file for `program`.
std::vector<uint8_t> encodeProgram(const ProgramData& program);

// Reads a program file's bytes into `program`.
// - NotAProgram: the mark is not "ZPF"; `program` is untouched.
// - Loaded: everything was read.
// - Unreadable: the data is cut short or corrupt (`error` says where); the four lists are left
//   empty, header values that were read whole stay.
ProgramLoadResult decodeProgram(const uint8_t* data, size_t size, ProgramData& program,
                                std::string* error = nullptr);

// Load program: as decodeProgram, with a file that cannot be opened or read giving Unreadable
// (lists emptied).
ProgramLoadResult loadProgram(const std::string& path, ProgramData& program,
                              std::string* error = nullptr);

// Save program: writes the file (atomically, so a failure leaves the old file whole) and sets
// `needsMake`. False with `error` set when the file could not be written; `needsMake` is then
// left alone.
bool saveProgram(const std::string& path, ProgramData& program, std::string* error = nullptr);

}  // namespace brightline
