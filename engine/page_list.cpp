#include "engine/page_list.h"

#include <algorithm>
#include <new>

namespace brightline::engine {

void PageList::reset(uint32_t* page0, size_t pixelsPerPage) {
    pages_.clear();
    pixels_ = pixelsPerPage;
    pages_.push_back({0, page0, nullptr});
}

namespace {

// The first page numbered n or above (the pages are sorted by number).
template <class Pages>
auto firstFrom(Pages& pages, int n) {
    return std::lower_bound(pages.begin(), pages.end(), n,
                            [](const auto& p, int number) { return p.number < number; });
}

}  // namespace

uint32_t* PageList::page(int n) const {
    auto it = firstFrom(pages_, n);
    return it != pages_.end() && it->number == n ? it->pixels : nullptr;
}

uint32_t* PageList::ensurePage(int n) {
    if (n < 0 || n >= kMaxPages || pages_.empty()) return nullptr;
    auto at = firstFrom(pages_, n);
    if (at != pages_.end() && at->number == n) return at->pixels;
    std::unique_ptr<uint32_t[]> buffer(new (std::nothrow) uint32_t[std::max<size_t>(pixels_, 1)]());
    if (!buffer) return nullptr;
    uint32_t* pixels = buffer.get();
    pages_.insert(at, Page{n, pixels, std::move(buffer)});
    return pixels;
}

int PageList::lastPageNumber() const {
    return pages_.empty() ? 0 : pages_.back().number;
}

std::vector<int> PageList::pageNumbers() const {
    std::vector<int> numbers;
    for (const Page& p : pages_) numbers.push_back(p.number);
    return numbers;
}

void PageList::freeExtraPages() {
    if (pages_.size() > 1) pages_.resize(1);
}

}  // namespace brightline::engine
