#pragma once
// The colour tokens of text and clock pages: "#" and six hexadecimal characters RRGGBB.
#include <cstdint>
#include <string>

namespace brightline {

// Reads the six characters after the first as three hexadecimal pairs (either letter case) and
// returns 0x00RRGGBB. The first character is not checked (the sign does not check it either);
// a character that is not a hexadecimal digit, or missing, counts as 0.
uint32_t parseColourToken(const std::string& token);

}  // namespace brightline
