#pragma once
// The byte position with which both script interpreters walk a script text, and the token and
// number rules they share.
//
// Tokens: spaces (0x20 only; a tab is an ordinary character) are skipped while nothing has been
// collected; then characters are collected up to a space, CR, LF or NUL, on which the cursor
// stays. One read consumes at most kTokenBytes - 1 bytes, skipped spaces included; a longer run
// is cut and its remainder is the next token. A read on CR, LF or NUL gives the empty token, so
// a command and its arguments must stand on one line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brightline::engine {

inline constexpr size_t kTokenBytes = 160;        // one token buffer, terminator included
inline constexpr size_t kMaxScriptBytes = 65536;  // the rest of a longer script is ignored

class ScriptCursor {
  public:
    ScriptCursor() = default;
    // Takes the script bytes (callers cut them to kMaxScriptBytes); a NUL is kept behind them.
    explicit ScriptCursor(std::vector<char> text);

    std::string readToken();
    // The byte under the cursor; NUL at and past the end.
    char current() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    // True on a space, CR, LF or NUL: the bytes that end a token.
    bool onTerminator() const;
    size_t position() const { return pos_; }
    // Positions past the end are held at the end.
    void setPosition(size_t pos);
    void step() { setPosition(pos_ + 1); }
    // The number of script bytes (the NUL behind them not counted).
    size_t length() const { return text_.empty() ? 0 : text_.size() - 1; }
    bool atEnd() const { return pos_ >= length(); }
    // The script bytes (without the NUL behind them).
    std::string text() const { return std::string(text_.data(), length()); }

  private:
    std::vector<char> text_;  // script bytes followed by one NUL
    size_t pos_ = 0;
};

// The number a token stands for: optional leading white space, an optional sign, then the
// leading decimal digits; 0 when there are none ("12ab" is 12, "ab" and "" are 0). Values beyond
// the int range are held at its ends.
int scriptNumber(const std::string& token);

}  // namespace brightline::engine
