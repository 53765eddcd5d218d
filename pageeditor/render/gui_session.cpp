#include "pageeditor/render/gui_session.h"

#include <cstdlib>

#include <QGuiApplication>
#include <QString>

namespace brightline::pageeditor {
namespace {

bool isSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

int argc = 1;
char programName[] = "brightline";
char* argv[] = {programName, nullptr};

QtMessageHandler previousHandler = nullptr;

// Qt notes on standard error that it picked a runtime folder when XDG_RUNTIME_DIR is not set
// (usual for a command run from a script); that is no news to the user of a command line.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: "))) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

GuiSession::GuiSession(bool forceOffscreen) {
    if (QGuiApplication::instance()) return;
    if (!isSet("QT_QPA_PLATFORM") &&
        (forceOffscreen || (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    previousHandler = qInstallMessageHandler(quietHandler);
    app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiSession::~GuiSession() = default;

}  // namespace brightline::pageeditor
