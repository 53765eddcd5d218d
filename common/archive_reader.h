#pragma once
// Reads the object archive stream written by ArchiveWriter (and by the original writers of the
// stored files), bounds-checked against the block it is given.
//
// Failures stick in the underlying ByteReader: check ok() after a record. Owning lists never
// hold a null or repeated object, so such references are treated as corrupt input.
#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_reader.h"

namespace brightline {

class ArchiveReader {
  public:
    explicit ArchiveReader(ByteReader& in) : in_(in) {}

    ByteReader& in() { return in_; }
    bool ok() const { return in_.ok(); }
    const std::string& error() const { return in_.error(); }

    // An object list's count, both forms. A count that could not possibly fit in what is left
    // (each object needs at least its 2-byte tag) fails the reader.
    uint32_t readCount();
    // A string in any of the archive's forms: UTF-16 with the 0xFFFE marker, or 8-bit text in
    // the OEM code page. Returned as UTF-8.
    std::string readString();
    // Reads the reference in front of a new object and checks it names `className` with
    // `schema`. False (and the reader failed) otherwise.
    bool readNewObject(const char* className, uint16_t schema = 1);

  private:
    ByteReader& in_;
    // Map numbers from 1: the class name for class entries, empty for objects.
    std::vector<std::string> map_{std::string()};
};

// Reads an object list of `className` records into `out` (replacing it), calling
// `readFields(reader, record)` for each record's own fields. On any failure `out` is left
// empty and false is returned.
template <class Record, class ReadFields>
bool readObjectList(ArchiveReader& ar, const char* className, std::vector<Record>& out,
                    ReadFields readFields) {
    out.clear();
    uint32_t count = ar.readCount();
    if (!ar.ok()) return false;
    std::vector<Record> records;
    records.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (!ar.readNewObject(className)) return false;
        Record r;
        readFields(ar, r);
        if (!ar.ok()) return false;
        records.push_back(std::move(r));
    }
    out = std::move(records);
    return true;
}

}  // namespace brightline
