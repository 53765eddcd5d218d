#include "media/byte_source.h"

#include <cstring>

#include "common/file_io.h"

namespace brightline::media {

bool MemoryByteSource::readAt(uint64_t offset, void* to, size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    if (n) std::memcpy(to, data_ + offset, n);
    return true;
}

std::unique_ptr<FileByteSource> FileByteSource::open(const std::string& path, std::string* error) {
    std::FILE* f = openRegularFile(path, error);
    if (!f) return nullptr;
    if (fseeko(f, 0, SEEK_END) != 0) {
        if (error) *error = "cannot read " + path;
        std::fclose(f);
        return nullptr;
    }
    const off_t size = ftello(f);
    if (size < 0) {
        if (error) *error = "cannot read " + path;
        std::fclose(f);
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(f, uint64_t(size)));
}

bool FileByteSource::readAt(uint64_t offset, void* to, size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    if (fseeko(file_.get(), off_t(offset), SEEK_SET) != 0) return false;
    return std::fread(to, 1, n, file_.get()) == n;
}

}  // namespace brightline::media
