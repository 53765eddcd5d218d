#include "pageeditor/dbcs_text.h"

#include <algorithm>

#include "common/code_page.h"

namespace brightline::pageeditor {

size_t characterLength(const std::string& text, size_t pos) {
    if (pos + 1 < text.size() && isLeadByte(uint8_t(text[pos])) &&
        isTrailByte(uint8_t(text[pos + 1])))
        return 2;
    return 1;
}

size_t characterStart(const std::string& text, size_t pos) {
    if (pos >= text.size()) return text.size();
    size_t at = 0;
    while (true) {
        const size_t next = at + characterLength(text, at);
        if (next > pos) return at;
        at = next;
    }
}

size_t characterEnd(const std::string& text, size_t pos) {
    if (pos >= text.size()) return text.size();
    const size_t start = characterStart(text, pos);
    return start == pos ? pos : start + characterLength(text, start);
}

std::string insertableText(const std::string& oem) {
    std::string out;
    for (size_t i = 0; i < oem.size();) {
        const size_t n = characterLength(oem, i);
        const auto b = uint8_t(oem[i]);
        if (n == 2)
            out.append(oem, i, 2);
        else if (b == uint8_t(kLineBreak) || (b >= 0x20 && b != 0x7F && !isLeadByte(b)))
            out.push_back(char(b));
        i += n;
    }
    return out;
}

namespace {

// The length of the UTF-8 sequence that starts with `lead` (1 for a stray continuation byte).
size_t utf8SequenceLength(uint8_t lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

TypedText typedText(const std::string& utf8) {
    TypedText out;
    std::string oem;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = std::min(utf8SequenceLength(uint8_t(utf8[i])), utf8.size() - i);
        const std::string character = utf8.substr(i, n);
        i += n;
        const std::string converted = toOem(character);
        // GBK holds the character when it comes back unchanged; '?' stands for what it cannot.
        if (fromOem(converted) == character)
            oem += converted;
        else
            out.refused += character;
    }
    out.oem = insertableText(oem);
    return out;
}

}  // namespace brightline::pageeditor
