#include "media/zrt_converter.h"

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/clip_rules.h"
#include "media/frame_encoder.h"
#include "media/zrt_file.h"
#include "media/zvi_writer.h"

namespace brightline::media {

ZrtConversionResult convertZrtToZvi(const std::string& zrtPath, const std::string& destination,
                                    const ConversionProgress& progress,
                                    const std::atomic<bool>* cancel) {
    ZrtConversionResult result;
    if (sameFile(zrtPath, destination)) {
        result.error = destination + " is the text page itself; the clip needs another name";
        return result;
    }
    auto file = FileByteSource::open(zrtPath, &result.error);
    if (!file) return result;
    const uint64_t fileSize = file->size();
    ZrtPageReader reader;
    const ZrtHeaderStatus status = reader.open(std::move(file), &result.error);
    if (status == ZrtHeaderStatus::Short) return result;
    if (status == ZrtHeaderStatus::WrongMark) {
        result.frames = 0;
        return result;
    }
    const ZrtHeader& zrt = reader.header();
    if (!pictureSizeAllowed(zrt.width, zrt.height)) {
        result.error = "text page size " + std::to_string(zrt.width) + " x " +
                       std::to_string(zrt.height) + " is out of range";
        return result;
    }
    // A page picture needs at least a bit a pixel: a size the file cannot hold is refused before
    // a page of that size is made.
    const uint64_t leastPage = uint64_t(zrt.width) * uint64_t(zrt.height) / 8;
    if (fileSize < uint64_t(zrt.pageOffset) + leastPage) {
        result.error = zrtPath + ": a page of " + std::to_string(zrt.width) + " x " +
                       std::to_string(zrt.height) + " pixels needs more than the " +
                       std::to_string(fileSize) + " bytes of the file";
        return result;
    }
    ZviHeader header;
    header.codecTag = kZviCodecPng;
    header.rate = kDoubledClipRate;
    header.frameCount = zrt.pageCount;
    header.width = zrt.width;
    header.height = zrt.height;
    ZviWriter writer;
    if (!writer.open(destination, header, &result.error)) return result;

    std::vector<uint8_t> bitmap, encoded;
    Picture page;
    int done = 0;
    std::string why, lastProblem;
    while (!(cancel && cancel->load()) && reader.nextPage(bitmap, &lastProblem)) {
        ++done;
        if (!decodeBmp(bitmap, page, &why) ||
            !encodeFrame(page, zrt.width, zrt.height, FrameFormat::Png, 100, encoded, &why)) {
            ++result.pagesSkipped;
            lastProblem = "page " + std::to_string(done) + ": " + why;
        } else if (!writer.appendFrame(encoded, &result.error)) {
            return result;
        }
        if (progress) progress(done, std::max(done, zrt.pageCount));
    }
    if (writer.framesWritten() == 0 && !(cancel && cancel->load())) {
        // Nothing to show: an existing clip is kept rather than replaced by an empty one.
        writer.abandon();
        result.error = zrtPath + ": no page could be read" +
                       (lastProblem.empty() ? std::string(" (the file holds none)")
                                            : " (" + lastProblem + ")");
        return result;
    }
    header.frameCount = writer.framesWritten();
    if (!writer.finish(header.frameCount, &result.error)) return result;
    result.header = header;
    result.frames = header.frameCount;
    return result;
}

}  // namespace brightline::media
