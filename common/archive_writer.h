#pragma once
// Writes the object archive stream that the program, schedule, sign list and user files share.
//
// One writer is one stream: it keeps the class-and-object map (numbered from 1 in order of first
// appearance, classes and objects sharing the numbering), so the first object of a class is
// preceded by the new-class record (0xFFFF, schema, name length, name) and every later one by
// the class tag 0x8000 | class number.
#include <cstdint>
#include <map>
#include <string>

#include "common/byte_writer.h"

namespace brightline {

class ArchiveWriter {
  public:
    explicit ArchiveWriter(ByteWriter& out) : out_(out) {}

    ByteWriter& out() { return out_; }

    // An object list's element count: uint16 below 0xFFFF, else 0xFFFF and a uint32.
    void writeCount(uint32_t count);
    // A string as 0xFF, 0xFFFE (UTF-16 marker), the length in UTF-16 units in the shortest of
    // the three length forms, then the UTF-16LE units. `utf8` is converted; bad UTF-8 bytes
    // become U+FFFD.
    void writeString(const std::string& utf8);
    // The reference that announces a new, distinct object of `className`; the object's own
    // fields follow.
    void beginObject(const std::string& className, uint16_t schema = 1);

  private:
    ByteWriter& out_;
    std::map<std::string, uint32_t> classNumbers_;
    uint32_t mapCount_ = 1;  // next map number; 0 is the null reference
};

}  // namespace brightline
