#pragma once
// The text page file (".ZRT") as the text page editor writes and reads it.
//
// After the 60-byte header (media/zrt_file.h, shared with the main program's clip converter),
// in this order without gaps: fonts (per font its id and the 60-byte logical font); pictures
// (per picture its id, the 24-byte description, then the bits); runs (11 int32 each); the text
// bytes, then as many width bytes; lines (a 16-bit big-endian count, then per line the
// alignment byte and the offset as 16-bit big-endian); then, at the header's page offset, the
// page pictures (per page a 32-bit length and a complete bitmap file).
#include <cstdint>
#include <string>
#include <vector>

#include "media/byte_source.h"
#include "pageeditor/text_page.h"

namespace brightline::pageeditor {

inline constexpr const char* kNotATextPageMessage = "is not a text page";

enum class TextPageLoadResult {
    Unreadable = -1,   // cannot be read, or a section is cut short or corrupt
    NotATextPage = 0,  // shorter than 60 bytes, no "ZRT" mark or not version 1
    Loaded = 1,
};

// The whole file: header, the five document sections, then `pagePictures` (each a complete
// bitmap file). Line offsets are written as stored in `page.lines`.
std::vector<uint8_t> encodeTextPageFile(const TextPage& page,
                                        const std::vector<std::vector<uint8_t>>& pagePictures);

// Reads the header and the five document sections; the page pictures are not read (they are
// made from the document). Every count and length is checked against what the source holds
// before anything is allocated. On anything but Loaded `page` is left untouched and `error`
// says why. Font metrics are left unmeasured and the runs as stored.
TextPageLoadResult decodeTextPageFile(media::ByteSource& source, TextPage& page,
                                      std::string* error = nullptr);
// The same from a file; a file that cannot be opened is Unreadable.
TextPageLoadResult readTextPageFile(const std::string& path, TextPage& page,
                                    std::string* error = nullptr);

}  // namespace brightline::pageeditor
