#pragma once
// Which installed face draws a font named in a text page. Text pages name Windows faces
// ("Arial", "宋体"); those that are not installed here are drawn with a metric-compatible or
// close face. The whole mapping is the one table in font_substitutes.cpp.
#include <string>
#include <vector>

namespace brightline::pageeditor {

// The families to ask fontconfig for, best first: the substitute of a known Windows face, or
// the face itself followed by DejaVu Sans when it is not in the table; then, for Chinese
// character sets or faces, the Chinese face. Face names compare without regard to ASCII case.
std::vector<std::string> familiesForFace(const std::string& face, int charSet);

}  // namespace brightline::pageeditor
