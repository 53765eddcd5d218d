#pragma once
// Characters in code page text (GBK): a lead byte 0x81..0xFE followed by a trail byte
// 0x40..0xFE other than 0x7F is one double-byte character; every other byte is a character of
// its own. Positions are byte offsets; a position "inside" a character is the one after its
// lead byte. Character boundaries are found by scanning from the start of the text.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brightline::pageeditor {

inline constexpr char kLineBreak = '\n';

inline bool isLeadByte(uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}
inline bool isTrailByte(uint8_t b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// 1 or 2: the bytes of the character that starts at `pos` (pos < text.size()).
size_t characterLength(const std::string& text, size_t pos);

// The start of the character that holds byte `pos`; text.size() for pos >= text.size().
size_t characterStart(const std::string& text, size_t pos);
// The first character boundary at or after `pos` (at most text.size()).
size_t characterEnd(const std::string& text, size_t pos);

// The code page bytes a user may type or insert: double-byte characters whole, the line break,
// and printable single bytes. Tab, backspace, carriage return, other control bytes and a lead
// byte without its trail byte are dropped.
std::string insertableText(const std::string& oem);

// Text that is typed or that an input method commits (UTF-8), for inserting: `oem` holds what
// insertableText() keeps of it in the code page, each character as GBK holds it (a Chinese
// character as its two bytes). A character that GBK cannot hold is not turned into '?': it is
// left out and listed in `refused` (UTF-8, in the order met).
struct TypedText {
    std::string oem;
    std::string refused;
};
TypedText typedText(const std::string& utf8);

}  // namespace brightline::pageeditor
