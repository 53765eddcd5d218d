#include "media/zvi_writer.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "common/byte_writer.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"

namespace brightline::media {
namespace {

std::atomic<unsigned> scratchCounter{0};

// A rename, or a copy when the scratch folder is on another file system.
bool moveInto(const std::string& from, const std::string& to, std::string* error) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    std::vector<uint8_t> bytes;
    const bool ok =
        readWholeFile(from, bytes, error, size_t(-1)) && writeFileAtomically(to, bytes, error);
    std::remove(from.c_str());
    return ok;
}

}  // namespace

ZviWriter::~ZviWriter() {
    abandon();
}

bool ZviWriter::open(const std::string& path, const ZviHeader& header, std::string* error,
                     const std::string& scratchFolder) {
    abandon();
    std::string target = path;
    if (!scratchFolder.empty()) {
        if (!ensureFolder(scratchFolder)) {
            if (error) *error = "cannot create the scratch folder " + scratchFolder;
            return false;
        }
        target =
            joinPath(scratchFolder, "clip-" + std::to_string(getpid()) + "-" +
                                        std::to_string(scratchCounter.fetch_add(1)) + ".zvi.tmp");
    }
    std::FILE* f = std::fopen(target.c_str(), "wb");
    if (!f) {
        if (error) *error = "cannot create " + target + ": " + std::strerror(errno);
        return false;
    }
    file_.reset(f);
    path_ = target;
    destination_ = path;
    framesWritten_ = 0;
    const std::vector<uint8_t> head = encodeZviHeader(header);
    if (std::fwrite(head.data(), 1, head.size(), f) != head.size()) {
        if (error) *error = "cannot write " + path;
        abandon();
        return false;
    }
    return true;
}

bool ZviWriter::appendFrame(const uint8_t* stream, size_t size, std::string* error) {
    if (!file_) {
        if (error) *error = "clip is not open";
        return false;
    }
    if (size + 3 > kMaxZviRecordLength) {
        if (error) *error = "frame of " + std::to_string(size) + " bytes is too large for a clip";
        return false;
    }
    const std::vector<uint8_t> record = encodeZviFrameRecord(stream, size);
    if (std::fwrite(record.data(), 1, record.size(), file_.get()) != record.size()) {
        if (error) *error = "cannot write " + path_;
        return false;
    }
    ++framesWritten_;
    return true;
}

bool ZviWriter::finish(int32_t frameCount, std::string* error) {
    if (!file_) {
        if (error) *error = "clip is not open";
        return false;
    }
    ByteWriter w;
    w.i32(frameCount);
    bool ok = std::fseek(file_.get(), 12, SEEK_SET) == 0 &&
              std::fwrite(w.data().data(), 1, 4, file_.get()) == 4 && std::fflush(file_.get()) == 0;
    ok = (std::fclose(file_.release()) == 0) && ok;
    if (!ok) {
        if (error) *error = "cannot write " + path_;
        std::remove(path_.c_str());
    } else if (path_ != destination_) {
        ok = moveInto(path_, destination_, error);
    }
    path_.clear();
    destination_.clear();
    return ok;
}

void ZviWriter::abandon() {
    if (!file_) return;
    file_.reset();
    std::remove(path_.c_str());
    path_.clear();
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
