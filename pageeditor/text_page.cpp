#include "pageeditor/text_page.h"

#include <algorithm>

#include "pageeditor/dbcs_text.h"

namespace brightline::pageeditor {

const std::vector<uint8_t>& PictureEntry::data() const {
    static const std::vector<uint8_t> none;
    return bits ? *bits : none;
}

bool StyleRun::sameStyle(const StyleRun& o) const {
    return kind == o.kind && resourceId == o.resourceId && averageWidth == o.averageWidth &&
           height == o.height && reserved == o.reserved && contour == o.contour &&
           outlineColor == o.outlineColor && outlineWidth == o.outlineWidth &&
           textColor == o.textColor;
}

bool StyleRun::operator==(const StyleRun& o) const {
    return sameStyle(o) && start == o.start && length == o.length;
}

const FontEntry* TextPage::font(int32_t id) const {
    for (const FontEntry& f : fonts)
        if (f.id == id) return &f;
    return nullptr;
}

const PictureEntry* TextPage::picture(int32_t id) const {
    for (const PictureEntry& p : pictures)
        if (p.id == id) return &p;
    return nullptr;
}

size_t TextPage::runIndexAt(int32_t pos) const {
    auto it = std::upper_bound(runs.begin(), runs.end(), pos,
                               [](int32_t p, const StyleRun& r) { return p < r.end(); });
    return size_t(it - runs.begin());
}

const StyleRun* TextPage::runAt(int32_t pos) const {
    const size_t i = runIndexAt(pos);
    if (i < runs.size() && runs[i].start <= pos) return &runs[i];
    return nullptr;
}

bool runsAreConsistent(const TextPage& page, std::string* why) {
    int64_t expected = 0;
    for (size_t i = 0; i < page.runs.size(); ++i) {
        const StyleRun& r = page.runs[i];
        if (r.start != expected || r.length <= 0 ||
            int64_t(r.start) + r.length > int64_t(page.text.size())) {
            if (why)
                *why = "run " + std::to_string(i) + " covers " + std::to_string(r.start) + "+" +
                       std::to_string(r.length) + ", expected a start at " +
                       std::to_string(expected) + " within " + std::to_string(page.text.size()) +
                       " text bytes";
            return false;
        }
        expected = int64_t(r.start) + r.length;
    }
    if (expected != int64_t(page.text.size())) {
        if (why)
            *why = "the runs end at " + std::to_string(expected) + ", the text at " +
                   std::to_string(page.text.size());
        return false;
    }
    return true;
}

bool repairRuns(TextPage& page) {
    // A run boundary inside a double-byte character splits it: such runs are not consistent
    // for drawing, so boundaries are moved to character starts.
    // One pass over the text marks where characters start (runs may be many).
    std::vector<bool> starts(page.text.size() + 1, false);
    for (size_t i = 0; i < page.text.size(); i += characterLength(page.text, i)) starts[i] = true;
    starts[page.text.size()] = true;
    auto startAtOrBefore = [&](int64_t pos) {
        pos = std::clamp<int64_t>(pos, 0, int64_t(page.text.size()));
        return int32_t(starts[size_t(pos)] ? pos : pos - 1);  // characters are 1 or 2 bytes
    };
    bool boundariesWhole = true;
    for (const StyleRun& r : page.runs)
        if (r.start >= 0 && startAtOrBefore(r.start) != r.start) boundariesWhole = false;
    if (boundariesWhole && runsAreConsistent(page)) return false;
    const auto size = int32_t(page.text.size());
    StyleRun filler;
    filler.resourceId = page.fonts.empty() ? 1 : page.fonts.front().id;
    if (!page.fonts.empty()) {
        filler.averageWidth = page.fonts.front().metrics.averageWidth;
        filler.height = page.fonts.front().metrics.height();
    }
    std::vector<StyleRun> fixed;
    int32_t covered = 0;
    auto add = [&](StyleRun run, int32_t from, int32_t to) {
        from = startAtOrBefore(from);
        to = startAtOrBefore(to);
        if (to <= from) return;
        run.start = from;
        run.length = to - from;
        if (!fixed.empty() && fixed.back().sameStyle(run) && fixed.back().end() == from)
            fixed.back().length += run.length;
        else
            fixed.push_back(run);
        covered = to;
    };
    for (const StyleRun& r : page.runs) {
        const int64_t end = std::min<int64_t>(int64_t(r.start) + std::max(0, r.length), size);
        const auto from = int32_t(std::max<int64_t>(r.start, covered));
        if (end <= from) continue;
        if (from > covered) add(filler, covered, from);
        add(r, from, int32_t(end));
    }
    if (covered < size) add(filler, covered, size);
    page.runs = std::move(fixed);
    return true;
}

}  // namespace brightline::pageeditor
