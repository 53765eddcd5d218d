#pragma once
// The pages of a region's content, sorted by page number. Page 0 is the slot's page buffer;
// further pages (multi-page text, strips of clip frames) get buffers of their own, of the
// region's size, when a loader asks for them, and are freed by freeExtraPages() or with the
// list.
//
// Thread affinity: the region's own thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace brightline::engine {

class PageList {
  public:
    static constexpr int kMaxPages = 1000;

    // Page 0 becomes `page0` (not owned) of `pixelsPerPage` pixels; extra pages are freed.
    void reset(uint32_t* page0, size_t pixelsPerPage);
    // The buffer of page n, nullptr when the list has no such page.
    uint32_t* page(int n) const;
    // The buffer of page n, created (black) when missing; nullptr when n is out of 0..kMaxPages-1
    // or the memory cannot be had.
    uint32_t* ensurePage(int n);
    // The highest page number held (0 when only page 0 is there).
    int lastPageNumber() const;
    int extraPageCount() const { return static_cast<int>(pages_.size()) - 1; }
    // The page numbers held, ascending.
    std::vector<int> pageNumbers() const;
    void freeExtraPages();
    size_t pixelsPerPage() const { return pixels_; }

  private:
    struct Page {
        int number;
        uint32_t* pixels;
        std::unique_ptr<uint32_t[]> owned;
    };
    std::vector<Page> pages_;  // sorted by number; pages_[0] is page 0
    size_t pixels_ = 0;
};

}  // namespace brightline::engine
