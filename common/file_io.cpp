#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace brightline {
namespace {

constexpr int kMaxLinkHops = 40;

void setError(std::string* error, const std::string& what, const std::string& path,
              int code = errno) {
    if (error) *error = what + " " + path + ": " + std::strerror(code);
}

std::string notRegular(const std::string& path, const struct stat& st) {
    const char* kind = S_ISDIR(st.st_mode)                          ? "a folder"
                       : S_ISFIFO(st.st_mode)                       ? "a FIFO"
                       : S_ISSOCK(st.st_mode)                       ? "a socket"
                       : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
                                                                    : "not a regular file";
    return path + " is " + kind + ", not a regular file";
}

std::string folderPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens without blocking (a FIFO with no writer would block) and keeps only regular files.
int openRegular(const std::string& path, std::string* error, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        setError(error, "cannot open", path);
        return -1;
    }
    if (::fstat(fd, &st) != 0) {
        setError(error, "cannot read", path);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        if (error) *error = notRegular(path, st);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

std::string describeSize(uint64_t bytes) {
    constexpr uint64_t kMiB = uint64_t(1) << 20;
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error,
                   size_t limit) {
    out.clear();
    struct stat st {};
    const int fd = openRegular(path, error, st);
    if (fd < 0) return false;
    auto tooLarge = [&](uint64_t size) {
        if (error)
            *error = path + " is " + std::to_string(size) + " bytes, more than the " +
                     describeSize(limit) + " read at most";
        ::close(fd);
        out.clear();
        return false;
    };
    if (static_cast<uint64_t>(st.st_size) > limit) return tooLarge(uint64_t(st.st_size));
    out.reserve(static_cast<size_t>(st.st_size));
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            setError(error, "cannot read", path);
            ::close(fd);
            out.clear();
            return false;
        }
        if (n == 0) break;
        // The file grew while it was read.
        if (out.size() + size_t(n) > limit) return tooLarge(out.size() + size_t(n));
        out.insert(out.end(), buffer, buffer + n);
    }
    ::close(fd);
    return true;
}

std::FILE* openRegularFile(const std::string& path, std::string* error) {
    struct stat st {};
    const int fd = openRegular(path, error, st);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        setError(error, "cannot open", path);
        ::close(fd);
    }
    return f;
}

bool resolveWriteTarget(const std::string& path, std::string& target, std::string* error) {
    std::string at = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            if (errno == ENOENT) {  // a new file (the folder is checked when it is created)
                target = at;
                return true;
            }
            setError(error, "cannot write", path);
            return false;
        }
        if (S_ISREG(st.st_mode)) {
            target = at;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            if (error) *error = "cannot write " + notRegular(path == at ? path : at, st);
            return false;
        }
        std::vector<char> link(size_t(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(at.c_str(), link.data(), link.size());
        if (n < 0 || size_t(n) >= link.size()) {
            setError(error, "cannot follow the link", at);
            return false;
        }
        std::string next(link.data(), size_t(n));
        at = !next.empty() && next[0] == '/' ? next : folderPart(at) + "/" + next;
    }
    setError(error, "cannot write", path, ELOOP);
    return false;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

bool AtomicFileWriter::open(const std::string& path, std::string* error) {
    abandon();
    path_ = path;
    if (!resolveWriteTarget(path, target_, error)) return false;
    temp_ = target_ + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        setError(error, "cannot create a file beside", path);
        return false;
    }
    // Keep the permissions an existing file had; a new one gets the usual 0666 less the umask.
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        setError(error, "cannot write", path);
        ::close(fd);
        ::unlink(temp_.c_str());
        return false;
    }
    failed_ = false;
    errno_ = 0;
    return true;
}

bool AtomicFileWriter::write(const void* data, size_t size) {
    if (!file_ || failed_) return false;
    if (size && std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        errno_ = errno;
    }
    return !failed_;
}

bool AtomicFileWriter::writeAt(uint64_t offset, const void* data, size_t size) {
    if (!file_ || failed_) return false;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 || !write(data, size) ||
        std::fseek(file_, 0, SEEK_END) != 0) {
        failed_ = true;
        errno_ = errno;
    }
    return !failed_;
}

bool AtomicFileWriter::commit(std::string* error) {
    if (!file_) {
        if (error) *error = "cannot write " + path_ + ": the file is not open";
        return false;
    }
    if (!failed_ && (std::fflush(file_) != 0 || std::ferror(file_))) {
        failed_ = true;
        errno_ = errno ? errno : EIO;
    }
    if (!failed_ && ::fsync(::fileno(file_)) != 0) {
        failed_ = true;
        errno_ = errno;
    }
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (!failed_ && closed != 0) {
        failed_ = true;
        errno_ = errno;
    }
    if (failed_) {
        setError(error, "cannot write", path_, errno_ ? errno_ : EIO);
        ::unlink(temp_.c_str());
        return false;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        setError(error, "cannot replace", path_);
        ::unlink(temp_.c_str());
        return false;
    }
    return true;
}

void AtomicFileWriter::abandon() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(temp_.c_str());
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error) {
    AtomicFileWriter file;
    if (!file.open(path, error)) return false;
    file.write(bytes);
    return file.commit(error);
}

bool appendFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                          std::string* error) {
    std::vector<uint8_t> whole;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !readWholeFile(path, whole, error)) return false;
    whole.insert(whole.end(), bytes.begin(), bytes.end());
    return writeFileAtomically(path, whole, error);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace brightline
