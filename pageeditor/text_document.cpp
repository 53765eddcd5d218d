#include "pageeditor/text_document.h"

#include <algorithm>

#include "common/code_page.h"
#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "pageeditor/dbcs_text.h"

namespace brightline::pageeditor {

PictureEntry pictureEntryFrom(const media::Picture& picture, int32_t id) {
    PictureEntry p;
    p.id = id;
    p.info.width = picture.width;
    p.info.height = picture.height;
    p.info.stride = picture.width * 4;
    p.info.planes = 1;
    p.info.bitsPerPixel = 32;
    auto bits = std::make_shared<std::vector<uint8_t>>();
    bits->reserve(picture.pixels.size() * 4);
    for (uint32_t px : picture.pixels) {
        bits->push_back(uint8_t(px));
        bits->push_back(uint8_t(px >> 8));
        bits->push_back(uint8_t(px >> 16));
        bits->push_back(0);
    }
    p.info.bitsSize = int32_t(bits->size());
    p.bits = std::move(bits);
    return p;
}

TextDocument::TextDocument(FontMeasurer& measurer) : measurer_(measurer) {
    FontEntry f;
    f.id = 1;
    f.font = defaultLogFont();
    page_.fonts.push_back(f);
    measureFonts();
    relayout();
}

const FontEntry& TextDocument::currentFont() const {
    if (const FontEntry* f = page_.font(style_.fontId)) return *f;
    return page_.fonts.front();
}

void TextDocument::setCurrentStyle(const CurrentStyle& style) {
    style_ = style;
    if (!page_.font(style_.fontId)) style_.fontId = page_.fonts.front().id;
}

void TextDocument::clear() {
    FontEntry f = currentFont();
    f.id = 1;
    TextPage fresh;
    fresh.geometry = page_.geometry;
    fresh.fonts.push_back(f);
    page_ = std::move(fresh);
    style_.fontId = 1;
    path_ = kNewDocumentPath;
    modified_ = false;
    caret_ = 0;
    clearSelection();
    relayout();
}

TextPageLoadResult TextDocument::load(const std::string& path, std::string* error) {
    TextPage loaded;
    std::string why;
    const TextPageLoadResult r = readTextPageFile(path, loaded, &why);
    if (r == TextPageLoadResult::NotATextPage) {
        if (error) *error = path + " " + kNotATextPageMessage + " (" + why + ")";
        return r;
    }
    if (r != TextPageLoadResult::Loaded) {
        if (error) *error = why;
        return r;
    }
    setPage(std::move(loaded));
    path_ = path;
    modified_ = false;
    return r;
}

void TextDocument::setPage(TextPage page) {
    page_ = std::move(page);
    if (page_.fonts.empty()) {
        FontEntry f;
        f.id = 1;
        f.font = defaultLogFont();
        page_.fonts.push_back(f);
    }
    page_.widths.resize(page_.text.size(), 0);
    measureFonts();
    repairRuns(page_);
    if (!page_.font(style_.fontId)) style_.fontId = page_.fonts.front().id;
    caret_ = 0;
    clearSelection();
    relayout();
}

void TextDocument::restore(TextPage page) {
    const int32_t caret = caret_, s = selectionStart_, e = selectionEnd_;
    setPage(std::move(page));
    setCaret(caret);
    if (s >= 0) select(s, e);
    changed();
}

void TextDocument::measureFonts() {
    for (FontEntry& f : page_.fonts) f.metrics = measurer_.metrics(f.font);
}

void TextDocument::setPageEdit(bool on) {
    pageEdit_ = on;
    relayout();
}

int32_t TextDocument::snapStart(int32_t pos) const {
    pos = std::clamp<int32_t>(pos, 0, int32_t(page_.text.size()));
    return int32_t(characterStart(page_.text, size_t(pos)));
}

int32_t TextDocument::snapEnd(int32_t pos) const {
    pos = std::clamp<int32_t>(pos, 0, int32_t(page_.text.size()));
    return int32_t(characterEnd(page_.text, size_t(pos)));
}

void TextDocument::setCaret(int32_t pos) {
    caret_ = snapStart(pos);
}

TextRange TextDocument::selection() const {
    if (!hasSelection()) return TextRange{caret_, caret_};
    return TextRange{selectionStart_, selectionEnd_};
}

void TextDocument::select(int32_t start, int32_t end) {
    if (end < start) std::swap(start, end);
    selectionStart_ = snapStart(start);
    selectionEnd_ = snapEnd(end);
    caret_ = selectionEnd_;
    if (selectionEnd_ <= selectionStart_) clearSelection();
}

void TextDocument::selectAll() {
    select(0, int32_t(page_.text.size()));
}

void TextDocument::clearSelection() {
    selectionStart_ = selectionEnd_ = -1;
}

int32_t TextDocument::previousPosition(int32_t pos) const {
    pos = snapStart(pos);
    return pos == 0 ? 0 : snapStart(pos - 1);
}

int32_t TextDocument::nextPosition(int32_t pos) const {
    pos = snapStart(pos);
    if (pos >= int32_t(page_.text.size())) return pos;
    return pos + int32_t(characterLength(page_.text, size_t(pos)));
}

size_t TextDocument::lineOf(int32_t pos) const {
    return layout_.lineOf(pos);
}

StyleRun TextDocument::runForCurrentStyle() const {
    const FontEntry& f = currentFont();
    StyleRun r;
    r.kind = kRunText;
    r.resourceId = f.id;
    r.averageWidth = f.metrics.averageWidth;
    r.height = f.metrics.height();
    r.contour = style_.contour;
    r.outlineColor = style_.outlineColor;
    r.outlineWidth = style_.outlineWidth;
    r.textColor = style_.textColor;
    return r;
}

size_t TextDocument::splitRunAt(int32_t pos) {
    size_t i = page_.runIndexAt(pos);
    if (i < page_.runs.size() && page_.runs[i].start < pos) {
        StyleRun tail = page_.runs[i];
        tail.start = pos;
        tail.length = page_.runs[i].end() - pos;
        page_.runs[i].length = pos - page_.runs[i].start;
        page_.runs.insert(page_.runs.begin() + std::ptrdiff_t(i) + 1, tail);
        ++i;
    }
    return i;
}

void TextDocument::mergeRuns() {
    std::vector<StyleRun> merged;
    for (const StyleRun& r : page_.runs) {
        if (r.length <= 0) continue;
        if (!merged.empty() && merged.back().kind == kRunText && merged.back().sameStyle(r) &&
            merged.back().end() == r.start)
            merged.back().length += r.length;
        else
            merged.push_back(r);
    }
    page_.runs = std::move(merged);
}

void TextDocument::changed() {
    modified_ = true;
    ++revision_;
}

void TextDocument::relayout() {
    layout_ = layOut(page_, pageEdit_);
}

void TextDocument::relayout(size_t editLine, size_t linesBefore) {
    std::vector<LineEntry> before = page_.lines;
    relayout();
    const size_t after = layout_.lines.size();
    if (after == linesBefore || before.empty()) return;
    const Alignment edited =
        editLine < before.size() ? before[editLine].alignment : Alignment::Left;
    const auto delta = std::ptrdiff_t(after) - std::ptrdiff_t(linesBefore);
    for (size_t k = editLine + 1; k < after; ++k) {
        const std::ptrdiff_t from = std::ptrdiff_t(k) - delta;
        page_.lines[k].alignment = from > std::ptrdiff_t(editLine) && size_t(from) < before.size()
                                       ? before[size_t(from)].alignment
                                       : edited;
    }
    relayout();
}

TextRange TextDocument::insertText(int32_t pos, const std::string& oem) {
    const std::string text = insertableText(oem);
    pos = snapStart(pos);
    if (text.empty()) return TextRange{pos, pos};
    const FontEntry& font = currentFont();
    std::vector<uint8_t> widths(text.size(), 0);
    for (size_t i = 0; i < text.size();) {
        const size_t n = characterLength(text, i);
        if (text[i] != kLineBreak)
            widths[i] =
                uint8_t(std::clamp(measurer_.advance(font.font, text.substr(i, n)), 0, 255));
        i += n;
    }
    const size_t editLine = lineOf(pos), linesBefore = layout_.lines.size();
    const auto n = int32_t(text.size());
    size_t at = splitRunAt(pos);
    for (size_t i = at; i < page_.runs.size(); ++i) page_.runs[i].start += n;
    StyleRun run = runForCurrentStyle();
    run.start = pos;
    run.length = n;
    page_.runs.insert(page_.runs.begin() + std::ptrdiff_t(at), run);
    page_.text.insert(size_t(pos), text);
    page_.widths.insert(page_.widths.begin() + pos, widths.begin(), widths.end());
    mergeRuns();
    relayout(editLine, linesBefore);
    caret_ = pos + n;
    clearSelection();
    changed();
    return TextRange{pos, pos + n};
}

TextRange TextDocument::insertUtf8(int32_t pos, const std::string& utf8) {
    return insertText(pos, toOem(utf8));
}

void TextDocument::deleteRange(int32_t start, int32_t end) {
    start = snapStart(start);
    end = snapEnd(end);
    if (end <= start) return;
    const size_t editLine = lineOf(start), linesBefore = layout_.lines.size();
    const int32_t n = end - start;
    for (StyleRun& r : page_.runs) {
        const int32_t a = std::max(r.start, start), b = std::min(r.end(), end);
        const int32_t removed = std::max(0, b - a);
        if (r.start >= end)
            r.start -= n;
        else if (r.start > start)
            r.start = start;
        r.length -= removed;
    }
    page_.text.erase(size_t(start), size_t(n));
    page_.widths.erase(page_.widths.begin() + start, page_.widths.begin() + end);
    mergeRuns();
    auto unused = [&](const PictureEntry& p) {
        return std::none_of(page_.runs.begin(), page_.runs.end(), [&](const StyleRun& r) {
            return r.kind == kRunPicture && r.resourceId == p.id;
        });
    };
    page_.pictures.erase(std::remove_if(page_.pictures.begin(), page_.pictures.end(), unused),
                         page_.pictures.end());
    relayout(editLine, linesBefore);
    caret_ = start;
    clearSelection();
    changed();
}

int32_t TextDocument::fontIdFor(const LogFont& font) {
    for (const FontEntry& f : page_.fonts)
        if (f.font == font) return f.id;
    FontEntry f;
    f.id = page_.fonts.empty() ? 1 : page_.fonts.back().id + 1;
    f.font = font;
    f.metrics = measurer_.metrics(font);
    page_.fonts.push_back(f);
    return f.id;
}

template <class Change>
void TextDocument::changeTextRuns(TextRange range, Change change) {
    const int32_t start = snapStart(range.start), end = snapEnd(range.end);
    if (end <= start) return;
    const size_t first = splitRunAt(start);
    const size_t last = splitRunAt(end);
    for (size_t i = first; i < last; ++i)
        if (page_.runs[i].kind != kRunPicture) change(page_.runs[i]);
    mergeRuns();
    changed();
}

void TextDocument::remeasure(TextRange range) {
    for (size_t i = size_t(range.start); i < size_t(range.end) && i < page_.text.size();) {
        const size_t n = characterLength(page_.text, i);
        const StyleRun* r = page_.runAt(int32_t(i));
        const FontEntry* f = r ? page_.font(r->resourceId) : nullptr;
        if (r && r->kind != kRunPicture && f && page_.text[i] != kLineBreak)
            page_.widths[i] =
                uint8_t(std::clamp(measurer_.advance(f->font, page_.text.substr(i, n)), 0, 255));
        i += n;
    }
}

void TextDocument::applyFont(TextRange range, const LogFont& font) {
    const int32_t id = fontIdFor(font);
    const FontEntry entry = *page_.font(id);
    changeTextRuns(range, [&](StyleRun& r) {
        r.resourceId = id;
        r.averageWidth = entry.metrics.averageWidth;
        r.height = entry.metrics.height();
    });
    remeasure(TextRange{snapStart(range.start), snapEnd(range.end)});
    relayout();
}

void TextDocument::applyTextColor(TextRange range, uint32_t color) {
    changeTextRuns(range, [&](StyleRun& r) { r.textColor = color; });
    relayout();
}

void TextDocument::applyContour(TextRange range, int32_t contour, uint32_t outlineColor,
                                int32_t outlineWidth) {
    changeTextRuns(range, [&](StyleRun& r) {
        r.contour = contour;
        r.outlineColor = outlineColor;
        r.outlineWidth = outlineWidth;
    });
    relayout();
}

void TextDocument::setLineAlignment(size_t line, Alignment alignment) {
    if (line >= page_.lines.size()) return;
    page_.lines[line].alignment = alignment;
    relayout();
    changed();
}

TextRange TextDocument::insertPicture(int32_t pos, const media::Picture& picture) {
    const int32_t id = page_.pictures.empty() ? 1 : page_.pictures.back().id + 1;
    page_.pictures.push_back(pictureEntryFrom(picture, id));
    return placePicture(pos, id);
}

TextRange TextDocument::placePicture(int32_t pos, int32_t pictureId) {
    pos = snapStart(pos);
    const PictureEntry* picture = page_.picture(pictureId);
    if (!picture) return TextRange{pos, pos};
    const size_t editLine = lineOf(pos), linesBefore = layout_.lines.size();
    size_t at = splitRunAt(pos);
    for (size_t i = at; i < page_.runs.size(); ++i) page_.runs[i].start += 1;
    StyleRun run = runForCurrentStyle();
    run.kind = kRunPicture;
    run.resourceId = pictureId;
    run.start = pos;
    run.length = 1;
    run.averageWidth = picture->info.width;
    run.height = picture->info.height;
    page_.runs.insert(page_.runs.begin() + std::ptrdiff_t(at), run);
    page_.text.insert(size_t(pos), 1, kPicturePlaceholder);
    page_.widths.insert(page_.widths.begin() + pos,
                        uint8_t(std::clamp(picture->info.width, 0, 255)));
    mergeRuns();
    relayout(editLine, linesBefore);
    caret_ = pos + 1;
    clearSelection();
    changed();
    return TextRange{pos, pos + 1};
}

void TextDocument::typeText(const std::string& oem) {
    if (hasSelection()) deleteRange(selectionStart_, selectionEnd_);
    insertText(caret_, oem);
}

void TextDocument::setFont(const LogFont& font) {
    style_.fontId = fontIdFor(font);
    if (hasSelection()) applyFont(selection(), font);
}

void TextDocument::setTextColor(uint32_t color) {
    style_.textColor = color;
    if (hasSelection()) applyTextColor(selection(), color);
}

void TextDocument::setContourStyle(int32_t contour, uint32_t outlineColor, int32_t outlineWidth) {
    style_.contour = contour;
    style_.outlineColor = outlineColor;
    style_.outlineWidth = outlineWidth;
    if (hasSelection()) applyContour(selection(), contour, outlineColor, outlineWidth);
    changed();
}

void TextDocument::alignCaretLine(Alignment alignment) {
    setLineAlignment(lineOf(caret_), alignment);
}

bool TextDocument::insertPictureFile(const std::string& path, OperatorMessages& messages) {
    std::vector<uint8_t> bytes;
    media::Picture picture;
    if (!readWholeFile(path, bytes) || !media::decodeBmp(bytes, picture) ||
        !media::pictureSizeAllowed(picture.width, picture.height)) {
        messages.show(kOpenPictureFailedMessage, kOpenPictureErrorCaption, MessageIcon::Error);
        return false;
    }
    if (hasSelection()) deleteRange(selectionStart_, selectionEnd_);
    insertPicture(caret_, picture);
    return true;
}

PageFormatCheck TextDocument::setPageFormat(PageLayout layout, int width, int height,
                                            const PageFormatLimits& limits) {
    PageFormatCheck check = checkPageFormat(layout, width, height, limits);
    if (!check.accepted) return check;
    page_.geometry.layout = layout;
    page_.geometry.pageWidth = width;
    page_.geometry.pageHeight = height;
    relayout();
    changed();
    return check;
}

}  // namespace brightline::pageeditor
