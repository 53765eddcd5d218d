#include "editor/thumbnail_maker.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/paths.h"
#include "editor/medium_kind.h"
#include "engine/clock/clock_page_file.h"
#include "engine/clock/local_time.h"
#include "engine/clock/utc_clock.h"
#include "engine/content/clock_page_renderer.h"
#include "media/bmp_picture.h"
#include "media/byte_source.h"
#include "media/jpeg_picture.h"
#include "media/picture_scaler.h"
#include "media/png_picture.h"
#include "media/swf/flash_transform.h"
#include "media/video_source.h"
#include "media/zrt_file.h"

namespace brightline {

namespace {

// The space kept around what a clock page shows when it is cut out of the face.
constexpr int kClockMargin = 4;

bool fail(ThumbnailResult& result, const std::string& why) {
    result.ok = false;
    result.picture = media::Picture();
    result.error = why;
    return false;
}

void finish(ThumbnailResult& result, const media::Picture& source, const ThumbnailRequest& r) {
    if (result.sourceWidth == 0) {
        result.sourceWidth = source.width;
        result.sourceHeight = source.height;
    }
    result.picture = media::scalePicture(source, r.width, r.height);
    result.ok = true;
}

bool pictureThumbnail(const ThumbnailRequest& r, ThumbnailResult& result) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!readWholeFile(r.path, bytes, &error)) return fail(result, error);
    media::Picture picture;
    const std::string ext = extensionUpper(r.path);
    bool decoded = false;
    if (ext == ".JPG")
        decoded = media::decodeJpegAtLeast(bytes.data(), bytes.size(), r.width, r.height, picture,
                                           &result.sourceWidth, &result.sourceHeight, &error);
    else if (ext == ".PNG")
        decoded = media::decodePng(bytes, picture, &error);
    else
        decoded = media::decodeBmp(bytes, picture, &error);
    if (!decoded || picture.empty()) return fail(result, error.empty() ? "no picture" : error);
    finish(result, picture, r);
    return true;
}

bool videoThumbnail(const ThumbnailRequest& r, ThumbnailResult& result) {
    media::VideoSource video;
    std::string error;
    if (!video.open(r.path, &error)) return fail(result, error);
    media::Picture frame;
    if (!video.nextFrame(frame, r.width, r.height, &error))
        return fail(result, error.empty() ? "the clip has no frame" : error);
    result.sourceWidth = video.info().width;
    result.sourceHeight = video.info().height;
    result.picture = std::move(frame);
    result.ok = true;
    return true;
}

bool flashThumbnail(const ThumbnailRequest& r, ThumbnailResult& result) {
    std::string error;
    if (!swf::renderFlashFirstFrame(r.path, r.width, r.height, result.picture, &error))
        return fail(result, error);
    result.ok = true;
    return true;
}

bool textPageThumbnail(const ThumbnailRequest& r, ThumbnailResult& result) {
    std::vector<uint8_t> page;
    std::string error;
    if (!firstTextPage(r.path, page, &error)) return fail(result, error);
    media::Picture picture;
    if (!media::decodeBmp(page, picture, &error) || picture.empty())
        return fail(result, "the first page is no picture: " + error);
    finish(result, picture, r);
    return true;
}

// What the face shows, with a margin, widened to the thumbnail's shape where the face allows.
media::Picture cutToContent(const media::Picture& face, int width, int height) {
    int left = face.width, top = face.height, right = -1, bottom = -1;
    for (int y = 0; y < face.height; ++y)
        for (int x = 0; x < face.width; ++x)
            if (face.at(x, y) & 0x00FFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return face;
    left = std::max(0, left - kClockMargin);
    top = std::max(0, top - kClockMargin);
    right = std::min(face.width - 1, right + kClockMargin);
    bottom = std::min(face.height - 1, bottom + kClockMargin);
    int w = right - left + 1, h = bottom - top + 1;
    // Grow the shorter way so the glyphs keep their shape.
    if (w * height < h * width) {
        const int want = std::min(face.width, (h * width + height - 1) / height);
        left = std::max(0, std::min(left - (want - w) / 2, face.width - want));
        w = want;
    } else {
        const int want = std::min(face.height, (w * height + width - 1) / width);
        top = std::max(0, std::min(top - (want - h) / 2, face.height - want));
        h = want;
    }
    media::Picture cut(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) cut.at(x, y) = face.at(left + x, top + y);
    return cut;
}

bool clockThumbnail(const ThumbnailRequest& r, const FontTable* fonts, ThumbnailResult& result) {
    ClockPage page;
    std::string diagnostic;
    if (!loadClockPage(r.path, page, [&](const std::string& line) { diagnostic += line; }))
        return fail(result, diagnostic.empty() ? "cannot read the clock page" : diagnostic);
    const int w = std::clamp(r.faceWidth, 1, 4096), h = std::clamp(r.faceHeight, 1, 4096);
    media::Picture face(w, h);
    if (fonts) {
        const CivilTime shown = shownTime(page, SystemUtcClock().nowUtc());
        content::drawClockFields(page, shown, *fonts, face.pixels.data(), w, h);
        content::drawClockExtras(page, std::nullopt, *fonts, face.pixels.data(), w, h);
    }
    result.sourceWidth = w;
    result.sourceHeight = h;
    finish(result, cutToContent(face, r.width, r.height), r);
    return true;
}

}  // namespace

bool firstTextPage(const std::string& path, std::vector<uint8_t>& bitmapFile, std::string* error) {
    std::unique_ptr<media::FileByteSource> file = media::FileByteSource::open(path, error);
    if (!file) return false;
    media::ZrtPageReader reader;
    if (reader.open(std::move(file), error) != media::ZrtHeaderStatus::Ok) return false;
    std::string why;
    if (!reader.nextPage(bitmapFile, &why)) {
        if (error) *error = why.empty() ? "the text page has no page" : why;
        return false;
    }
    return true;
}

ThumbnailResult makeThumbnail(const ThumbnailRequest& request, const FontTable* fonts) {
    ThumbnailResult result;
    ThumbnailRequest r = request;
    r.width = std::clamp(r.width, 1, 4096);
    r.height = std::clamp(r.height, 1, 4096);
    switch (mediumKindOf(r.path)) {
        case MediumKind::Picture:
            pictureThumbnail(r, result);
            break;
        case MediumKind::Video:
            videoThumbnail(r, result);
            break;
        case MediumKind::Flash:
            flashThumbnail(r, result);
            break;
        case MediumKind::TextPage:
            textPageThumbnail(r, result);
            break;
        case MediumKind::ClockPage:
            clockThumbnail(r, fonts, result);
            break;
        case MediumKind::None:
            fail(result, r.path.empty() ? "no medium" : r.path + " is of no medium kind");
            break;
    }
    return result;
}

}  // namespace brightline
