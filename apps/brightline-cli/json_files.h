#pragma once
// The stored files as JSON, for `brightline-cli inspect` and `build`.
//
// Every document is an object with "kind" ("program", "schedule", "signs", "users", "library",
// "textpage") and the records' fields under their own names; rectangles are [left, top, right,
// bottom] and `ip` is four numbers. docs/json-files.md shows one example of each.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace brightline {
namespace pageeditor {
class TextDocument;
}

// Thrown for bytes that are no stored file of a known kind, or are corrupt; the text says which.
struct FileFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The JSON of a stored file's bytes; the kind is found from the file's mark.
nlohmann::ordered_json fileToJson(const std::vector<uint8_t>& bytes);
// The bytes of the file a JSON document describes. Throws FileFormatError naming the field that
// is missing, of the wrong type or out of range. Text pages are not built here: their page
// pictures need fonts (see textPageFromJson).
std::vector<uint8_t> jsonToFile(const nlohmann::json& document);

// The JSON of a text page file (mark "ZRT" in any case): geometry, fonts, pictures with their
// bits, runs with their text as UTF-8, lines, and the page pictures by count and size.
// Throws FileFormatError for a file that is not a text page or is corrupt.
nlohmann::ordered_json textPageJson(const std::vector<uint8_t>& bytes);

// Fills `document` (a new document) with the text page a "textpage" JSON describes: geometry,
// the font and picture tables as listed, then each run's text or picture appended in its style,
// then the lines' alignments; the document's measurer measures the text, and the document is
// laid out. A picture given by "file" is read from that bitmap file (relative to `baseFolder`).
// Throws FileFormatError naming the field that is wrong.
void textPageFromJson(const nlohmann::json& json, const std::string& baseFolder,
                      pageeditor::TextDocument& document);

}  // namespace brightline
