#include "comm/network_link.h"

#include <curl/curl.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "comm/sign_messages.h"
#include "comm/upload_names.h"
#include "common/file_io.h"
#include "common/operator_messages.h"

namespace brightline {
namespace {

constexpr const char* kWinsock = "WINSOCK";

class Socket {
  public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Waits for `events` on `fd` at most `timeoutMs`; true when ready.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        return r > 0;
    }
}

// The reason of a system error as a message continues it: "connection refused".
std::string reasonOf(int error) {
    std::string text = std::strerror(error);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

// False with the reason in `why` when the connection was not made within the time.
bool connectWithTimeout(int fd, const sockaddr* address, socklen_t length, int timeoutMs,
                        std::string& why) {
    int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int r = ::connect(fd, address, length);
    if (r != 0 && errno != EINPROGRESS) {
        why = reasonOf(errno);
        return false;
    }
    if (r != 0) {
        if (!waitFor(fd, POLLOUT, timeoutMs)) {
            why = "no answer within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
        if (error != 0) {
            why = reasonOf(error);
            return false;
        }
    }
    return true;
}

bool sendAll(int fd, const char* data, size_t size, int timeoutMs) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::send(fd, data + done, size - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(fd, POLLOUT, timeoutMs)) return false;
        } else {
            return false;
        }
    }
    return true;
}

using Clock = std::chrono::steady_clock;

// "20 s", "1500 ms": a time-out as messages name it.
std::string duration(int ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// The wait allowed now: `timeoutMs`, but never past `deadline`.
int boundedWait(int timeoutMs, Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, std::min<long long>(timeoutMs, left)));
}

enum class Late { No, Receive, Exchange };

// Receives until `want` bytes arrived or the peer closed; -1 on error or time-out (a receive
// that waits `timeoutMs`, or the exchange that passes `deadline`; `late` tells which).
long receiveUpTo(int fd, char* buffer, size_t want, int timeoutMs, Clock::time_point deadline,
                 Late& late) {
    size_t got = 0;
    late = Late::No;
    while (got < want) {
        const int allowed = boundedWait(timeoutMs, deadline);
        if (!waitFor(fd, POLLIN, allowed)) {
            late = allowed < timeoutMs ? Late::Exchange : Late::Receive;
            return -1;
        }
        ssize_t n = ::recv(fd, buffer + got, want - got, 0);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return -1;
        }
        got += static_cast<size_t>(n);
    }
    return static_cast<long>(got);
}

void globalCurlInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

// Ends a transfer when the stop flag is raised.
int stopCheck(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* stop = static_cast<const std::atomic<bool>*>(flag);
    return stop && stop->load() ? 1 : 0;
}

// Why an upload failed: curl's name for the failure and the FTP server's refusal, if any
// ("Transferred a partial file (the FTP server answered 426)"). Curl's error text is not used
// here: in active mode it already holds a remark about the data socket's address, written before
// the failure and kept over the failure's own text.
std::string uploadFailure(CURL* curl, CURLcode rc) {
    std::string why = curl_easy_strerror(rc);
    long reply = 0;
    if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply) == CURLE_OK && reply >= 400)
        why += " (the FTP server answered " + std::to_string(reply) + ")";
    return why;
}

std::string escapeForUrl(CURL* curl, const std::string& path) {
    char* escaped = curl_easy_escape(curl, path.data(), static_cast<int>(path.size()));
    std::string out = escaped ? escaped : "";
    curl_free(escaped);
    return out;
}

}  // namespace

long parseReplyLength(const char* header, size_t size) {
    size_t i = 0;
    while (i < size && (header[i] == ' ' || header[i] == '\t' || header[i] == '\n' ||
                        header[i] == '\r' || header[i] == '\v' || header[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < size && (header[i] == '+' || header[i] == '-')) negative = header[i++] == '-';
    long value = 0;
    for (; i < size && std::isdigit(static_cast<unsigned char>(header[i])); ++i) {
        value = value * 10 + (header[i] - '0');
        if (value > 99999999) break;
    }
    return negative ? 0 : value;
}

NetworkLink::NetworkLink(OperatorMessages& messages, std::string host, int commandPort, int ftpPort)
    : messages_(messages), host_(std::move(host)), commandPort_(commandPort), ftpPort_(ftpPort) {}

bool replyLengthWellFormed(const char* header, size_t size) {
    size_t i = 0;
    while (i < size && header[i] == ' ') ++i;
    if (i < size && header[i] == '+') ++i;
    const size_t digits = i;
    while (i < size && std::isdigit(static_cast<unsigned char>(header[i]))) ++i;
    if (i == digits) return false;
    for (; i < size; ++i)
        if (header[i] != ' ' && header[i] != '\0') return false;
    return true;
}

long NetworkLink::command(const std::string& request, std::string* reply, size_t replyCapacity) {
    lastError_.clear();
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(timings_.exchangeTimeoutMs);
    auto failed = [this](const std::string& why) {
        lastError_ = why;
        return -1L;
    };
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(commandPort_);
    const int resolved = ::getaddrinfo(host_.c_str(), port.c_str(), &hints, &found);
    if (resolved != 0 || !found) {
        messages_.show("Get host error!", kWinsock, MessageIcon::Error);
        return failed("the sign's address " + host_ +
                      " cannot be resolved: " + ::gai_strerror(resolved));
    }
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);
    Socket socket(
        ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol));
    if (socket.fd() < 0) {
        messages_.show("socket", kWinsock, MessageIcon::Error);
        return failed(std::string("no socket: ") + std::strerror(errno));
    }
    std::string why;
    if (!connectWithTimeout(socket.fd(), found->ai_addr, found->ai_addrlen,
                            boundedWait(timings_.connectTimeoutMs, deadline), why)) {
        messages_.show("connect error!", kWinsock, MessageIcon::Error);
        return failed("cannot connect to " + host_ + ":" + port + ": " + why);
    }
    if (!sendAll(socket.fd(), request.data(), request.size(),
                 boundedWait(timings_.receiveTimeoutMs, deadline)))
        return failed("the request could not be sent to the sign");
    if (!reply) return 0;
    Late late = Late::No;
    const auto receiveFailed = [&] {
        return failed(late == Late::Exchange ? "the sign's reply did not end within " +
                                                   duration(timings_.exchangeTimeoutMs)
                      : late == Late::Receive
                          ? "the sign did not answer within " + duration(timings_.receiveTimeoutMs)
                          : "the connection broke");
    };
    char header[8];
    long got =
        receiveUpTo(socket.fd(), header, sizeof header, timings_.receiveTimeoutMs, deadline, late);
    if (got < 0) return receiveFailed();
    if (got < static_cast<long>(sizeof header))
        return failed("the sign's reply ended after " + std::to_string(got) +
                      " of the 8 bytes of its length");
    if (!replyLengthWellFormed(header, sizeof header))
        return failed("the sign's reply does not start with its length");
    const size_t announced = static_cast<size_t>(parseReplyLength(header, sizeof header));
    std::vector<char> body(std::min(announced, replyCapacity));
    got = body.empty() ? 0
                       : receiveUpTo(socket.fd(), body.data(), body.size(),
                                     timings_.receiveTimeoutMs, deadline, late);
    if (got < 0) return receiveFailed();
    if (static_cast<size_t>(got) < body.size())
        return failed("the sign's reply was cut off after " + std::to_string(got) + " of " +
                      std::to_string(announced) + " bytes");
    reply->assign(body.data(), static_cast<size_t>(got));
    return got;
}

UploadResult NetworkLink::uploadFolder(const std::string& localFolder,
                                       const std::string& remoteFolder,
                                       const std::function<void(const std::string&, int)>& onFile,
                                       const std::function<void(int)>& onDone,
                                       const std::atomic<bool>* stop) {
    lastError_.clear();
    globalCurlInit();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        messages_.show("There was an exception");
        return UploadResult::SessionError;
    }
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string base = "ftp://" +
                             (host_.find(':') != std::string::npos ? "[" + host_ + "]" : host_) +
                             ":" + std::to_string(ftpPort_) + "/";
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_USERNAME, kFtpUser);
    curl_easy_setopt(c, CURLOPT_PASSWORD, kFtpPassword);
    curl_easy_setopt(c, CURLOPT_FTPPORT, "-");  // active mode
    curl_easy_setopt(c, CURLOPT_FTP_USE_EPRT, 0L);
    curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L);  // binary
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timings_.connectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(timings_.connectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>((timings_.receiveTimeoutMs + 999) / 1000));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME,
                     static_cast<long>((timings_.receiveTimeoutMs + 999) / 1000));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
    if (stop) {
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, stopCheck);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(stop));
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    }

    // Open the session: connect and log in once; the uploads reuse this connection.
    curl_easy_setopt(c, CURLOPT_URL, base.c_str());
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    CURLcode rc = curl_easy_perform(c);
    if (rc != CURLE_OK) {
        const std::string text = errorText[0] ? errorText : curl_easy_strerror(rc);
        messages_.show(text.empty() ? "There was an exception" : text.substr(0, 1024));
        return UploadResult::SessionError;
    }
    curl_easy_setopt(c, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);

    int index = 0;
    for (const std::string& name : uploadNames(localFolder)) {
        const std::string remoteName = remoteFolder + "\\" + name;
        if (onFile) onFile(remoteName, index);
        const std::string path = localFolder + "/" + name;
        bool sent = false;
        std::string why;
        for (int attempt = 0; attempt < kUploadAttempts && !sent; ++attempt) {
            if (stop && stop->load()) break;
            struct stat st {};
            FILE* file = openRegularFile(path, &why);
            if (!file) continue;
            ::fstat(::fileno(file), &st);
            const std::string url = base + escapeForUrl(c, remoteName);
            curl_easy_setopt(c, CURLOPT_URL, url.c_str());
            curl_easy_setopt(c, CURLOPT_READDATA, file);
            curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(st.st_size));
            const CURLcode rc = curl_easy_perform(c);
            sent = rc == CURLE_OK;
            if (!sent) why = uploadFailure(c, rc);
            std::fclose(file);
        }
        if (!sent) {
            if (stop && stop->load()) return UploadResult::Failed;  // stopped: nothing to tell
            lastError_ = remoteName + " was not taken after " + std::to_string(kUploadAttempts) +
                         " attempts: " + why;
            messages_.show(std::string(kMsgCommunicationError) + "\n" + lastError_, kCaptionInfo,
                           MessageIcon::Error);
            return UploadResult::Failed;
        }
        ++index;
        if (onDone) onDone(index);
    }
    return UploadResult::Done;
}

}  // namespace brightline
