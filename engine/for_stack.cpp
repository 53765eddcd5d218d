#include "engine/for_stack.h"

namespace brightline::engine {

bool ForStack::push(int count, size_t resume) {
    if (open() >= kMaxOpen) return false;
    // count - 1 without overflow for INT_MIN
    frames_.push_back({true, count < 1 ? 0 : count - 1, resume});
    return true;
}

std::optional<size_t> ForStack::end() {
    if (frames_.empty()) return std::nullopt;
    Frame& top = frames_.back();
    if (!top.active) return std::nullopt;
    if (top.remaining < 1) {
        frames_.pop_back();
        return std::nullopt;
    }
    --top.remaining;
    return top.resume;
}

}  // namespace brightline::engine
