#include "editor/program_data.h"

#include <cstring>

#include "common/archive_reader.h"
#include "common/archive_writer.h"
#include "common/file_io.h"

namespace brightline {
namespace {
constexpr char kMark[4] = {'Z', 'P', 'F', 0};
}  // namespace

void ProgramData::clearLists() {
    for (auto& list : areaLists) list.clear();
}

void ProgramData::resetToDefaultElements() {
    for (auto& list : areaLists) list.assign(1, CElement());
}

ProgramData& programData() {
    static ProgramData program;
    return program;
}

std::vector<uint8_t> encodeProgram(const ProgramData& program) {
    ByteWriter out;
    out.bytes(kMark, 4);
    out.i32(program.ledWidth);
    out.i32(program.ledHeight);
    out.i32(program.areaFormat);
    for (const CRegion_Line& line : program.regionLines) line.serialize(out);
    ArchiveWriter ar(out);
    for (const auto& list : program.areaLists) {
        ar.writeCount(static_cast<uint32_t>(list.size()));
        for (const CElement& element : list) {
            ar.beginObject(CElement::kClassName);
            element.serialize(ar);
        }
    }
    return out.take();
}

ProgramLoadResult decodeProgram(const uint8_t* data, size_t size, ProgramData& program,
                                std::string* error) {
    ByteReader in(data, size);
    char mark[4] = {1, 1, 1, 1};
    in.bytes(mark, 4);
    // The mark is compared as zero-terminated text: "ZPF" and a zero byte.
    if (!in.ok() || std::memcmp(mark, kMark, 4) != 0) {
        if (error) *error = "not a program file (no \"ZPF\" mark)";
        return ProgramLoadResult::NotAProgram;
    }
    auto fail = [&](const ByteReader& r) {
        program.clearLists();
        if (error) *error = r.error();
        return ProgramLoadResult::Unreadable;
    };
    int32_t width = in.i32();
    if (in.ok()) program.ledWidth = width;
    int32_t height = in.i32();
    if (in.ok()) program.ledHeight = height;
    int32_t format = in.i32();
    if (in.ok()) program.areaFormat = format;
    if (!in.ok()) return fail(in);

    std::array<CRegion_Line, kRegionLines> lines;
    for (CRegion_Line& line : lines) line.deserialize(in);
    if (!in.ok()) return fail(in);
    program.regionLines = lines;

    ArchiveReader ar(in);
    std::array<std::vector<CElement>, kAreaSlots> lists;
    for (auto& list : lists) {
        bool read = readObjectList(ar, CElement::kClassName, list,
                                   [](ArchiveReader& r, CElement& e) { e.deserialize(r); });
        if (!read) return fail(in);
    }
    program.areaLists = std::move(lists);
    return ProgramLoadResult::Loaded;
}

ProgramLoadResult loadProgram(const std::string& path, ProgramData& program, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, error)) {
        program.clearLists();
        return ProgramLoadResult::Unreadable;
    }
    return decodeProgram(bytes.data(), bytes.size(), program, error);
}

bool saveProgram(const std::string& path, ProgramData& program, std::string* error) {
    if (!writeFileAtomically(path, encodeProgram(program), error)) return false;
    program.needsMake = true;
    return true;
}

}  // namespace brightline
