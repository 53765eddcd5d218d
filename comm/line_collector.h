#pragma once
// Collects text lines in line mode (modem dialling). A 0x0A ends the line when at least 2 bytes
// are already buffered (the 0x0A is not stored, a 0x0D before it is kept); any other byte, and
// a 0x0A arriving with 0 or 1 bytes buffered, is stored. A line longer than the 256-byte buffer
// is cut: the bytes beyond 256 are dropped until the line ends. One thread feeds it.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brightline {

class LineCollector {
  public:
    static constexpr size_t kCapacity = 256;

    // True when `byte` completed a line; line() holds it until the next completed line.
    bool feed(uint8_t byte) {
        if (byte == 0x0A && count_ >= 2) {
            line_.assign(reinterpret_cast<const char*>(buffer_), count_);
            count_ = 0;
            return true;
        }
        if (count_ < kCapacity) buffer_[count_++] = byte;
        return false;
    }
    void clear() { count_ = 0; }
    const std::string& line() const { return line_; }

  private:
    uint8_t buffer_[kCapacity] = {};
    size_t count_ = 0;
    std::string line_;
};

}  // namespace brightline
