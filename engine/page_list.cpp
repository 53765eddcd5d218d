#include "engine/page_list.h"

#include <algorithm>
#include <new>

namespace brightline::engine {

void PageList::reset(uint32_t* page0, size_t pixelsPerPage) {
    pages_.clear();
    pixels_ = pixelsPerPage;
    pages_.push_back({0, page0, nullptr});
}

uint32_t* PageList::page(int n) const {
    for (const Page& p : pages_)
        if (p.number == n) return p.pixels;
    return nullptr;
}

uint32_t* PageList::ensurePage(int n) {
    if (n < 0 || n >= kMaxPages || pages_.empty()) return nullptr;
    if (uint32_t* existing = page(n)) return existing;
    std::unique_ptr<uint32_t[]> buffer(new (std::nothrow) uint32_t[std::max<size_t>(pixels_, 1)]());
    if (!buffer) return nullptr;
    uint32_t* pixels = buffer.get();
    auto at =
        std::find_if(pages_.begin(), pages_.end(), [n](const Page& p) { return p.number > n; });
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
