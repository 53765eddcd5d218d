#include "pageeditor/caret_motion.h"

#include <algorithm>

#include "pageeditor/dbcs_text.h"

namespace brightline::pageeditor {

int32_t movedCaret(const TextPage& page, const TextLayout& layout, int32_t pos, CaretMove move,
                   int32_t x) {
    const auto size = int32_t(page.text.size());
    pos = int32_t(characterStart(page.text, size_t(std::clamp(pos, 0, size))));
    if (layout.lines.empty()) return 0;
    const size_t k = layout.lineOf(pos);
    const LineBox& line = layout.lines[k];
    switch (move) {
        case CaretMove::Left:
            return pos == 0 ? 0 : int32_t(characterStart(page.text, size_t(pos - 1)));
        case CaretMove::Right:
            return pos >= size ? size : pos + int32_t(characterLength(page.text, size_t(pos)));
        case CaretMove::Home:
            return line.start;
        case CaretMove::End:
            // Before the line's break, or at the end of the text; a wrapped line ends before
            // the character the next line starts with.
            if (line.end > line.start && page.text[size_t(line.end - 1)] == kLineBreak)
                return line.end - 1;
            if (k + 1 < layout.lines.size() && line.end > line.start)
                return int32_t(characterStart(page.text, size_t(line.end - 1)));
            return line.end;
        case CaretMove::Up:
            return k == 0 ? 0 : layout.positionOnLine(page, k - 1, x);
        case CaretMove::Down:
            return k + 1 >= layout.lines.size() ? size : layout.positionOnLine(page, k + 1, x);
        case CaretMove::DocumentStart:
            return 0;
        case CaretMove::DocumentEnd:
            return size;
    }
    return pos;
}

}  // namespace brightline::pageeditor
