#pragma once
// The network link to a sign: command words on a TCP connection (one connection per word; the
// reply is an 8-digit ASCII length and a body) and FTP upload of a folder (libcurl: active mode,
// binary, user "anonymous" with a fixed e-mail password, up to 3 attempts per file).
//
// Every wait is bounded: connect 5 s, each send and receive 10 s, and a whole command exchange
// 20 s by default (so a sign that drips its reply a byte at a time cannot hold the exchange).
// Socket failures are told through OperatorMessages with the caption "WINSOCK"; every failed
// exchange leaves its cause in lastError(). Any thread may use a NetworkLink; one exchange or
// upload at a time per object.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace brightline {

class OperatorMessages;

inline constexpr int kCommandPort = 7203;
inline constexpr int kFtpPort = 21;
inline constexpr const char* kFtpUser = "anonymous";
inline constexpr const char* kFtpPassword = "brightline@localhost";
inline constexpr int kUploadAttempts = 3;

struct NetworkTimings {
    int connectTimeoutMs = 5000;
    int receiveTimeoutMs = 10000;   // each receive, and each send
    int exchangeTimeoutMs = 20000;  // a whole command exchange, connect to last reply byte
};

enum class UploadResult { Done, Failed, SessionError };

class NetworkLink {
  public:
    NetworkLink(OperatorMessages& messages, std::string host, int commandPort = kCommandPort,
                int ftpPort = kFtpPort);

    void setTimings(const NetworkTimings& timings) { timings_ = timings; }
    const std::string& host() const { return host_; }

    // Sends `request` (all its bytes, zeros included). Without `reply` the result is 0 right after
    // the send. With `reply` it is the reply body's length (the body, at most `replyCapacity`
    // bytes, in `reply`), or -1 on any failure: no connection, a wait or the whole exchange
    // past its time, a length header that is no number, a body cut off before its announced
    // length. lastError() then says which.
    long command(const std::string& request, std::string* reply, size_t replyCapacity = 1024);
    // Why the last command or upload failed ("" after a success).
    const std::string& lastError() const { return lastError_; }

    // Uploads what uploadNames(`localFolder`) names (comm/upload_names.h) to the remote name
    // "<remoteFolder>\<name>". `onFile(remoteName, index)` is called before each file
    // and `onDone(index)` after it. Failed: a file did not go after 3 attempts ("Communication
    // error!" shown). SessionError: the connection could not be opened (its text shown).
    // `stop` (optional) ends the upload at once as Failed, with nothing shown.
    UploadResult uploadFolder(const std::string& localFolder, const std::string& remoteFolder,
                              const std::function<void(const std::string&, int)>& onFile,
                              const std::function<void(int)>& onDone,
                              const std::atomic<bool>* stop = nullptr);

  private:
    OperatorMessages& messages_;
    std::string host_;
    int commandPort_;
    int ftpPort_;
    NetworkTimings timings_;
    std::string lastError_;
};

// The reply body length announced in the first 8 bytes: leading blanks, an optional sign, then
// digits up to the first non-digit. Negative or missing numbers give 0.
long parseReplyLength(const char* header, size_t size);
// True when the 8 header bytes are a length as the sign writes it: blanks, an optional "+", at
// least one digit, and nothing after the digits but blanks or NULs.
bool replyLengthWellFormed(const char* header, size_t size);

}  // namespace brightline
