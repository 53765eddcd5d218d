#pragma once
// play --window: the show on the screen in a window of its own, without the desktop program.
// Qt Gui only (a raster window, no widgets); the platform is Qt's choice for the display.
#include <functional>
#include <string>

namespace brightline::engine {
class Engine;
class FrameSink;
class TeeSink;
}  // namespace brightline::engine

namespace brightline::cli {

class InterruptWatch;

// Why there is no screen to show a window on ("" when there is one: DISPLAY, WAYLAND_DISPLAY or
// a QT_QPA_PLATFORM is set).
std::string noScreenReason();

// Shows the frames of `player`'s show in a window titled `title`, each sign pixel a square of
// screen pixels as large as the screen allows (at least 1). `start` starts the show with the
// window's sink added to `sinks`; the call returns when the show has ended or the window was
// closed or `interrupts` noted Ctrl+C (either stops the show). False, with the reason in `why`,
// when no window could be shown.
bool playInWindow(engine::Engine& player, engine::TeeSink& sinks, const std::string& title,
                  const std::function<void()>& start, const InterruptWatch& interrupts,
                  std::string* why);

}  // namespace brightline::cli
