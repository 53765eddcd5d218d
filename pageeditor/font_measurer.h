#pragma once
// What the document needs to know about real fonts: the advance of a character and the metrics
// of a logical font. The render library answers it with the installed fonts; tests may answer
// with fixed numbers. Called from the thread that owns the document.
#include <string>

#include "pageeditor/log_font.h"
#include "pageeditor/text_page.h"

namespace brightline::pageeditor {

class FontMeasurer {
  public:
    virtual ~FontMeasurer() = default;
    // Ascent, descent and average character width of `font`, in pixels.
    virtual FontMetrics metrics(const LogFont& font) = 0;
    // The advance in pixels of one character (one or two code page bytes) drawn in `font`.
    virtual int advance(const LogFont& font, const std::string& character) = 0;
};

}  // namespace brightline::pageeditor
