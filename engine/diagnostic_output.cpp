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

void RepeatFilter::writeCount(const std::string& text, uint64_t repeats) {
    char prefix[48];
    std::snprintf(prefix, sizeof prefix,
                  "repeated %llu times: ", static_cast<unsigned long long>(repeats));
    out_.write(prefix + text);
}

void RepeatFilter::write(const std::string& text) {
    const uint64_t now = tick_.load();
    std::lock_guard<std::mutex> lock(mutex_);
    auto [it, fresh] = seen_.try_emplace(text);
    Seen& s = it->second;
    if (!fresh && s.lastTick + 1 >= now) {
        s.lastTick = now;
        ++s.repeats;
        if (now >= s.countedSince + kSummaryTicks) {
            writeCount(text, s.repeats);
            s.repeats = 0;
            s.countedSince = now;
        }
        return;
    }
    if (s.repeats > 0) writeCount(text, s.repeats);
    s = Seen{now, 0, now};
    out_.write(text);
}

void RepeatFilter::tick() {
    const uint64_t now = tick_.load();
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = seen_.begin(); it != seen_.end();) {
        if (it->second.lastTick + 1 >= now) {
            ++it;
            continue;
        }
        if (it->second.repeats > 0) writeCount(it->first, it->second.repeats);
        it = seen_.erase(it);
    }
}

void RepeatFilter::flush() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [text, s] : seen_)
        if (s.repeats > 0) writeCount(text, s.repeats);
    seen_.clear();
}

}  // namespace brightline::engine
