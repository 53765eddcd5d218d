#include "pageeditor/render/gui_session.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <QGuiApplication>

namespace brightline::pageeditor {
namespace {

bool isSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

int argc = 1;
char programName[] = "brightline";
char* argv[] = {programName, nullptr};

}  // namespace

GuiSession::GuiSession(bool forceOffscreen) {
    if (QGuiApplication::instance()) return;
    if (!isSet("QT_QPA_PLATFORM") &&
        (forceOffscreen || (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Without XDG_RUNTIME_DIR (a command run from a script) Qt makes "runtime-<user>" in the
    // temporary folder and leaves it there; a private one is made here and removed at the end.
    if (!isSet("XDG_RUNTIME_DIR")) {
        std::error_code ec;
        std::string pattern =
            (std::filesystem::temp_directory_path(ec) / "brightline-runtime-XXXXXX").string();
        if (!ec && mkdtemp(pattern.data())) {
            runtimeFolder_ = pattern;
            setenv("XDG_RUNTIME_DIR", runtimeFolder_.c_str(), 1);
        }
    }
    app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiSession::~GuiSession() {
    app_.reset();
    if (!runtimeFolder_.empty()) {
        unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        std::filesystem::remove_all(runtimeFolder_, ec);
    }
}

}  // namespace brightline::pageeditor
