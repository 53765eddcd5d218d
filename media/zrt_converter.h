#pragma once
// Convert ZRT to ZVI: the page pictures of a text page file become a "PNG " clip of rate 30 at
// the page size, one frame a page.
#include <atomic>
#include <string>

#include "media/video_converter.h"

namespace brightline::media {

struct ZrtConversionResult {
    // The converter's result: frames written; 0 when the mark or version is wrong; -1 when the
    // header cannot be read, the file cannot hold its page size, no page can be read or the clip
    // cannot be written (`error` says which).
    int frames = -1;
    ZviHeader header;      // as written
    int pagesSkipped = 0;  // page pictures that were not valid bitmaps
    std::string error;
};

// Reads `zrtPath` and writes the clip to `destination` (built beside it and put in place when
// complete, so a failure keeps what was there; a destination that is the text page itself is
// refused). The page loop ends at the end of the file or at a short read; a page picture that is
// not a valid bitmap is passed over. The clip header's frame count names the frames written.
// `progress` (pages done of the header's page count) and `cancel` may be null.
ZrtConversionResult convertZrtToZvi(const std::string& zrtPath, const std::string& destination,
                                    const ConversionProgress& progress = nullptr,
                                    const std::atomic<bool>* cancel = nullptr);

}  // namespace brightline::media
