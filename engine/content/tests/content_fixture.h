#pragma once
// Test helpers for the content layer: a workspace folder of its own for each test, the
// generated bitmap fonts of the build, videos made by the ffmpeg program, and a stepped show
// played with the content hooks into collected frames and diagnostics.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/testing/scratch_folder.h"
#include "engine/clock/utc_clock.h"
#include "engine/content/content_hooks.h"
#include "engine/diagnostic_output.h"
#include "engine/fonts/font_table.h"
#include "engine/frame_sink.h"
#include "engine/show_player.h"

namespace brightline::content::testing {

class Workspace {
  public:
    const std::string& path() const { return folder_.path(); }
    std::string file(const std::string& name) const { return folder_.file(name); }
    // Writes `bytes` as the file `name`, exactly as given.
    void write(const std::string& name, const std::string& bytes) const;

    struct Result {
        std::vector<engine::CollectingSink::Frame> frames;
        std::string diagnostics;
        uint64_t ticks = 0;
    };
    // Plays "run.at" in stepped mode with content hooks made from `settings` (the build's fonts
    // when no start folder is given) until the first page has ended, or `maxTicks`.
    Result play(ContentSettings settings = ContentSettings(), uint64_t maxTicks = 0) const;
    // The same with `options` (their workspace is this one).
    Result play(ContentSettings settings, engine::ShowOptions options) const;

  private:
    testkit::ScratchFolder folder_{"bl_content"};
};

// A show of one region of width x height at (0, 0) on a screen of the same size, whose region
// script is `script` (lines joined with CR LF).
std::string oneRegionShow(int width, int height);
std::string scriptLines(const std::vector<std::string>& lines);

// The folder that holds "fonts/" with the generated font files.
std::string fontsStartFolder();
// The two generated font files, loaded as a show loads them.
const FontTable& builtInFonts();

// Runs the ffmpeg program quietly with `arguments`; true when it succeeded.
bool runFfmpeg(const std::string& arguments);

}  // namespace brightline::content::testing
