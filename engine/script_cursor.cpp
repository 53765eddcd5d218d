#include "engine/script_cursor.h"

#include <climits>

namespace brightline::engine {
namespace {

bool isTerminator(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

ScriptCursor::ScriptCursor(std::vector<char> text) : text_(std::move(text)) {
    text_.push_back('\0');
}

bool ScriptCursor::onTerminator() const {
    return isTerminator(current());
}

void ScriptCursor::setPosition(size_t pos) {
    pos_ = pos > length() ? length() : pos;
}

std::string ScriptCursor::readToken() {
    std::string token;
    size_t consumed = 0;
    const size_t limit = kTokenBytes - 1;
    while (consumed < limit && current() == ' ') {
        ++pos_;
        ++consumed;
    }
    while (consumed < limit && !isTerminator(current())) {
        token.push_back(current());
        ++pos_;
        ++consumed;
    }
    return token;
}

int scriptNumber(const std::string& token) {
    size_t i = 0;
    while (i < token.size() &&
           (token[i] == ' ' || token[i] == '\t' || token[i] == '\v' || token[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    long long value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
        value = value * 10 + (token[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace brightline::engine
