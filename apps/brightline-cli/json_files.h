#pragma once
// The stored files as JSON, for `brightline-cli inspect` and `build`.
//
// Every document is an object with "kind" ("program", "schedule", "signs", "users", "library")
// and the records' fields under their own names; rectangles are [left, top, right, bottom] and
// `ip` is four numbers. docs/json-files.md shows one example of each.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace brightline {

// Thrown for bytes that are no stored file of a known kind, or are corrupt; the text says which.
struct FileFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The JSON of a stored file's bytes; the kind is found from the file's mark.
nlohmann::ordered_json fileToJson(const std::vector<uint8_t>& bytes);
// The bytes of the file a JSON document describes. Throws FileFormatError naming the field that
// is missing, of the wrong type or out of range.
std::vector<uint8_t> jsonToFile(const nlohmann::json& document);

}  // namespace brightline
