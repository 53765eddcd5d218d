#pragma once
// A workspace folder of its own for each test, files written into it, and a stepped show
// played from it into collected frames and diagnostics.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "common/testing/scratch_folder.h"
#include "engine/diagnostic_output.h"
#include "engine/engine.h"
#include "engine/frame_sink.h"
#include "engine/show_player.h"

namespace brightline::engine::testing {

class ShowFixture {
  public:
    const std::string& workspace() const { return folder_.path(); }
    // Writes `text` as the file `name` in the workspace ("\n" is written as given).
    void write(const std::string& name, const std::string& text) const;
    // Writes a PNG of width x height filled with `colour` (0x00RRGGBB), or, when `right` is
    // given, its left half `colour` and right half `right`.
    void writePng(const std::string& name, int width, int height, uint32_t colour,
                  int64_t right = -1) const;

    struct Result {
        std::vector<CollectingSink::Frame> frames;
        std::string diagnostics;
        uint64_t ticks = 0;
        bool failed = false;
    };
    // Plays "run.at" in stepped mode until the first page has ended (maxPages 1) unless other
    // limits are given.
    Result play(uint64_t maxTicks = 0, int maxPages = 1, size_t maxArenaBytes = 0) const;
    // Plays "run.at" with `options` (their workspace is this one).
    Result play(ShowOptions options) const;

  private:
    testkit::ScratchFolder folder_{"bl_engine"};
};

// Waits for a show with limits (stepped, maxTicks or maxPages) to end. One still running after a
// minute fails the test and is stopped, rather than waiting for the test runner's time-out.
inline void waitForTheShow(Engine& engine) {
    if (engine.waitDoneFor(std::chrono::seconds(60))) return;
    ADD_FAILURE() << "the show did not end within 60 s";
    engine.stop();
}

// Lines joined with CR LF, as the script writers end them.
std::string lines(const std::vector<std::string>& text);

}  // namespace brightline::engine::testing
