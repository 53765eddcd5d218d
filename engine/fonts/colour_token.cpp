#include "engine/fonts/colour_token.h"

namespace brightline {
namespace {

uint32_t hexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    return 0;
}

}  // namespace

uint32_t parseColourToken(const std::string& token) {
    uint32_t rgb = 0;
    for (size_t i = 1; i <= 6; ++i) rgb = rgb << 4 | (i < token.size() ? hexDigit(token[i]) : 0);
    return rgb;
}

}  // namespace brightline
