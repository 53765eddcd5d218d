#include "common/archive_writer.h"

#include "common/utf.h"

namespace brightline {
namespace {
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
}  // namespace

void ArchiveWriter::writeCount(uint32_t count) {
    if (count < 0xFFFF) {
        out_.u16(static_cast<uint16_t>(count));
    } else {
        out_.u16(0xFFFF);
        out_.u32(count);
    }
}

void ArchiveWriter::writeString(const std::string& utf8) {
    std::u16string units = utf8ToUtf16(utf8);
    size_t n = units.size();
    out_.u8(0xFF);
    out_.u16(0xFFFE);
    if (n < 0xFF) {
        out_.u8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        out_.u8(0xFF);
        out_.u16(static_cast<uint16_t>(n));
    } else {
        out_.u8(0xFF);
        out_.u16(0xFFFF);
        out_.u32(static_cast<uint32_t>(n));
    }
    for (char16_t u : units) out_.u16(static_cast<uint16_t>(u));
}

void ArchiveWriter::beginObject(const std::string& className, uint16_t schema) {
    auto known = classNumbers_.find(className);
    if (known == classNumbers_.end()) {
        out_.u16(kNewClassTag);
        out_.u16(schema);
        out_.u16(static_cast<uint16_t>(className.size()));
        out_.text(className);
        classNumbers_[className] = mapCount_++;
    } else if (known->second < kBigObjectTag) {
        out_.u16(static_cast<uint16_t>(kClassTag | known->second));
    } else {
        out_.u16(kBigObjectTag);
        out_.u32(kBigClassTag | known->second);
    }
    ++mapCount_;  // the object itself
}

}  // namespace brightline
