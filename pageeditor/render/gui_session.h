#pragma once
// Qt Gui for work without a window (the command line, tests): a QGuiApplication when none runs
// yet. With no platform given (QT_QPA_PLATFORM unset) and no display (neither DISPLAY nor
// WAYLAND_DISPLAY set) it runs on the offscreen platform, so rendering needs no display. Without
// XDG_RUNTIME_DIR it gives Qt a private runtime folder for its lifetime.
// Create one on the main thread before any font or painter is used; it lives until destroyed.
#include <memory>
#include <string>

class QGuiApplication;

namespace brightline::pageeditor {

class GuiSession {
  public:
    // `forceOffscreen`: use the offscreen platform whenever none is given, even with a display
    // (a headless program that must draw the same pixels everywhere).
    explicit GuiSession(bool forceOffscreen = false);
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

  private:
    std::unique_ptr<QGuiApplication> app_;
    std::string runtimeFolder_;  // made for this session, removed with it
};

}  // namespace brightline::pageeditor
