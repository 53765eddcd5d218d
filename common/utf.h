#pragma once
// UTF-8 (how text is held in memory) and UTF-16 (how the archived files store it).
#include <string>

namespace brightline {

// Lone surrogates in the input become U+FFFD.
std::string utf16ToUtf8(const std::u16string& text);
// Malformed UTF-8 bytes become U+FFFD.
std::u16string utf8ToUtf16(const std::string& text);

}  // namespace brightline
