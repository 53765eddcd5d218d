#pragma once
// Writes a ZVI clip file frame by frame. One owner, one thread.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "media/zvi_format.h"

namespace brightline::media {

class ZviWriter {
  public:
    ZviWriter() = default;
    ~ZviWriter();  // an unfinished clip is closed and deleted
    ZviWriter(const ZviWriter&) = delete;
    ZviWriter& operator=(const ZviWriter&) = delete;

    // Creates (replaces) `path` and writes the header. False with `error` set when it cannot.
    // With `scratchFolder` given the clip is built in a scratch file there and moved to `path`
    // by finish(), so `path` never holds a half-written clip and keeps its old content when the
    // clip is abandoned.
    bool open(const std::string& path, const ZviHeader& header, std::string* error = nullptr,
              const std::string& scratchFolder = std::string());
    // Appends one frame record for a JPEG or PNG stream.
    bool appendFrame(const uint8_t* stream, size_t size, std::string* error = nullptr);
    bool appendFrame(const std::vector<uint8_t>& stream, std::string* error = nullptr) {
        return appendFrame(stream.data(), stream.size(), error);
    }
    int framesWritten() const { return framesWritten_; }
    // Stores `frameCount` in the header (so that it names the records really written when
    // that differs from what open() was given), flushes and closes. False when anything failed.
    bool finish(int32_t frameCount, std::string* error = nullptr);
    // Closes and deletes an unfinished clip.
    void abandon();

  private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;         // the file being written
    std::string destination_;  // where finish() puts it
    int framesWritten_ = 0;
};

// A whole clip in memory: the header followed by one record per stream (tests, small clips).
std::vector<uint8_t> buildZviClip(const ZviHeader& header,
                                  const std::vector<std::vector<uint8_t>>& streams);

}  // namespace brightline::media
