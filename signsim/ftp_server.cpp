#include "signsim/ftp_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "ftp_server_script.h"

extern char** environ;

namespace brightline::signsim {

bool FtpServer::start(const std::string& root, const std::string& address, int port, long cutAfter,
                      int cutCount, std::string* error) {
    stop();
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        if (error) *error = "cannot create a pipe";
        return false;
    }
    std::vector<std::string> args = {"/usr/bin/python3",
                                     "-c",
                                     kFtpServerScript,
                                     "--root",
                                     root,
                                     "--host",
                                     address,
                                     "--port",
                                     std::to_string(port),
                                     "--cut-after",
                                     std::to_string(cutAfter),
                                     "--cut-count",
                                     std::to_string(cutCount)};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        if (error) *error = std::string("cannot start /usr/bin/python3: ") + std::strerror(rc);
        return false;
    }
    child_ = pid;
    // Wait for "PORT <n>\n", at most 15 s.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[64];
        ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        line.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    if (line.compare(0, 5, "PORT ") != 0) {
        if (error) *error = "the FTP server (python3-pyftpdlib) did not start";
        stop();
        return false;
    }
    port_ = std::atoi(line.c_str() + 5);
    return true;
}

void FtpServer::stop() {
    if (child_ <= 0) return;
    ::kill(child_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(child_, nullptr, WNOHANG) == child_) {
            child_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
    child_ = -1;
}

}  // namespace brightline::signsim
