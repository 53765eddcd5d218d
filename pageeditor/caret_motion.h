#pragma once
// Where the caret goes for the editing keys, worked out from the laid-out page: Home and End
// stay on the caret's line, Up and Down keep the caret's canvas x on the neighbouring line.
// Positions are byte offsets at character boundaries.
#include <cstdint>

#include "pageeditor/text_layout.h"
#include "pageeditor/text_page.h"

namespace brightline::pageeditor {

enum class CaretMove { Left, Right, Home, End, Up, Down, DocumentStart, DocumentEnd };

// The position the caret at `pos` moves to. Up from the first line goes to the start of the
// text, Down from the last line to its end. `x` is the canvas x that Up and Down aim for (the
// caret's own x when the caret was not moved up or down before).
int32_t movedCaret(const TextPage& page, const TextLayout& layout, int32_t pos, CaretMove move,
                   int32_t x);

}  // namespace brightline::pageeditor
