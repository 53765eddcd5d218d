#pragma once
// Test media made by a real encoder: the ffmpeg program writes clips and pictures into a
// temporary folder that lives as long as the fixture.
#include <string>

#include <gtest/gtest.h>

#include "common/testing/scratch_folder.h"

namespace brightline::media::test {

class MediaFolder : public testkit::ScratchFolder {
  public:
    MediaFolder() : ScratchFolder("bl_media") {}
};

// Runs ffmpeg quietly with `arguments` (after "-y"); true when it succeeded.
bool runFfmpeg(const std::string& arguments);

// A test-pattern video of width x height at `rate` frames a second ("10", "25", "30000/1001")
// lasting `seconds`, in `codec` ("mjpeg", "mpeg4", "rawvideo"), written to `path` (the
// container from its extension). Fails the test when ffmpeg fails.
std::string makeVideo(const std::string& path, const std::string& codec, const std::string& rate,
                      int width, int height, double seconds);

}  // namespace brightline::media::test
