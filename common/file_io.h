#pragma once
// Whole-file reading and crash-safe whole-file writing.
#include <cstdint>
#include <string>
#include <vector>

namespace brightline {

// Reads the whole file, at most `limit` bytes (the rest is ignored). False with `error` set
// when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error = nullptr,
                   size_t limit = size_t(256) << 20);

// Writes `bytes` to a temporary file in the same folder, flushes it and renames it over `path`,
// so a failure never leaves a half-written or missing file behind. False with `error` set when
// anything failed (the old file is then untouched).
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error = nullptr);

bool fileExists(const std::string& path);

}  // namespace brightline
