#pragma once
// The text page document being edited: the page content, its layout, the current style for
// new text, and the editing state (file path, modified flag, selection, caret, zoom, page edit).
//
// Every operation keeps the runs covering the text, double-byte characters whole, the layout
// and the line table up to date, and marks the document modified. Positions are byte offsets
// into the text; a position inside a double-byte character is taken to that character's start
// (or, for the end of a range, its end). An editor window calls these operations and paints
// from page() and layout(); an undo history can keep copies of page() and hand them back with
// restore().
//
// One thread owns a document. The measurer must outlive it.
#include <cstdint>
#include <string>

#include "common/operator_messages.h"
#include "media/picture.h"
#include "pageeditor/font_measurer.h"
#include "pageeditor/page_format.h"
#include "pageeditor/text_layout.h"
#include "pageeditor/text_page.h"
#include "pageeditor/text_page_file.h"

namespace brightline::pageeditor {

inline constexpr const char* kNewDocumentPath = "./new.ZRT";
inline constexpr const char* kOpenPictureFailedMessage = "Open picture failed, please check !";
inline constexpr const char* kOpenPictureErrorCaption = "Open Picture Error";

struct CurrentStyle {
    int32_t fontId = 1;
    uint32_t textColor = kWhite;
    int32_t contour = 0;
    uint32_t outlineColor = kRed;
    int32_t outlineWidth = 1;
};

struct TextRange {
    int32_t start = 0;
    int32_t end = 0;
    bool empty() const { return end <= start; }
};

class TextDocument {
  public:
    // A new document: the default font (id 1), vertical 256 x 128 pages, the default path,
    // page editing and zoom on, not modified.
    explicit TextDocument(FontMeasurer& measurer);

    const TextPage& page() const { return page_; }
    const TextLayout& layout() const { return layout_; }
    const CurrentStyle& currentStyle() const { return style_; }
    // The style for new text; a font id that is not in the table is taken as the first font's.
    void setCurrentStyle(const CurrentStyle& style);
    const FontEntry& currentFont() const;

    // New: empties the text, runs, pictures and line table, keeps only the current font (as id
    // 1), sets the default path, clears the selection and the modified mark.
    void clear();
    // Loads a text page file. Loaded: the document is replaced, the path becomes `path` and the
    // modified mark is cleared. Otherwise the document and its path stay as they were and
    // `error` says why (for NotATextPage: "<path> is not a text page").
    TextPageLoadResult load(const std::string& path, std::string* error = nullptr);
    // Replaces the content (after a load, or an undo): measures the fonts, repairs runs that do
    // not cover the text, lays out, and puts the caret at the start. Path and modified mark are
    // the caller's.
    void setPage(TextPage page);
    // As setPage, but keeps the caret and selection where they still fit and marks modified.
    void restore(TextPage page);

    // ---- state
    const std::string& path() const { return path_; }
    void setPath(const std::string& path) { path_ = path; }
    bool modified() const { return modified_; }
    // Counts the changes of the document (every operation that marks it modified); an undo
    // history compares it before and after an edit.
    uint64_t revision() const { return revision_; }
    void setModified(bool modified) { modified_ = modified; }
    bool zoom() const { return zoom_; }
    void setZoom(bool on) { zoom_ = on; }
    bool pageEdit() const { return pageEdit_; }
    // Toggles the page-edit rule and lays the text out again (not a change of the document).
    void setPageEdit(bool on);

    int32_t caret() const { return caret_; }
    void setCaret(int32_t pos);
    // Start −1: no selection.
    int32_t selectionStart() const { return selectionStart_; }
    int32_t selectionEnd() const { return selectionEnd_; }
    bool hasSelection() const { return selectionStart_ >= 0 && selectionEnd_ > selectionStart_; }
    TextRange selection() const;
    void select(int32_t start, int32_t end);
    void selectAll();
    void clearSelection();
    // The character boundaries before and after `pos`.
    int32_t previousPosition(int32_t pos) const;
    int32_t nextPosition(int32_t pos) const;

    // ---- operations on ranges
    // Inserts code page text at `pos` in the current style (what insertableText() keeps); the
    // caret goes behind it. Returns the inserted range.
    TextRange insertText(int32_t pos, const std::string& oem);
    TextRange insertUtf8(int32_t pos, const std::string& utf8);
    // Deletes [start, end); pictures no longer in the text leave the picture table.
    void deleteRange(int32_t start, int32_t end);
    // The id of the font table entry equal to `font`, appended (last id + 1) when there is none.
    int32_t fontIdFor(const LogFont& font);
    // The range's text runs take the font (their widths are measured again), the colour, or the
    // contour style. Runs are split at the range's ends; pictures keep their runs.
    void applyFont(TextRange range, const LogFont& font);
    void applyTextColor(TextRange range, uint32_t color);
    void applyContour(TextRange range, int32_t contour, uint32_t outlineColor,
                      int32_t outlineWidth);
    void setLineAlignment(size_t line, Alignment alignment);
    // Inserts a picture (taken as 32-bit rows) at `pos`: a new picture table entry (last id + 1)
    // and its placeholder. Returns the placeholder's one-byte range.
    TextRange insertPicture(int32_t pos, const media::Picture& picture);
    // Places the picture table entry `pictureId` at `pos` once more (empty range when there is
    // no such entry).
    TextRange placePicture(int32_t pos, int32_t pictureId);

    // ---- the editor's commands (selection and current style)
    // Typing: replaces the selection, inserts at the caret.
    void typeText(const std::string& oem);
    // The font becomes the current font and is applied to the selection.
    void setFont(const LogFont& font);
    void setTextColor(uint32_t color);
    void setContourStyle(int32_t contour, uint32_t outlineColor, int32_t outlineWidth);
    // Sets the alignment of the line that holds the caret.
    void alignCaretLine(Alignment alignment);
    // Insert Picture: loads a bitmap file, deletes the selection, inserts at the caret. A file
    // that cannot be loaded shows "Open picture failed, please check !" (caption "Open Picture
    // Error", error icon) and changes nothing.
    bool insertPictureFile(const std::string& path, OperatorMessages& messages);
    // Page Format OK: checks the size; when accepted sets the geometry, lays out again and marks
    // the document modified. A refusal changes nothing; the caller shows the message.
    PageFormatCheck setPageFormat(PageLayout layout, int width, int height,
                                  const PageFormatLimits& limits);

    // The line that holds byte `pos`.
    size_t lineOf(int32_t pos) const;

  private:
    int32_t snapStart(int32_t pos) const;
    int32_t snapEnd(int32_t pos) const;
    void measureFonts();
    StyleRun runForCurrentStyle() const;
    // Splits the run that holds `pos` inside it; returns the index of the first run at or after.
    size_t splitRunAt(int32_t pos);
    void mergeRuns();
    void remeasure(TextRange range);
    template <class Change>
    void changeTextRuns(TextRange range, Change change);
    // Lays out again; alignments of lines after `editLine` move by the change in line count,
    // new lines taking the edited line's alignment.
    void relayout(size_t editLine, size_t linesBefore);
    void relayout();
    void changed();

    FontMeasurer& measurer_;
    TextPage page_;
    TextLayout layout_;
    CurrentStyle style_;
    std::string path_ = kNewDocumentPath;
    bool modified_ = false;
    uint64_t revision_ = 0;
    bool zoom_ = true;
    bool pageEdit_ = true;
    int32_t caret_ = 0;
    int32_t selectionStart_ = -1;
    int32_t selectionEnd_ = -1;
};

// A decoded picture as 32-bit picture bits (blue, green, red, 0 per pixel, rows top first).
PictureEntry pictureEntryFrom(const media::Picture& picture, int32_t id);

}  // namespace brightline::pageeditor
