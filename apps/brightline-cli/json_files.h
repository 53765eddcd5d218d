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

#include "editor/compact_program.h"

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

// The compact program form: an object with "areas" (and no "kind"), see docs/json-files.md.
bool isCompactProgram(const nlohmann::json& document);
// Reads the compact form; relative media paths are taken from `baseFolder` and made absolute,
// and every medium must be a file there. Throws FileFormatError naming the JSON path of the
// first problem.
CompactProgram compactFromJson(const nlohmann::json& document, const std::string& baseFolder);
// The compact form as JSON: settings the drop gives are left out, an item without settings is
// its path alone, effects are by script name.
nlohmann::ordered_json compactJson(const CompactProgram& compact);

// "WIDTHxHEIGHT" (such as "128x64", whole positive numbers): true with the two numbers set.
bool parseSizeText(const std::string& text, int& width, int& height);

// An effect given by script name ("DFR_LF") or display name ("Move left"), in any letter case:
// its table position 0..45. Throws FileFormatError naming `where` for another text.
int effectPositionFromJson(const nlohmann::json& value, const std::string& where);

}  // namespace brightline
