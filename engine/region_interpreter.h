#pragma once
// A region thread: plays one region script for one page.
//
// The thread finds its slot's quit, stop and pass-complete flags cleared by the player (which
// sets the slot up before starting it) and plays the script `repeat` times (a play that finds the
// quit request set returns at once). Each play reads the script (at most kMaxScriptBytes), sets up
// a fresh RegionContext and executes the text command by command while no quit request is set; at
// the end of the text it marks the pass complete, waits one tick and starts the text again, so a
// short script replays until the page ends. A region whose script cannot be read, whose repeat
// count is below 1 or whose script is abandoned (FOR stack error) counts as having completed its
// pass. When the thread ends it marks the slot finished and leaves the step gate.
//
// A loop that neither draws nor waits (FOR 2147483647 … END around nothing that takes a tick)
// still lets the ticks pass: after env.wordsPerTick words (and spaces) read since the region
// last took a step, it waits one tick.
#include <string>

#include "engine/for_stack.h"
#include "engine/script_cursor.h"

namespace brightline::engine {

class DiagnosticOutput;
class MediaHooks;
class PixelArena;
class StepGate;
struct RegionContext;

struct RegionStart {
    std::string runName;     // the RUN line's name token (ignored)
    std::string scriptName;  // relative to the workspace folder
    int x = 0;               // clipped screen rectangle
    int y = 0;
    int width = 0;
    int height = 0;
    int repeat = 1;
    int region = 1;  // 1..8
};

struct RegionEnvironment {
    PixelArena* arena = nullptr;  // slots of the page (the region's own and, for WAIT, others)
    StepGate* gate = nullptr;
    DiagnosticOutput* diag = nullptr;
    MediaHooks* media = nullptr;
    std::string workspace;
    bool stepped = true;  // seed the random generator from the region number, not the clock
    size_t wordsPerTick = kMaxScriptBytes;
};

class RegionInterpreter {
  public:
    RegionInterpreter(RegionEnvironment env, RegionStart start);
    // The thread body.
    void run();

  private:
    enum class Outcome { Continue, Abandon };
    void playOnce();
    Outcome execute(const std::string& keyword, RegionContext& ctx);
    std::string arg() { return cursor_.readToken(); }
    int numberArg() { return scriptNumber(cursor_.readToken()); }

    RegionEnvironment env_;
    RegionStart start_;
    ScriptCursor cursor_;
    ForStack loops_;
};

}  // namespace brightline::engine
