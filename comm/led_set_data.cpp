#include "comm/led_set_data.h"

#include "common/sign_size.h"

#include <cstring>

#include "common/file_io.h"

namespace brightline {
namespace {
constexpr char kMark[4] = {'L', 'E', 'D', 0};
}  // namespace

void CLED_Set_Data::serialize(ArchiveWriter& ar) const {
    ByteWriter& out = ar.out();
    out.i32(port);
    out.i32(baudIndex);
    out.i32(address);
    out.i32(height);
    out.i32(width);
    ar.writeString(name);
    out.i32(mtuIndex);
    out.bytes(ip.data(), 4);
    ar.writeString(host);
}

void CLED_Set_Data::deserialize(ArchiveReader& ar) {
    ByteReader& in = ar.in();
    port = in.i32();
    baudIndex = in.i32();
    address = in.i32();
    height = in.i32();
    width = in.i32();
    name = ar.readString();
    mtuIndex = in.i32();
    in.bytes(ip.data(), 4);
    host = ar.readString();
}

bool CLED_Set_Data::operator==(const CLED_Set_Data& o) const {
    return baudIndex == o.baudIndex && address == o.address && height == o.height &&
           port == o.port && width == o.width && name == o.name && mtuIndex == o.mtuIndex &&
           ip == o.ip && host == o.host;
}

CLED_Set_Data* SignList::find(const std::string& name) {
    for (auto& s : signs)
        if (s.name == name) return &s;
    return nullptr;
}

const CLED_Set_Data* SignList::find(const std::string& name) const {
    for (const auto& s : signs)
        if (s.name == name) return &s;
    return nullptr;
}

CLED_Set_Data defaultSignRecord(const std::array<uint8_t, 4>& ip, const std::string& host) {
    CLED_Set_Data record;
    record.name = kDefaultSignName;
    record.baudIndex = 7;
    record.address = 1;
    record.height = 96;
    record.port = 0;
    record.width = 128;
    record.mtuIndex = 6;
    record.ip = ip;
    record.host = host;
    return record;
}

std::vector<uint8_t> encodeSignList(const SignList& list) {
    ByteWriter out;
    out.bytes(kMark, 4);
    out.i32(list.reserved);
    ArchiveWriter ar(out);
    ar.writeCount(static_cast<uint32_t>(list.signs.size()));
    for (const auto& sign : list.signs) {
        ar.beginObject(CLED_Set_Data::kClassName);
        sign.serialize(ar);
    }
    return out.take();
}

bool decodeSignList(const uint8_t* data, size_t size, SignList& list, std::string* error) {
    ByteReader in(data, size);
    char mark[4] = {1, 1, 1, 1};
    in.bytes(mark, 4);
    if (!in.ok() || std::memcmp(mark, kMark, 4) != 0) {
        if (error) *error = "not a sign list (no \"LED\" mark)";
        return false;
    }
    SignList read;
    read.reserved = in.i32();
    ArchiveReader ar(in);
    if (!in.ok() || !readObjectList(ar, CLED_Set_Data::kClassName, read.signs,
                                    [](ArchiveReader& r, CLED_Set_Data& s) { s.deserialize(r); })) {
        if (error) *error = in.error();
        return false;
    }
    list = std::move(read);
    return true;
}

bool loadSignList(const std::string& path, SignList& list, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, error)) return false;
    return decodeSignList(bytes.data(), bytes.size(), list, error);
}

bool saveSignList(const std::string& path, const SignList& list, std::string* error) {
    return writeFileAtomically(path, encodeSignList(list), error);
}

}  // namespace brightline

namespace brightline {

int limitTypedSignSide(int typed, int other) {
    const int limit = signSideLimit(other);
    return typed > limit ? limit : typed;
}

}  // namespace brightline
