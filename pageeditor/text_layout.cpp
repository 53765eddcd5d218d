#include "pageeditor/text_layout.h"

#include <algorithm>

#include "pageeditor/dbcs_text.h"

namespace brightline::pageeditor {
namespace {

struct CharMetrics {
    int32_t ascent = 0;
    int32_t descent = 0;
};

// Heights and advances read from a file are kept within what a line can add up.
constexpr int32_t kMaxExtent = 1 << 20;

CharMetrics bounded(int32_t ascent, int32_t descent) {
    return {std::clamp(ascent, 0, kMaxExtent), std::clamp(descent, 0, kMaxExtent)};
}

CharMetrics metricsAt(const TextPage& page, const StyleRun* run) {
    if (!run) {
        if (!page.fonts.empty() && page.fonts.front().metrics.measured())
            return bounded(page.fonts.front().metrics.ascent, page.fonts.front().metrics.descent);
        return {0, 0};
    }
    if (run->kind == kRunPicture) {
        if (const PictureEntry* p = page.picture(run->resourceId))
            return bounded(p->info.height, 0);
        return bounded(run->height, 0);
    }
    if (const FontEntry* f = page.font(run->resourceId); f && f->metrics.measured())
        return bounded(f->metrics.ascent, f->metrics.descent);
    return bounded(run->height, 0);
}

bool isPictureAt(const TextPage& page, size_t pos) {
    const StyleRun* r = page.runAt(int32_t(pos));
    return r && r->kind == kRunPicture;
}

// Fills in width, ascent and height of a line from its characters.
void measureLine(const TextPage& page, LineBox& line) {
    int32_t ascent = 0, descent = 0;
    int64_t width = 0, visibleWidth = 0;
    for (size_t i = size_t(line.start); i < size_t(line.end);) {
        const size_t n = characterLength(page.text, i);
        const char c = page.text[i];
        const CharMetrics m = metricsAt(page, page.runAt(int32_t(i)));
        ascent = std::max(ascent, m.ascent);
        descent = std::max(descent, m.descent);
        if (c != kLineBreak) {
            width += characterAdvance(page, i);
            if (c != ' ') visibleWidth = width;
        }
        i += n;
    }
    if (line.empty()) {
        // An empty last line takes the height of the character before it.
        const CharMetrics m =
            metricsAt(page, line.start > 0 ? page.runAt(line.start - 1) : nullptr);
        ascent = m.ascent;
        descent = m.descent;
    }
    line.width = int32_t(std::min<int64_t>(visibleWidth, INT32_MAX));
    line.ascent = ascent;
    line.height = ascent + descent;
}

std::vector<LineBox> breakLines(const TextPage& page) {
    std::vector<LineBox> lines;
    const std::string& text = page.text;
    const bool horizontal = page.geometry.layout == PageLayout::Horizontal;
    const int64_t limit = page.geometry.pageWidth;
    auto finish = [&](size_t from, size_t to) {
        LineBox line;
        line.start = int32_t(from);
        line.end = int32_t(to);
        measureLine(page, line);
        lines.push_back(line);
    };
    if (text.empty()) return lines;
    if (horizontal) {
        finish(0, text.size());
        return lines;
    }
    size_t lineStart = 0, lastBreak = 0;
    int64_t x = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t n = characterLength(text, i);
        const char c = text[i];
        if (c == kLineBreak) {
            finish(lineStart, i + 1);
            lineStart = lastBreak = i + 1;
            x = 0;
            i += n;
            continue;
        }
        const bool wide = n == 2 || isPictureAt(page, i);
        if (wide && i > lineStart) lastBreak = i;
        const int32_t w = characterAdvance(page, i);
        if (x + w > limit && i > lineStart && c != ' ') {
            const size_t cut = lastBreak > lineStart ? lastBreak : i;
            finish(lineStart, cut);
            lineStart = lastBreak = cut;
            x = 0;
            for (size_t j = cut; j < i; j += characterLength(text, j))
                x += characterAdvance(page, j);
        }
        x += w;
        if (c == ' ' || wide) lastBreak = i + n;
        i += n;
    }
    if (lineStart < text.size() || text.back() == kLineBreak) finish(lineStart, text.size());
    return lines;
}

int32_t alignedOffset(Alignment a, int64_t room, int64_t width) {
    int64_t x = 0;
    if (a == Alignment::Centre) x = (room - width) / 2;
    if (a == Alignment::Right) x = room - width;
    return int32_t(std::clamp<int64_t>(x, 0, 65535));
}

}  // namespace

int32_t characterAdvance(const TextPage& page, size_t pos) {
    if (pos >= page.text.size()) return 0;
    if (const StyleRun* r = page.runAt(int32_t(pos)); r && r->kind == kRunPicture) {
        if (const PictureEntry* p = page.picture(r->resourceId))
            return std::clamp(p->info.width, 0, kMaxExtent);
    }
    return pos < page.widths.size() ? page.widths[pos] : 0;
}

TextLayout layOut(TextPage& page, bool pageEdit) {
    TextLayout out;
    out.lines = breakLines(page);
    const PageGeometry& g = page.geometry;
    const bool horizontal = g.layout == PageLayout::Horizontal;
    page.lines.resize(out.lines.size());
    int64_t y = 0;
    int64_t extent = 0;
    for (size_t k = 0; k < out.lines.size(); ++k) {
        LineBox& line = out.lines[k];
        LineEntry& entry = page.lines[k];
        int64_t room = g.pageWidth;
        if (horizontal && g.pageWidth > 0)
            room = std::max<int64_t>(1, (int64_t(line.width) + g.pageWidth - 1) / g.pageWidth) *
                   g.pageWidth;
        line.x = alignedOffset(entry.alignment, room, line.width);
        entry.offset = line.x;
        entry.extent = line.width;
        int64_t top = y;
        if (pageEdit && !horizontal && g.pageHeight > 0 && line.height > 0) {
            const int64_t pageTop = y / g.pageHeight * g.pageHeight;
            if (y + line.height > pageTop + g.pageHeight && y != pageTop)
                top = pageTop + g.pageHeight;
        }
        line.top = int32_t(std::min<int64_t>(top, INT32_MAX));
        y = top + line.height;
        if (!line.empty()) extent = horizontal ? int64_t(line.x) + line.width : top + line.height;
    }
    out.extent = int32_t(std::min<int64_t>(extent, INT32_MAX));
    const int64_t length = g.pageLength();
    out.pageCount = length > 0 ? int32_t((extent + length - 1) / length) : 0;
    out.canvas = canvasSize(g, out.pageCount);
    return out;
}

CaretPoint TextLayout::caretAt(const TextPage& page, int32_t pos, int32_t emptyHeight) const {
    if (lines.empty()) return CaretPoint{0, 0, emptyHeight};
    pos = int32_t(
        characterStart(page.text, size_t(std::clamp<int32_t>(pos, 0, int32_t(page.text.size())))));
    const LineBox& line = lines[lineOf(pos)];
    int64_t x = line.x;
    for (size_t i = size_t(line.start); i < size_t(pos) && i < size_t(line.end);
         i += characterLength(page.text, i))
        if (page.text[i] != kLineBreak) x += characterAdvance(page, i);
    return CaretPoint{int32_t(std::min<int64_t>(x, INT32_MAX)), line.top, line.height};
}

int32_t TextLayout::positionAt(const TextPage& page, int32_t x, int32_t y) const {
    if (lines.empty()) return 0;
    size_t k = 0;
    while (k + 1 < lines.size() && y >= int64_t(lines[k].top) + lines[k].height) ++k;
    return positionOnLine(page, k, x);
}

size_t TextLayout::lineOf(int32_t pos) const {
    size_t k = 0;
    while (k + 1 < lines.size() && pos >= lines[k + 1].start) ++k;
    return k;
}

int32_t TextLayout::positionOnLine(const TextPage& page, size_t k, int32_t x) const {
    if (k >= lines.size()) return int32_t(page.text.size());
    const LineBox& line = lines[k];
    int64_t left = line.x;
    size_t i = size_t(line.start);
    while (i < size_t(line.end)) {
        if (page.text[i] == kLineBreak) break;
        const int32_t w = characterAdvance(page, i);
        if (x < left + w / 2) break;  // int64: no overflow
        left += w;
        i += characterLength(page.text, i);
    }
    // The end of a wrapped line is the start of the next one: stay before its last character.
    if (i == size_t(line.end) && k + 1 < lines.size() && i > size_t(line.start))
        i = characterStart(page.text, i - 1);
    return int32_t(i);
}

}  // namespace brightline::pageeditor
