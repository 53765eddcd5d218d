#pragma once
// The page format rules: the smallest page, the largest page the screen allows, and the
// messages that refuse a size.
#include <string>

#include "common/operator_messages.h"
#include "pageeditor/text_page.h"

namespace brightline::pageeditor {

inline constexpr const char* kPagewrightTitle = "Pagewright V1.3";
inline constexpr int kMinPageWidth = 7;
inline constexpr int kMinPageHeight = 8;
// The canvas is at least this long along the layout.
inline constexpr int kCanvasLength = 10240;

struct PageFormatLimits {
    int maxWidth = 0;   // checked in vertical layout only
    int maxHeight = 0;  // checked in horizontal layout only
};

// The limits of a window on a screen of the given size (all in pixels): width minus two frames,
// height minus two frames, 40, the caption and the menu, each rounded down to a multiple of 128.
PageFormatLimits limitsForScreen(int screenWidth, int screenHeight, int frameWidth, int frameHeight,
                                 int captionHeight, int menuHeight);

// Limits for work without a screen: each side at most 65,535 pixels, as the line offsets and
// the clip frames can hold.
PageFormatLimits headlessLimits();

enum class PageFormatField { None, Width, Height };

struct PageFormatCheck {
    bool accepted = true;
    PageFormatField field = PageFormatField::None;  // the field to put back and select
    OperatorMessage message;                        // when refused
};

// Page Format OK: a side below 7 x 8 is refused first, then a height above the limit in
// horizontal layout or a width above it in vertical layout. The other side has no upper bound.
PageFormatCheck checkPageFormat(PageLayout layout, int width, int height,
                                const PageFormatLimits& limits);

// The geometry a page format gives: canvas size and page length for `pageCount` pages.
struct CanvasSize {
    int width = 0;
    int height = 0;
};
// Horizontal: at least kCanvasLength wide and the page height high; vertical: the page width
// wide and at least kCanvasLength high; longer when the pages need more.
CanvasSize canvasSize(const PageGeometry& geometry, int pageCount);

}  // namespace brightline::pageeditor
