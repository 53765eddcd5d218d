#include "engine/diagnostic_output.h"

#include <cstdarg>
#include <cstdio>

namespace brightline::engine {

void diagf(DiagnosticOutput& out, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out.write(buffer);
}

void StdoutDiagnostics::write(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void CollectingDiagnostics::write(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    text_ += text;
}

std::string CollectingDiagnostics::text() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}

int CollectingDiagnostics::count(const std::string& fragment) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fragment.empty()) return 0;
    int n = 0;
    for (size_t at = text_.find(fragment); at != std::string::npos;
         at = text_.find(fragment, at + fragment.size()))
        ++n;
    return n;
}

}  // namespace brightline::engine
