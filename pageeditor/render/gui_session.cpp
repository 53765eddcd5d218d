#include "pageeditor/render/gui_session.h"

#include <cstdlib>

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
    app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiSession::~GuiSession() = default;

}  // namespace brightline::pageeditor
