#include "media/zrt_converter.h"

#include "common/folders.h"
#include "media/bmp_picture.h"
#include "media/clip_rules.h"
#include "media/frame_encoder.h"
#include "media/zrt_file.h"
#include "media/zvi_writer.h"

namespace brightline::media {

ZrtConversionResult convertZrtToZvi(const std::string& zrtPath, const std::string& destination,
                                    const ConversionProgress& progress,
                                    const std::atomic<bool>* cancel,
                                    const std::string& scratchFolder) {
    ZrtConversionResult result;
    auto file = FileByteSource::open(zrtPath, &result.error);
    if (!file) return result;
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
    ZviHeader header;
    header.codecTag = kZviCodecPng;
    header.rate = kDoubledClipRate;
    header.frameCount = zrt.pageCount;
    header.width = zrt.width;
    header.height = zrt.height;
    ZviWriter writer;
    const std::string folder = scratchFolder.empty() ? brightline::scratchFolder() : scratchFolder;
    if (!writer.open(destination, header, &result.error, folder)) return result;

    std::vector<uint8_t> bitmap, encoded;
    Picture page;
    int done = 0;
    while (!(cancel && cancel->load()) && reader.nextPage(bitmap)) {
        ++done;
        std::string why;
        if (!decodeBmp(bitmap, page, &why) ||
            !encodeFrame(page, zrt.width, zrt.height, FrameFormat::Png, 100, encoded, &why)) {
            ++result.pagesSkipped;
        } else if (!writer.appendFrame(encoded, &result.error)) {
            return result;
        }
        if (progress) progress(done, std::max(done, zrt.pageCount));
    }
    header.frameCount = writer.framesWritten();
    if (!writer.finish(header.frameCount, &result.error)) return result;
    result.header = header;
    result.frames = header.frameCount;
    return result;
}

}  // namespace brightline::media
