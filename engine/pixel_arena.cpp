#include "engine/pixel_arena.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>

namespace brightline::engine {
namespace {

size_t slotWords(PixelArena::Size s) {
    if (s.width <= 0 || s.height <= 0) return 0;
    return size_t(3) * size_t(s.width) * size_t(s.height);
}

}  // namespace

bool PixelArena::reserve(Size screen, const std::vector<Size>& regions, size_t maxBytes) {
    if (static_cast<int>(regions.size()) >= kSlotCount) return false;
    size_t words = slotWords(screen);
    for (const Size& r : regions) words += slotWords(r);
    if (words > maxBytes / 4) return false;
    if (words <= capacityWords_ && block_) return true;

    std::unique_ptr<uint32_t[]> grown(new (std::nothrow) uint32_t[std::max<size_t>(words, 1)]());
    if (!grown) return false;
    // Keep the screen (slot 0) where it was relative to the block: first.
    RegionSlot& s0 = slots_[0];
    if (block_ && s0.display) {
        size_t n = slotOffset_[1] - slotOffset_[0];
        std::memcpy(grown.get(), block_.get(), n * 4);
    }
    block_ = std::move(grown);
    capacityWords_ = std::max<size_t>(words, 1);
    if (s0.display) {
        size_t plane = size_t(s0.width) * size_t(s0.height);
        s0.display = block_.get();
        s0.page = s0.display + plane;
        s0.work = s0.page + plane;
    }
    for (int k = 1; k < kSlotCount; ++k)
        slots_[k].display = slots_[k].page = slots_[k].work = nullptr;
    return true;
}

void PixelArena::setUpSlot(int k, int x, int y, int width, int height) {
    assert(k >= 0 && k < kSlotCount);
    RegionSlot& s = slots_[k];
    s.regionNumber = k;
    s.x = x;
    s.y = y;
    s.width = width;
    s.height = height;
    size_t plane = width > 0 && height > 0 ? size_t(width) * size_t(height) : 0;
    s.bufferSize = static_cast<uint32_t>(plane * 4);
    s.quitRequest = false;
    s.stop = false;
    s.finished = false;
    s.passComplete = false;
    s.changed = false;
    s.windowType = 1;
    s.signal = false;
    s.signalRaised = false;

    size_t start = k == 0 ? 0 : slotOffset_[k];
    assert(start + 3 * plane <= capacityWords_);
    slotOffset_[k] = start;
    slotOffset_[k + 1] = start + 3 * plane;
    s.display = block_.get() + start;
    s.page = s.display + plane;
    s.work = s.page + plane;
    std::memset(s.display, 0, 3 * plane * 4);
}

}  // namespace brightline::engine
