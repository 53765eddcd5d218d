#include "media/zvi_reader.h"

#include <algorithm>
#include <cstring>

#include "common/paths.h"
#include "media/jpeg_picture.h"
#include "media/png_picture.h"

namespace brightline::media {
namespace {

uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

std::string clipPath(const std::string& folder, const std::string& name) {
    const std::string file = toLowerAscii(name + ".zvi");
    if (folder.empty()) return file;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + file : folder + "/" + file;
}

bool ZviReader::open(std::unique_ptr<ByteSource> source, std::string* error) {
    source_.reset();
    pos_ = 0;
    index_ = 0;
    if (!source) {
        if (error) *error = "no clip";
        return false;
    }
    uint8_t head[kZviHeaderSize];
    const size_t n = size_t(std::min<uint64_t>(source->size(), kZviHeaderSize));
    if (!source->readAt(0, head, n) || !decodeZviHeader(head, n, header_, error)) {
        if (error && n < kZviHeaderSize)
            *error = "clip header needs 24 bytes, " + std::to_string(n) + " there";
        return false;
    }
    source_ = std::move(source);
    pos_ = kZviHeaderSize;
    return true;
}

bool ZviReader::openFile(const std::string& path, std::string* error) {
    auto file = FileByteSource::open(path, error);
    if (!file) return false;
    return open(std::move(file), error);
}

uint64_t ZviReader::resync(uint64_t from) {
    const uint64_t size = source_->size();
    const ZviCodec codec = header_.codec();
    constexpr size_t kChunk = 64 * 1024;
    constexpr size_t kLook = 12;  // length field + the longest signature
    std::vector<uint8_t> buf;
    for (uint64_t base = from; base + kLook <= size; base += kChunk) {
        const size_t n = size_t(std::min<uint64_t>(kChunk + kLook - 1, size - base));
        buf.resize(n);
        if (!source_->readAt(base, buf.data(), n)) return size;
        for (size_t i = 0; i + kLook <= n && i < kChunk; ++i) {
            const ZviCodec found = sniffFrameCodec(buf.data() + i + 4, kLook - 4);
            if (found == ZviCodec::Unknown || (codec != ZviCodec::Unknown && found != codec))
                continue;
            const uint32_t length = le32(buf.data() + i);
            const uint64_t left = size - (base + i) - 4;
            if (length >= 4 && length <= kMaxZviRecordLength && length <= left) return base + i;
        }
    }
    return size;
}

RecordStatus ZviReader::nextRecord(ZviFrameRecord& record, std::string* why) {
    if (!source_) return RecordStatus::End;
    const uint64_t size = source_->size();
    if (pos_ >= size) return RecordStatus::End;
    record = ZviFrameRecord();
    record.index = index_;
    record.offset = pos_;
    const uint64_t left = size - pos_;
    uint8_t lengthBytes[4];
    if (left < 4 || !source_->readAt(pos_, lengthBytes, 4)) {
        if (why)
            *why = "clip frame " + std::to_string(index_) + " is cut off: " + std::to_string(left) +
                   " bytes left";
        pos_ = size;
        return RecordStatus::End;
    }
    const int32_t length = static_cast<int32_t>(le32(lengthBytes));
    record.length = length;
    const uint64_t after = left - 4;
    std::string problem;
    if (length < 2) {
        problem = "clip frame " + std::to_string(index_) + " has length " + std::to_string(length);
    } else if (uint32_t(length) > kMaxZviRecordLength || uint64_t(length) > after) {
        problem = "clip frame " + std::to_string(index_) + " claims " + std::to_string(length) +
                  " bytes, " + std::to_string(after) + " left";
    }
    if (!problem.empty()) {
        if (why) *why = problem;
        ++index_;
        pos_ = resync(pos_ + 4);
        return RecordStatus::Damaged;
    }
    record.stream.resize(size_t(length) - 2);
    uint8_t sum[2];
    if (!source_->readAt(pos_ + 4, record.stream.data(), record.stream.size()) ||
        !source_->readAt(pos_ + 4 + record.stream.size(), sum, 2)) {
        if (why) *why = "clip frame " + std::to_string(index_) + " could not be read";
        record.stream.clear();
        pos_ = size;
        return RecordStatus::End;
    }
    record.storedChecksum = uint16_t(sum[0] | sum[1] << 8);
    record.computedChecksum = zviChecksum(record.stream.data(), record.stream.size());
    ++index_;
    pos_ += 4 + uint64_t(length);
    return RecordStatus::Ok;
}

ClipFrameStatus ZviReader::readFrame(Picture& frame, std::string* why) {
    ZviFrameRecord record;
    switch (nextRecord(record, why)) {
        case RecordStatus::End:
            return ClipFrameStatus::End;
        case RecordStatus::Damaged:
            return ClipFrameStatus::Skipped;
        case RecordStatus::Ok:
            break;
    }
    const uint8_t* data = record.stream.data();
    const size_t n = record.stream.size();
    ZviCodec codec = sniffFrameCodec(data, n);
    if (codec == ZviCodec::Unknown) codec = header_.codec();
    std::string error;
    bool ok = false;
    Picture pic;
    if (codec == ZviCodec::Png)
        ok = decodePng(data, n, pic, &error);
    else if (codec == ZviCodec::Jpeg)
        ok = decodeJpeg(data, n, pic, &error);
    else
        error = "unknown frame codec";
    if (!ok) {
        if (why) *why = "clip frame " + std::to_string(record.index) + ": " + error;
        return ClipFrameStatus::Skipped;
    }
    frame = std::move(pic);
    return ClipFrameStatus::Decoded;
}

ClipPageResult readClipFrameIntoPage(ZviReader& reader, int regionWidth, int regionHeight,
                                     Picture& page, std::string* why) {
    Picture frame;
    switch (reader.readFrame(frame, why)) {
        case ClipFrameStatus::End:
            return ClipPageResult::End;
        case ClipFrameStatus::Skipped:
            return ClipPageResult::Failed;
        case ClipFrameStatus::Decoded:
            break;
    }
    page = placeInRegion(frame, regionWidth, regionHeight);
    const bool sizeDiffers = frame.width != regionWidth || frame.height != regionHeight;
    return reader.header().codec() == ZviCodec::Png && sizeDiffers
               ? ClipPageResult::ShownSizeDiffers
               : ClipPageResult::Shown;
}

}  // namespace brightline::media
