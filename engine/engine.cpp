#include "engine/engine.h"

#include "engine/media_hooks.h"
#include "engine/script_cursor.h"
#include "engine/time_blocks.h"
#include "engine/workspace_file.h"

namespace brightline::engine {

std::string resolveShowPath(const std::string& showPath, const std::string& workspace) {
    if (!showPath.empty() && showPath[0] == '/') return showPath;
    return workspacePath(workspace, showPath);
}

std::shared_ptr<ShowClock> showClockAt(const std::string& showPath, const std::string& workspace,
                                       const CivilTime& local, ClockMode mode) {
    std::vector<char> text;
    if (readWorkspaceFile("", resolveShowPath(showPath, workspace), text, kMaxScriptBytes) !=
        ReadStatus::Ok)
        return nullptr;
    const int64_t utc = utcOfLocal(readShowZone(std::string(text.begin(), text.end())), local);
    return mode == ClockMode::Stepped ? ShowClock::stepped(utc * 1000)
                                      : ShowClock::realTime(utc * 1000);
}

Engine::~Engine() {
    stop();
}

void Engine::start(const std::string& showPath, const ShowOptions& options, FrameSink* sink,
                   DiagnosticOutput& diag, std::shared_ptr<MediaHooks> media) {
    stop();
    media_ = media ? std::move(media) : std::make_shared<MediaHooks>();
    player_ = std::make_unique<ShowPlayer>(options, diag, sink, *media_);
    done_.reset();
    ended_ = false;
    std::string path = resolveShowPath(showPath, options.workspace);
    ShowPlayer* player = player_.get();
    thread_ = std::thread([this, player, path] {
        player->run(path);
        ended_ = true;
        done_.set();
    });
}

void Engine::stop() {
    if (!thread_.joinable()) return;
    player_->requestStop();
    waitDone();
}

void Engine::waitDone() {
    if (!thread_.joinable()) return;
    thread_.join();
}

bool Engine::waitDoneFor(std::chrono::milliseconds timeout) {
    if (!thread_.joinable()) return true;
    if (!ended_ && !done_.waitFor(timeout)) return false;
    thread_.join();
    return true;
}

}  // namespace brightline::engine
