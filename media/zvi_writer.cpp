#include "media/zvi_writer.h"

#include "common/byte_writer.h"

namespace brightline::media {

bool ZviWriter::open(const std::string& path, const ZviHeader& header, std::string* error) {
    framesWritten_ = 0;
    if (!file_.open(path, error)) return false;
    if (!file_.write(encodeZviHeader(header))) return failed(error);
    return true;
}

bool ZviWriter::failed(std::string* error) {
    // After a failed write, commit() drops the clip and says why (a full disk, say).
    file_.commit(error);
    return false;
}

bool ZviWriter::appendFrame(const uint8_t* stream, size_t size, std::string* error) {
    if (!file_.isOpen()) {
        if (error) *error = "clip is not open";
        return false;
    }
    if (size + 3 > kMaxZviRecordLength) {
        if (error) *error = "frame of " + std::to_string(size) + " bytes is too large for a clip";
        return false;
    }
    if (!file_.write(encodeZviFrameRecord(stream, size))) return failed(error);
    ++framesWritten_;
    return true;
}

bool ZviWriter::finish(int32_t frameCount, std::string* error) {
    if (!file_.isOpen()) {
        if (error) *error = "clip is not open";
        return false;
    }
    ByteWriter w;
    w.i32(frameCount);
    file_.writeAt(12, w.data().data(), 4);
    return file_.commit(error);
}

std::vector<uint8_t> buildZviClip(const ZviHeader& header,
                                  const std::vector<std::vector<uint8_t>>& streams) {
    std::vector<uint8_t> out = encodeZviHeader(header);
    for (const auto& s : streams) {
        const std::vector<uint8_t> record = encodeZviFrameRecord(s.data(), s.size());
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

}  // namespace brightline::media
