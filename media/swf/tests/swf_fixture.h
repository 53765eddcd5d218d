#pragma once
// Plays movies written by the test writer and checks pixels of the frames drawn.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/picture.h"
#include "media/swf/swf_movie.h"
#include "media/swf/tests/swf_writer.h"

namespace brightline::swf::test {

// Frames 0 .. count-1 of the movie drawn at width x height on black, as the transform draws
// them. `diagnostics` (may be null) gets the player's lines. When SWF_TEST_MOVIES names a
// folder the movie is saved there (fuzzing seeds).
std::vector<media::Picture> drawFrames(const Bytes& movie, int width, int height, int count,
                                       std::vector<std::string>* diagnostics = nullptr);

// Checks a pixel within `tolerance` per channel; the message names the frame and the place.
testing::AssertionResult pixelNear(const media::Picture& p, int x, int y, uint32_t rgb,
                                   int tolerance = 24);

// Saves frames as PNG files when SWF_TEST_FRAMES names a folder, to look at them.
void keepFrames(const std::string& name, const std::vector<media::Picture>& frames);

}  // namespace brightline::swf::test
