#pragma once
// Stands in for a full disk in a test: while it lives, no file of this process may grow past
// `bytes` (RLIMIT_FSIZE), and the signal the kernel would send is ignored, so writes fail with
// EFBIG as they would with ENOSPC. Messages to a terminal or a pipe are not limited.
#include <sys/resource.h>

#include <csignal>

namespace brightline {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace brightline
