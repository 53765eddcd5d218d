#pragma once
// Stretching pictures to a target size through libswscale (area averaging when shrinking,
// bicubic when growing: the look of half-tone stretching). Thread-safe.
#include "media/picture.h"

namespace brightline::media {

// The picture stretched to width x height (both at least 1). The same size gives a copy. The
// top byte of each pixel is not kept.
Picture scalePicture(const Picture& picture, int width, int height);

}  // namespace brightline::media
