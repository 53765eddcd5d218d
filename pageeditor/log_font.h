#pragma once
// A logical font as the text page file stores it: the 60-byte LOGFONTA layout.
//
// Bytes (little-endian): height, width, escapement, orientation, weight (int32 each); italic,
// underline, strike-out, character set, output precision, clip precision, quality, pitch and
// family (one byte each); the face name, 32 bytes in the code page, zero-terminated.
// A positive height is the character cell height in pixels, a negative one the character
// height without internal leading; 0 takes the face's default.
#include <array>
#include <cstdint>
#include <string>

namespace brightline::pageeditor {

inline constexpr size_t kLogFontSize = 60;
inline constexpr size_t kFaceNameSize = 32;

// Values of `charSet` and `quality` the renderer reads.
inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kGb2312Charset = 134;
inline constexpr uint8_t kNonAntialiasedQuality = 3;

struct LogFont {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;  // 0 default, 400 normal, 700 bold (1..1000)
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::array<uint8_t, kFaceNameSize> faceName{};  // code page bytes, zero-terminated

    // The face name up to its first zero byte, as UTF-8.
    std::string face() const;
    // Sets the face name from UTF-8; what does not fit in 31 code page bytes is cut at a
    // character boundary. The rest of the field is zeroed.
    void setFace(const std::string& utf8);

    std::array<uint8_t, kLogFontSize> encode() const;
    // `data` holds at least kLogFontSize bytes.
    static LogFont decode(const uint8_t* data);

    // Equal when the 60 bytes are equal (the font table's rule for reusing an entry).
    bool operator==(const LogFont& other) const { return encode() == other.encode(); }
    bool operator!=(const LogFont& other) const { return !(*this == other); }
};

// The font of a new document: "Tahoma", height 14, normal weight.
LogFont defaultLogFont();

}  // namespace brightline::pageeditor
