#pragma once
// The small pictures that stand for media in the property view's lists, on the item cards, in
// the timeline and in the layout view: a picture decoded (a JPEG at the smallest of libjpeg's
// scale factors that will do) and stretched to the size asked for; the first frame of a video
// clip and of a Flash movie; the first page of a text page; a clock page drawn with the bitmap
// fonts at the sign's size, cut to what it shows. A file that cannot be read gives no picture
// (`ok` false, `error` says why); the views draw a fixed image then.
//
// Pure work on the calling thread: thread-safe as long as each call has its own request (the
// fonts are only read). The desktop calls it on its thumbnail workers.
#include <string>

#include "engine/fonts/font_table.h"
#include "media/picture.h"

namespace brightline {

inline constexpr int kThumbnailWidth = 96;
inline constexpr int kThumbnailHeight = 72;

struct ThumbnailRequest {
    std::string path;
    int width = kThumbnailWidth;  // the size of the result, each side at least 1
    int height = kThumbnailHeight;
    // Clock pages are drawn on a face of this size (the sign's) before they are cut and scaled.
    int faceWidth = 256;
    int faceHeight = 128;
};

struct ThumbnailResult {
    bool ok = false;
    media::Picture picture;  // width x height when ok
    // The medium's own size (the picture, the video frame, the text page); 0 when unknown.
    int sourceWidth = 0;
    int sourceHeight = 0;
    std::string error;
};

// `fonts` (may be null: clock pages then draw nothing) are the bitmap fonts clock pages use.
ThumbnailResult makeThumbnail(const ThumbnailRequest& request, const FontTable* fonts);

// The first page picture of a text page file (a complete bitmap file), as the text page tab
// shows it and as Add Resource checks it. False with `error` set when the mark or version is
// wrong or no page can be read.
bool firstTextPage(const std::string& path, std::vector<uint8_t>& bitmapFile,
                   std::string* error = nullptr);

}  // namespace brightline
