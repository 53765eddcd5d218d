#pragma once
// The JPEG quality of made pictures and clip frames: the integer key "JPG_QUALITY" in section
// "SET" of "jpg.ini" in the data folder (the program folder in a build tree).
#include <string>

namespace brightline::media {

inline constexpr const char* kJpegQualityFile = "jpg.ini";
inline constexpr const char* kJpegQualitySection = "SET";
inline constexpr const char* kJpegQualityKey = "JPG_QUALITY";
inline constexpr int kDefaultJpegQuality = 75;

// The quality stored in `iniPath`: 75 when the file or the key is missing; a value below 0 or
// above 100 is taken as 100 (best quality rather than a broken setting); 0 encodes as 1, the
// lowest quality the encoder has.
int jpegQualityFromFile(const std::string& iniPath);

// jpegQualityFromFile of "jpg.ini" in the data folder.
int configuredJpegQuality();

}  // namespace brightline::media
