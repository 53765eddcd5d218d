#pragma once
// Whole-file reading and crash-safe file writing.
//
// Reading opens regular files only: a FIFO, a device or a folder is refused at once instead of
// blocking or reading without end, and a file over the caller's limit is refused with a message
// naming the limit (never cut silently).
//
// Writing goes to a temporary file beside the target that is renamed over it only when complete:
// a failure (a full disk, a write error) keeps the old file and is reported. A symbolic link is
// written through (its target is replaced and the link stays); a target that exists and is not
// a regular file (a folder, a device, a FIFO) is refused.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace brightline {

inline constexpr size_t kDefaultReadLimit = size_t(256) << 20;

// Reads the whole regular file. False with `error` set when it cannot be opened or read, is not
// a regular file, or holds more than `limit` bytes.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error = nullptr,
                   size_t limit = kDefaultReadLimit);

// Opens `path` for reading when it is a regular file (without blocking on a FIFO). The stream,
// or null with `error` set ("... is not a regular file", "cannot open ...: <reason>").
std::FILE* openRegularFile(const std::string& path, std::string* error = nullptr);

// "64 MiB", "1000 bytes": a read limit as messages name it.
std::string describeSize(uint64_t bytes);

// The file a write to `path` replaces: `path` itself, or the end of the symbolic links it names
// (also when that file does not exist yet). False with `error` set when that exists and is not a
// regular file, or when the links loop.
bool resolveWriteTarget(const std::string& path, std::string& target, std::string* error = nullptr);

// True when both paths name the same existing file (links followed), e.g. an output that would
// overwrite an input.
bool sameFile(const std::string& a, const std::string& b);

// Writes a file beside its target and renames it into place only when complete. One owner, one
// thread. Destroying it without commit() deletes the temporary file; the target is untouched.
class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter() { abandon(); }
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file for `path` (see resolveWriteTarget()). False with `error` set.
    bool open(const std::string& path, std::string* error = nullptr);
    bool isOpen() const { return file_ != nullptr; }
    // Appends bytes; false once anything failed (the failure is reported again by commit()).
    bool write(const void* data, size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    bool write(const std::vector<uint8_t>& bytes) { return write(bytes.data(), bytes.size()); }
    // Overwrites bytes already written at `offset` (a count in a header), then goes on at the end.
    bool writeAt(uint64_t offset, const void* data, size_t size);
    // The temporary file as a stdio stream, for libraries that write to one; its write errors
    // are found by commit(). Null when not open.
    std::FILE* stream() const { return file_; }
    // Flushes and syncs the temporary file, then renames it over the target, keeping the
    // permissions an existing target had. False with `error` set (the target is then untouched).
    bool commit(std::string* error = nullptr);
    // Deletes the temporary file; the target keeps its old content.
    void abandon();

  private:
    std::FILE* file_ = nullptr;
    std::string temp_;
    std::string target_;
    std::string path_;  // as the caller named it, for messages
    bool failed_ = false;
    int errno_ = 0;
};

// Writes `bytes` through an AtomicFileWriter. False with `error` set when anything failed (the
// old file is then untouched).
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error = nullptr);

// Adds `bytes` to the end of the file (made when missing) by writing it anew whole, so a failure
// leaves the file as it was. False with `error` set.
bool appendFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                          std::string* error = nullptr);

// True when `path` is an existing regular file (links followed).
bool fileExists(const std::string& path);

}  // namespace brightline
