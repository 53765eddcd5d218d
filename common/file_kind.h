#pragma once
// What a chosen file is, from its upper-cased extension.
#include <string>

namespace brightline {

enum class FileKind {
    None = 0,
    Program = 1,    // ".ZPF"
    Schedule = 2,   // ".AT"
    ClockPage = 3,  // ".TIM"
    TextPage = 4,   // ".ZRT"
    Ztx = 5,        // ".ZTX"
    Bmp = 6,        // ".BMP"
    Jpg = 7,        // ".JPG"
    Png = 8,        // ".PNG"
};

// The kind of a path by its extension (either separator, any case); None when no row fits.
FileKind fileKindOf(const std::string& path);
// The extension of a kind without dot ("ZPF"); empty for None.
const char* fileKindExtension(FileKind kind);

}  // namespace brightline
