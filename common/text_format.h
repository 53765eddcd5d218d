#pragma once
// printf-style formatting into a std::string of whatever length the text needs.
#include <cstdarg>
#include <cstdio>
#include <string>

namespace brightline {

inline std::string formatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
inline std::string formatText(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(text.data(), text.size() + 1, fmt, again);
    va_end(again);
    return text;
}

}  // namespace brightline
