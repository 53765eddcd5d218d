#pragma once
// The page pictures of a text page and the whole save: each page rendered straight into an
// image of exactly the page size and written as a 24-bit bitmap file; the file written to a
// temporary file beside the target and renamed over it.
#include <cstdint>
#include <string>
#include <vector>

#include "pageeditor/render/qt_font_catalog.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {

// One bitmap file per page the layout needs (none for an empty text). False with `error` set
// when the page size is not a picture size the clips accept.
bool renderPagePictures(const TextPage& page, const TextLayout& layout, QtFontCatalog& fonts,
                        std::vector<std::vector<uint8_t>>& pictures, std::string* error = nullptr);

// Save: the document's file with its page pictures. On success the path becomes `path` and the
// modified mark is cleared; on failure (`error` says why) the old file and the document's state
// are untouched.
bool saveTextDocument(TextDocument& document, const std::string& path, QtFontCatalog& fonts,
                      std::string* error = nullptr);

}  // namespace brightline::pageeditor
