#pragma once
// The catalogue of sign operations and the machinery that runs one at a time.
//
// start() runs on the user interface thread: the capacity check, opening the serial link when
// it is selected and not held, then the worker thread, which runs the operation's serial or
// network form and moves the run state Idle → Running → Finished. finishIfDone() is the 500 ms
// timer's job: it returns the state to Idle, closes the progress, closes the serial link unless
// held and, after a serial file list, shows "filelist.txt". Every outcome reaches the operator
// through OperatorMessages with the exact texts; progress and the file list window through an
// OperationObserver. The direct commands (set IP, scan direction, start-up display settings)
// run on the calling thread and must not overlap an operation.
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "comm/network_link.h"
#include "comm/serial_link.h"
#include "comm/sign_requests.h"

namespace brightline {

class OperatorMessages;
class Profile;

enum class OperationCode : int {
    None = 0,
    SendShow = 1,
    GetTime = 7,
    SetTime = 8,
    GetFileList = 9,
    UpdateFirmware = 10,
    Reboot = 13,
    UpdateFont = 14,
    SetAddress = 15,
};

enum class RunState : int { Idle = 0, SendDialog = 1, Running = 3, Finished = 4 };

// Where the sign is and how to reach it; one per process, persisted by the settings.
struct LinkSelection {
    int comPort = 0;    // 0 = network, 1..n = COM port number
    int address = 1;    // the sign's COM address, 1..254
    int baudIndex = 7;  // 0..7
    std::string host = "192.168.0.6";
    bool held = false;  // a modem connection keeps the serial link open
};

// The progress window and the file list window. Called from the worker thread (progress, the
// network file list) or from the thread calling finishIfDone() (the serial file list).
class OperationObserver {
  public:
    virtual ~OperationObserver() = default;
    virtual void progressOpened(int range) {}
    virtual void progressPosition(int position) {}
    virtual void progressFileName(const std::string& name) {}
    virtual void progressClosed() {}
    virtual void showFileList(const std::string& text) {}
};

struct OperationEnvironment {
    std::string workspace;     // the files an upload sends
    std::string startFolder;   // where a serial file list lands as "filelist.txt"
    std::string serialDevice;  // device of the selected COM port
    int commandPort = kCommandPort;
    int ftpPort = kFtpPort;
    int chunkSize = 1024;        // serial chunk size in force
    int uploadPauseMs = 5000;    // after preparing the sign for an upload
    int fileListPauseMs = 2000;  // before fetching a serial file list
    SerialLinkTimings serialTimings;
    NetworkTimings networkTimings;
    Profile* profile = nullptr;  // where a changed address is stored (none: not stored)
    std::string signListPath;    // "LED_SET.ZRC" to update after a changed address (empty: none)
    std::string currentSignName = "Sample LED";
};

// The workspace may hold at most this many bytes of files for any operation to start.
inline constexpr unsigned long long kFlashCapacity = 1887436800ULL;

class SignOperations {
  public:
    SignOperations(OperatorMessages& messages, OperationObserver& observer);
    ~SignOperations();
    SignOperations(const SignOperations&) = delete;
    SignOperations& operator=(const SignOperations&) = delete;

    // The environment and the link selection are read by the worker: change them only while
    // no operation runs (SetAddress itself updates the selection's address and baud index).
    void setEnvironment(const OperationEnvironment& environment) { env_ = environment; }
    const OperationEnvironment& environment() const { return env_; }
    LinkSelection& selection() { return selection_; }
    SerialLink& serialLink() { return link_; }
    // The values the change-address dialog collected for SetAddress.
    void setPendingAddressChange(const AddressChange& change) { pending_ = change; }

    // False when the operation did not start (capacity, port taken, one running or not yet
    // wound up by finishIfDone()).
    bool start(OperationCode code, int parameter);
    // True when an operation had finished and is now wound up.
    bool finishIfDone();
    // Waits (bounded) for the running operation, then winds it up. False on time-out.
    bool waitUntilFinished(int timeoutMs);
    RunState runState() const { return static_cast<RunState>(runState_.load()); }
    // True from start() of an upload (SendShow, UpdateFirmware, UpdateFont) until it is wound
    // up: the workspace folder is being read then and must not be rewritten.
    bool sendingWorkspace() const;
    // Whether the sign confirmed the last operation (for exit statuses and tests).
    bool confirmed() const { return confirmed_.load(); }
    // Ends the running operation at its next wait or between files.
    void requestStop();

    // Direct commands. setIp: network only; the new address text on success.
    std::optional<std::string> setIp(const Ipv4& ip, const Ipv4& mask, const Ipv4& gateway);
    // Network only; with the serial link selected nothing is sent and false returned.
    bool setScanDirection(int direction);
    std::optional<BootParams> readBootParams();
    bool writeBootParams(const BootParams& params);

    // Sum of the sizes of the regular files directly in `folder`.
    static unsigned long long workspaceBytes(const std::string& folder);

  private:
    void run(OperationCode code, int parameter);
    void runUpload(OperationCode code, int parameter);
    void runUploadSerial(OperationCode code, int parameter);
    void runGetTime();
    void runSetTime();
    void runGetFileList();
    void runReboot();
    void runSetAddress();
    bool pause(int ms);
    bool openSerial();
    bool serialRequest(uint16_t type, const std::string& data, std::string* reply);
    long netCommand(const std::string& request, std::string* reply, size_t capacity = 1024);
    // Shows "Communication error!" with the cause of the failure (cause_) on a line of its own.
    void communicationError();
    // True for a reply of at least one byte; otherwise sets cause_ for an empty one.
    bool answered(long replyLength);
    void position(int p) { observer_.progressPosition(p); }
    bool serialSelected() const { return selection_.comPort != 0; }

    OperatorMessages& messages_;
    OperationObserver& observer_;
    OperationEnvironment env_;
    LinkSelection selection_;
    AddressChange pending_;
    SerialLink link_;
    std::thread worker_;
    std::atomic<int> runState_{0};
    std::atomic<int> code_{0};
    std::atomic<bool> confirmed_{false};
    std::atomic<bool> stop_{false};
    Event stopEvent_;
    std::string cause_;  // why the last exchange failed; the thread running the operation
};

const char* operationName(OperationCode code);

// True when the sign's clock text holds a date and a time ("2026/03/01 08:05:00", also with "-"
// or "." between the date's parts): what a get-time answer must hold to be shown as the time.
bool holdsSignDate(const std::string& text);

}  // namespace brightline
