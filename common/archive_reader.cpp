#include "common/archive_reader.h"

#include "common/code_page.h"
#include "common/utf.h"

namespace brightline {
namespace {
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint16_t kMaxClassName = 64;
}  // namespace

uint32_t ArchiveReader::readCount() {
    uint32_t count = in_.u16();
    if (count == 0xFFFF) count = in_.u32();
    if (in_.ok() && count > in_.remaining() / 2) {
        in_.fail("object list claims " + std::to_string(count) + " objects, " +
                 std::to_string(in_.remaining()) + " bytes left");
        return 0;
    }
    return count;
}

std::string ArchiveReader::readString() {
    bool wide = false;
    uint32_t length = in_.u8();
    if (length == 0xFF) {
        length = in_.u16();
        if (length == 0xFFFE) {
            wide = true;
            length = in_.u8();
            if (length == 0xFF) {
                length = in_.u16();
                if (length == 0xFFFE) {
                    in_.fail("string with two text markers at offset " +
                             std::to_string(in_.position()));
                    return {};
                }
                if (length == 0xFFFF) length = in_.u32();
            }
        } else if (length == 0xFFFF) {
            length = in_.u32();
        }
    }
    if (!in_.ok()) return {};
    uint64_t bytes = wide ? uint64_t(length) * 2 : length;
    if (bytes > in_.remaining()) {
        in_.fail("string claims " + std::to_string(length) + " characters at offset " +
                 std::to_string(in_.position()) + ", " + std::to_string(in_.remaining()) +
                 " bytes left");
        return {};
    }
    if (wide) {
        std::u16string units(length, u'\0');
        for (uint32_t i = 0; i < length; ++i) units[i] = static_cast<char16_t>(in_.u16());
        return utf16ToUtf8(units);
    }
    std::string narrow(length, '\0');
    in_.bytes(narrow.data(), length);
    return fromOem(narrow);
}

bool ArchiveReader::readNewObject(const char* className, uint16_t schema) {
    size_t at = in_.position();
    uint16_t tag = in_.u16();
    if (!in_.ok()) return false;
    uint32_t classNumber = 0;
    if (tag == kNewClassTag) {
        uint16_t gotSchema = in_.u16();
        uint16_t nameLength = in_.u16();
        if (!in_.ok()) return false;
        if (nameLength == 0 || nameLength > kMaxClassName) {
            in_.fail("class name of " + std::to_string(nameLength) + " bytes at offset " +
                     std::to_string(at));
            return false;
        }
        std::string name(nameLength, '\0');
        if (!in_.bytes(name.data(), nameLength)) return false;
        if (name != className) {
            in_.fail("class \"" + name + "\" where \"" + className + "\" was expected");
            return false;
        }
        if (gotSchema != schema) {
            in_.fail("class " + name + " has schema " + std::to_string(gotSchema) + ", expected " +
                     std::to_string(schema));
            return false;
        }
        map_.push_back(name);
        map_.push_back(std::string());
        return true;
    }
    if (tag == kBigObjectTag) {
        uint32_t big = in_.u32();
        if (!in_.ok()) return false;
        if (!(big & kBigClassTag)) {
            in_.fail("repeated object reference at offset " + std::to_string(at));
            return false;
        }
        classNumber = big & ~kBigClassTag;
    } else if (tag & kClassTag) {
        classNumber = tag & ~kClassTag;
    } else {
        in_.fail(tag == 0 ? "null object in a list at offset " + std::to_string(at)
                          : "repeated object reference at offset " + std::to_string(at));
        return false;
    }
    if (classNumber == 0 || classNumber >= map_.size() || map_[classNumber].empty()) {
        in_.fail("unknown class number " + std::to_string(classNumber) + " at offset " +
                 std::to_string(at));
        return false;
    }
    if (map_[classNumber] != className) {
        in_.fail("class \"" + map_[classNumber] + "\" where \"" + className + "\" was expected");
        return false;
    }
    map_.push_back(std::string());
    return true;
}

}  // namespace brightline
