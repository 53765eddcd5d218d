#pragma once
// Writes a ZVI clip file frame by frame. One owner, one thread.
#include <cstdint>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "media/zvi_format.h"

namespace brightline::media {

class ZviWriter {
  public:
    ZviWriter() = default;
    ~ZviWriter() = default;  // an unfinished clip is dropped; the destination keeps its content
    ZviWriter(const ZviWriter&) = delete;
    ZviWriter& operator=(const ZviWriter&) = delete;

    // Starts the clip for `path` and writes the header. The clip is built beside `path` and
    // put in place by finish(), so `path` never holds a half-written clip and keeps its old
    // content when the clip is abandoned or fails (common/file_io.h: a link is written through,
    // a target that is no regular file refused). False with `error` set when it cannot start.
    bool open(const std::string& path, const ZviHeader& header, std::string* error = nullptr);
    // Appends one frame record for a JPEG or PNG stream.
    bool appendFrame(const uint8_t* stream, size_t size, std::string* error = nullptr);
    bool appendFrame(const std::vector<uint8_t>& stream, std::string* error = nullptr) {
        return appendFrame(stream.data(), stream.size(), error);
    }
    int framesWritten() const { return framesWritten_; }
    // Stores `frameCount` in the header (so that it names the records really written when
    // that differs from what open() was given) and puts the clip in place. False when anything
    // failed.
    bool finish(int32_t frameCount, std::string* error = nullptr);
    // Drops an unfinished clip.
    void abandon() { file_.abandon(); }

  private:
    bool failed(std::string* error);

    AtomicFileWriter file_;
    int framesWritten_ = 0;
};

// A whole clip in memory: the header followed by one record per stream (tests, small clips).
std::vector<uint8_t> buildZviClip(const ZviHeader& header,
                                  const std::vector<std::vector<uint8_t>>& streams);

}  // namespace brightline::media
