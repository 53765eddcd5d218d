#include "media/zrt_file.h"

#include <algorithm>
#include <filesystem>

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/file_io.h"
#include "common/paths.h"

namespace brightline::media {

ZrtHeaderStatus decodeZrtHeader(const uint8_t* data, size_t size, ZrtHeader& out,
                                std::string* error) {
    if (size < kZrtHeaderSize) {
        if (error) *error = "text page header needs 60 bytes, " + std::to_string(size) + " there";
        return ZrtHeaderStatus::Short;
    }
    // A zero-terminated "ZRT" compared without regard to case: the fourth byte must end it.
    const bool markOk = (data[0] | 0x20) == 'z' && (data[1] | 0x20) == 'r' &&
                        (data[2] | 0x20) == 't' && data[3] == 0;
    ByteReader r(data, size);
    r.u32();
    ZrtHeader h;
    h.version = r.i32();
    if (!markOk || h.version != 1) {
        if (error)
            *error = markOk ? "text page version " + std::to_string(h.version) + " is not 1"
                            : "not a text page (no \"ZRT\" mark)";
        return ZrtHeaderStatus::WrongMark;
    }
    ByteReader g(data + 8, kZrtHeaderSize - 8);
    h.fontOffset = g.u32();
    h.fontCount = g.i32();
    h.pictureOffset = g.u32();
    h.pictureCount = g.i32();
    h.reserved = g.i32();
    h.runCount = g.i32();
    h.runBytes = g.i32();
    h.textLength = g.i32();
    h.layout = g.i32();
    h.width = g.i32();
    h.height = g.i32();
    h.pageOffset = g.u32();
    h.pageCount = g.i32();
    out = h;
    return ZrtHeaderStatus::Ok;
}

std::array<uint8_t, kZrtHeaderSize> encodeZrtHeader(const ZrtHeader& h) {
    ByteWriter w;
    w.bytes("ZRT", 4);
    w.i32(h.version);
    w.u32(h.fontOffset);
    w.i32(h.fontCount);
    w.u32(h.pictureOffset);
    w.i32(h.pictureCount);
    w.i32(h.reserved);
    w.i32(h.runCount);
    w.i32(h.runBytes);
    w.i32(h.textLength);
    w.i32(h.layout);
    w.i32(h.width);
    w.i32(h.height);
    w.u32(h.pageOffset);
    w.i32(h.pageCount);
    std::array<uint8_t, kZrtHeaderSize> out{};
    std::copy(w.data().begin(), w.data().end(), out.begin());
    return out;
}

ZrtHeaderStatus ZrtPageReader::open(std::unique_ptr<ByteSource> source, std::string* error) {
    source_.reset();
    uint8_t head[kZrtHeaderSize];
    const size_t n = source ? size_t(std::min<uint64_t>(source->size(), kZrtHeaderSize)) : 0;
    if (!source || !source->readAt(0, head, n)) {
        if (error) *error = "text page header cannot be read";
        return ZrtHeaderStatus::Short;
    }
    const ZrtHeaderStatus status = decodeZrtHeader(head, n, header_, error);
    if (status != ZrtHeaderStatus::Ok) return status;
    source_ = std::move(source);
    pos_ = header_.pageOffset;
    return status;
}

bool ZrtPageReader::nextPage(std::vector<uint8_t>& bitmapFile, std::string* why) {
    if (!source_) return false;
    const uint64_t size = source_->size();
    if (pos_ >= size) return false;
    uint8_t sizeBytes[4];
    if (size - pos_ < 4 || !source_->readAt(pos_, sizeBytes, 4)) {
        if (why) *why = "text page picture size is cut off at offset " + std::to_string(pos_);
        pos_ = size;
        return false;
    }
    const uint32_t s =
        sizeBytes[0] | sizeBytes[1] << 8 | sizeBytes[2] << 16 | uint32_t(sizeBytes[3]) << 24;
    const uint64_t left = size - pos_ - 4;
    if (s > kMaxZrtPageBytes || s > left) {
        if (why)
            *why = "text page picture at offset " + std::to_string(pos_) + " claims " +
                   std::to_string(s) + " bytes, " + std::to_string(left) + " left";
        pos_ = size;
        return false;
    }
    bitmapFile.resize(s);
    if (!source_->readAt(pos_ + 4, bitmapFile.data(), s)) {
        if (why) *why = "text page picture cannot be read";
        pos_ = size;
        return false;
    }
    pos_ += 4 + uint64_t(s);
    return true;
}

std::string firstFrameOfZrt(const std::string& zrtPath, const std::string& folder,
                            std::string* error) {
    auto file = FileByteSource::open(zrtPath, error);
    if (!file) return std::string();
    ZrtPageReader reader;
    if (reader.open(std::move(file), error) != ZrtHeaderStatus::Ok) return std::string();
    std::vector<uint8_t> page;
    std::string why;
    if (!reader.nextPage(page, &why)) {
        if (error) *error = why.empty() ? zrtPath + " has no page picture" : why;
        return std::string();
    }
    std::string target = folder;
    if (target.empty()) {
        std::error_code ec;
        target = std::filesystem::temp_directory_path(ec).string();
        if (ec) target = "/tmp";
    }
    target = joinPath(target, "1.tmp");
    if (!writeFileAtomically(target, page, error)) return std::string();
    return target;
}

}  // namespace brightline::media
