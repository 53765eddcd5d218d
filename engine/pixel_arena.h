#pragma once
// The pixel memory of one show: one block holding, back to back, the display, page and work
// buffers of slot 0 (the screen) and of the regions of the page playing, slot k after slots
// 0..k-1. The block is sized from the page: reserve() grows it (keeping the screen's pixels)
// when a page needs more than the block holds, and refuses a page beyond kMaxBytes.
//
// Thread affinity: the show player thread sets slots up between pages; region threads use their
// own slot's buffers and flags while the page plays.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/region_slot.h"

namespace brightline::engine {

class PixelArena {
  public:
    static constexpr int kSlotCount = 10;
    // The most pixel memory one page may take (three buffers per slot, screen included).
    static constexpr size_t kMaxBytes = size_t(1) << 30;

    struct Size {
        int width;
        int height;
    };

    // Makes room for the screen and the regions of one page (slot 1 onwards in order). False
    // when that needs more than `maxBytes` or the memory cannot be had; the block and its slots
    // are then as they were.
    bool reserve(Size screen, const std::vector<Size>& regions, size_t maxBytes = kMaxBytes);

    // Sets up slot k (0 the screen) at (x, y) with the given size: flags cleared, window type 1,
    // its three buffers placed after those of slots 0..k-1 and zeroed. Requires a reserve()
    // covering slots 0..k and slots 0..k-1 set up first.
    void setUpSlot(int k, int x, int y, int width, int height);

    RegionSlot& slot(int k) { return slots_[k]; }
    const RegionSlot& slot(int k) const { return slots_[k]; }
    size_t capacityBytes() const { return capacityWords_ * 4; }

  private:
    std::unique_ptr<uint32_t[]> block_;
    size_t capacityWords_ = 0;
    size_t slotOffset_[kSlotCount + 1] = {};  // first word of slot k; end of slot k at k + 1
    RegionSlot slots_[kSlotCount];
};

}  // namespace brightline::engine
