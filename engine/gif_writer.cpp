#include "engine/gif_writer.h"

#include <gif_lib.h>

namespace brightline::engine {
namespace {

constexpr int kRedLevels = 6, kGreenLevels = 7, kBlueLevels = 6;

int level(int value, int levels) {
    return (value * (levels - 1) + 127) / 255;
}
int levelValue(int l, int levels) {
    return (l * 255 + (levels - 1) / 2) / (levels - 1);
}

}  // namespace

uint8_t GifWriter::paletteIndex(uint32_t pixel) {
    int r = level((pixel >> 16) & 0xFF, kRedLevels);
    int g = level((pixel >> 8) & 0xFF, kGreenLevels);
    int b = level(pixel & 0xFF, kBlueLevels);
    return static_cast<uint8_t>((r * kGreenLevels + g) * kBlueLevels + b);
}

GifWriter::GifWriter(std::string path)
    : path_(std::move(path)),
      queue_([this](int width, int height, const uint32_t* pixels, uint64_t tick) {
          encode(width, height, pixels, tick);
      }) {}

GifWriter::~GifWriter() {
    finish();
}

int GifWriter::writeBytes(GifFileType* gif, const GifByteType* bytes, int size) {
    auto* file = static_cast<AtomicFileWriter*>(gif->UserData);
    return file->write(bytes, size_t(size)) ? size : 0;
}

bool GifWriter::open(int width, int height) {
    int err = 0;
    if (!file_.open(path_, &error_)) return false;
    gif_ = EGifOpen(&file_, writeBytes, &err);
    if (!gif_) {
        file_.abandon();
        error_ = path_ + ": " + GifErrorString(err);
        return false;
    }
    width_ = width;
    height_ = height;
    EGifSetGifVersion(gif_, true);
    GifColorType colours[256] = {};
    for (int r = 0; r < kRedLevels; ++r)
        for (int g = 0; g < kGreenLevels; ++g)
            for (int b = 0; b < kBlueLevels; ++b) {
                GifColorType& c = colours[(r * kGreenLevels + g) * kBlueLevels + b];
                c.Red = static_cast<GifByteType>(levelValue(r, kRedLevels));
                c.Green = static_cast<GifByteType>(levelValue(g, kGreenLevels));
                c.Blue = static_cast<GifByteType>(levelValue(b, kBlueLevels));
            }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    bool ok = map && EGifPutScreenDesc(gif_, width, height, 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    static const GifByteType kLoop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif_, 3, kLoop) == GIF_OK && EGifPutExtensionTrailer(gif_) == GIF_OK;
    if (!ok) error_ = path_ + ": " + GifErrorString(gif_->Error);
    return ok;
}

void GifWriter::writePending(uint64_t nextTick) {
    if (!havePending_ || !gif_ || !error_.empty()) return;
    uint64_t ticks = nextTick > pendingTick_ ? nextTick - pendingTick_ : 1;
    uint64_t delay = ticks * 4;  // hundredths of a second
    if (delay > 65535) delay = 65535;
    GifByteType control[4] = {0, static_cast<GifByteType>(delay & 0xFF),
                              static_cast<GifByteType>(delay >> 8), 0};
    bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK &&
              EGifPutImageDesc(gif_, 0, 0, width_, height_, false, nullptr) == GIF_OK;
    for (int row = 0; ok && row < height_; ++row)
        ok = EGifPutLine(gif_, pending_.data() + size_t(row) * width_, width_) == GIF_OK;
    if (!ok)
        error_ = path_ + ": " + GifErrorString(gif_->Error);
    else
        ++written_;
    havePending_ = false;
}

void GifWriter::frame(int width, int height, const uint32_t* pixels, uint64_t tick) {
    queue_.push(width, height, pixels, tick);
}

void GifWriter::encode(int width, int height, const uint32_t* pixels, uint64_t tick) {
    if (!error_.empty()) return;
    if (!gif_ && !open(width, height)) return;
    if (width != width_ || height != height_) {
        error_ = path_ + ": the frame size changed";
        return;
    }
    writePending(tick);
    pending_.resize(size_t(width) * height);
    for (size_t i = 0; i < pending_.size(); ++i) pending_[i] = paletteIndex(pixels[i]);
    pendingTick_ = tick;
    havePending_ = true;
}

void GifWriter::finish() {
    queue_.drain();
    if (!gif_) return;
    writePending(pendingTick_ + 1);
    int err = 0;
    if (EGifCloseFile(gif_, &err) != GIF_OK && error_.empty())
        error_ = path_ + ": " + GifErrorString(err);
    gif_ = nullptr;
    // Only a whole animation replaces what the path held before.
    std::string why;
    if (!error_.empty())
        file_.abandon();
    else if (!file_.commit(&why))
        error_ = why;
}

}  // namespace brightline::engine
