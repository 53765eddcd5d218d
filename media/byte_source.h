#pragma once
// Random-access bytes for the clip and text page readers: a file or a block of memory, so tests
// and fuzzers can feed memory. One reader at a time (not thread-safe).
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace brightline::media {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Total size in bytes.
    virtual uint64_t size() const = 0;
    // Copies n bytes from `offset`; false (nothing promised about `to`) when fewer are there or
    // the read fails.
    virtual bool readAt(uint64_t offset, void* to, size_t n) = 0;
};

// Borrows or owns a block of memory.
class MemoryByteSource : public ByteSource {
  public:
    explicit MemoryByteSource(std::vector<uint8_t> bytes)
        : owned_(std::move(bytes)), data_(owned_.data()), size_(owned_.size()) {}
    // Borrows `data`, which must outlive the source.
    MemoryByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    bool readAt(uint64_t offset, void* to, size_t n) override;

  private:
    std::vector<uint8_t> owned_;
    const uint8_t* data_;
    size_t size_;
};

// A file opened for reading; its size is taken when it is opened.
class FileByteSource : public ByteSource {
  public:
    // Null with `error` set when the file cannot be opened or is not a regular file.
    static std::unique_ptr<FileByteSource> open(const std::string& path,
                                                std::string* error = nullptr);
    uint64_t size() const override { return size_; }
    bool readAt(uint64_t offset, void* to, size_t n) override;

  private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    FileByteSource(std::FILE* f, uint64_t size) : file_(f), size_(size) {}
    std::unique_ptr<std::FILE, Closer> file_;
    uint64_t size_;
};

}  // namespace brightline::media
