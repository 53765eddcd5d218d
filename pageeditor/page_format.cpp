#include "pageeditor/page_format.h"

#include <algorithm>
#include <cstdio>

namespace brightline::pageeditor {
namespace {

// "x" is the multiplication sign of the code page (0xA1 0xC1), held here as UTF-8.
constexpr const char* kMinimumMessage =
    "Minimum width and height is 7\xC3\x97"
    "8, please check and try again.";
constexpr const char* kHeightMessage = "Set height=%d error. Please check the value and try again.";
constexpr const char* kWidthMessage = "Set width=%d error. Please check the value and try again.";

int roundDown128(int v) {
    return v <= 0 ? 0 : v / 128 * 128;
}

std::string formatted(const char* format, int value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

PageFormatLimits limitsForScreen(int screenWidth, int screenHeight, int frameWidth, int frameHeight,
                                 int captionHeight, int menuHeight) {
    PageFormatLimits l;
    l.maxWidth = roundDown128(screenWidth - 2 * frameWidth);
    l.maxHeight = roundDown128(screenHeight - 2 * frameHeight - 40 - captionHeight - menuHeight);
    return l;
}

PageFormatLimits headlessLimits() {
    return PageFormatLimits{65535, 65535};
}

PageFormatCheck checkPageFormat(PageLayout layout, int width, int height,
                                const PageFormatLimits& limits) {
    PageFormatCheck c;
    if (width < kMinPageWidth || height < kMinPageHeight) {
        c.accepted = false;
        c.field = width < kMinPageWidth ? PageFormatField::Width : PageFormatField::Height;
        c.message = OperatorMessage{kMinimumMessage, kPagewrightTitle, MessageIcon::Information,
                                    MessageButtons::Ok};
    } else if (layout == PageLayout::Horizontal && height > limits.maxHeight) {
        c.accepted = false;
        c.field = PageFormatField::Height;
        c.message = OperatorMessage{formatted(kHeightMessage, limits.maxHeight), kPagewrightTitle,
                                    MessageIcon::None, MessageButtons::Ok};
    } else if (layout == PageLayout::Vertical && width > limits.maxWidth) {
        c.accepted = false;
        c.field = PageFormatField::Width;
        c.message = OperatorMessage{formatted(kWidthMessage, limits.maxWidth), kPagewrightTitle,
                                    MessageIcon::None, MessageButtons::Ok};
    }
    return c;
}

CanvasSize canvasSize(const PageGeometry& g, int pageCount) {
    const int64_t along = std::max<int64_t>(kCanvasLength, int64_t(pageCount) * g.pageLength());
    const int clamped = int(std::min<int64_t>(along, INT32_MAX));
    if (g.layout == PageLayout::Horizontal) return CanvasSize{clamped, g.pageHeight};
    return CanvasSize{g.pageWidth, clamped};
}

}  // namespace brightline::pageeditor
