#pragma once
// The content of a text page, as the ".ZRT" file stores it: geometry, font table, picture
// table, style runs, text with its width bytes, and the line table.
//
// Positions and lengths in runs are byte offsets into `text` (a double-byte character counts
// two). `widths` holds one byte per text byte: the advance in pixels of the character that
// starts there (at most 255), 0 at a trail byte and at a line break. A picture stands in the
// text as one placeholder byte covered by a picture run. Colours are 0x00BBGGRR.
//
// A plain value: copying one is cheap (picture bits are shared, never changed in place), so an
// editor can keep copies for undo.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pageeditor/log_font.h"

namespace brightline::pageeditor {

enum class PageLayout : int32_t { Vertical = 0, Horizontal = 1 };
enum class Alignment : uint8_t { Left = 0, Centre = 1, Right = 2 };

inline constexpr int32_t kRunText = 0;
inline constexpr int32_t kRunPicture = 2;
inline constexpr char kPicturePlaceholder = '\x01';
inline constexpr uint32_t kWhite = 0x00FFFFFF;
inline constexpr uint32_t kRed = 0x000000FF;  // 0x00BBGGRR

// Metrics of a font in pixels, measured when the font is created; not stored in the file.
struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int averageWidth = 0;
    int height() const { return ascent + descent; }
    bool measured() const { return ascent + descent > 0; }
};

struct FontEntry {
    int32_t id = 0;
    LogFont font;
    FontMetrics metrics;
};

// The 24-byte description of a picture's bits: rows top first, `stride` bytes each.
struct PictureInfo {
    int32_t bitsSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    uint16_t planes = 1;
    uint16_t bitsPerPixel = 32;
    int32_t unused = 0;  // kept as read
};

struct PictureEntry {
    int32_t id = 0;
    PictureInfo info;
    std::shared_ptr<const std::vector<uint8_t>> bits;  // info.bitsSize bytes; never null
    const std::vector<uint8_t>& data() const;
};

// One style run: 11 int32 values in the file, in this order.
struct StyleRun {
    int32_t kind = kRunText;  // kRunText or kRunPicture
    int32_t resourceId = 0;   // font id or picture id
    int32_t start = 0;
    int32_t length = 0;
    int32_t averageWidth = 0;  // of its font (a picture: its width)
    int32_t height = 0;        // of its font (a picture: its height)
    int32_t reserved = 0;
    int32_t contour = 0;  // 0/1: drawn as an outlined path
    uint32_t outlineColor = kRed;
    int32_t outlineWidth = 1;
    uint32_t textColor = kWhite;

    int32_t end() const { return start + length; }
    // Same look: everything but start and length equal.
    bool sameStyle(const StyleRun& other) const;
    bool operator==(const StyleRun& other) const;
};

struct LineEntry {
    Alignment alignment = Alignment::Left;  // stored as a byte; other values read as left
    int32_t offset = 0;                     // stored as 16 bits; kept within 0..65535
    int32_t extent = 0;                     // the line's width in pixels; not stored
};

struct PageGeometry {
    PageLayout layout = PageLayout::Vertical;
    int32_t pageWidth = 256;
    int32_t pageHeight = 128;
    // The page step along the layout: page width when horizontal, page height when vertical.
    int32_t pageLength() const { return layout == PageLayout::Horizontal ? pageWidth : pageHeight; }
};

struct TextPage {
    PageGeometry geometry;
    std::vector<FontEntry> fonts;
    std::vector<PictureEntry> pictures;
    std::vector<StyleRun> runs;
    std::string text;
    std::vector<uint8_t> widths;
    std::vector<LineEntry> lines;

    const FontEntry* font(int32_t id) const;
    const PictureEntry* picture(int32_t id) const;
    // The run that covers byte `pos`, or null.
    const StyleRun* runAt(int32_t pos) const;
    // Index of the first run whose end is beyond `pos` (runs.size() when none).
    size_t runIndexAt(int32_t pos) const;
};

// Checks that the runs cover the text in order without gaps or overlaps, none of them empty;
// false with `why` set for the first problem. A run whose font or picture is missing is drawn
// with the first font or left blank, and is not a problem here.
bool runsAreConsistent(const TextPage& page, std::string* why = nullptr);

// Makes the runs cover the text: runs are cut to the text, overlaps and empty runs dropped,
// double-byte characters kept in one run, and gaps given a text run in the first font. Runs
// that already cover the text are left alone. True when something had to change.
bool repairRuns(TextPage& page);

}  // namespace brightline::pageeditor
