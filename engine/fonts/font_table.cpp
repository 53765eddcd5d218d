#include "engine/fonts/font_table.h"

#include <cstdio>

#include "common/file_io.h"
#include "common/folders.h"
#include "engine/fonts/zfon_file.h"

namespace brightline {
namespace {

// Glyphs of GB2312 rows 0xA1.. in font 0; a single byte c maps to c + 155 (row 0xA3).
constexpr long kFullWidthOffset = 155;
constexpr int kCellsPerRow = 94;

std::string format(const char* pattern, const std::string& arg) {
    std::string out = pattern;
    size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

}  // namespace

void printDiagnostic(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

bool FontTable::add(BitmapFont font) {
    if (count() >= kMaxFonts) return false;
    fonts_.push_back(std::move(font));
    return true;
}

int FontTable::loadFile(const std::string& path, const FontDiagnostics& diag) {
    std::vector<uint8_t> bytes;
    // The largest sensible file: 50 fonts of 65,535 glyphs of 255 x 255 pixels is far above
    // this; a font file of more than 64 MiB is not one.
    if (!fileExists(path) || !readWholeFile(path, bytes, nullptr, size_t(64) << 20)) {
        diag(format(kCouldNotOpenFont, path));
        return 0;
    }
    return loadBytes(bytes, diag);
}

int FontTable::loadBytes(const std::vector<uint8_t>& bytes, const FontDiagnostics& diag) {
    ZfonContents contents = readZfon(bytes, kMaxFonts - count());
    if (contents.shortGlyphBlock) diag(kFontReadFailed);
    int loaded = 0;
    for (BitmapFont& f : contents.fonts) {
        if (!add(std::move(f))) break;
        ++loaded;
    }
    return loaded;
}

int FontTable::loadBuiltIn(const std::string& startFolder, const std::string& programFolder,
                           const FontDiagnostics& diag) {
    int loaded = loadFile(findFontFile(kGb2312FontFile, startFolder, programFolder), diag);
    loaded += loadFile(findFontFile(kNamedFontFile, startFolder, programFolder), diag);
    return loaded;
}

GlyphView FontTable::glyph(int font, uint8_t c) const {
    if (!has(font)) return GlyphView{};
    if (font == 0) return fonts_[0].glyph(static_cast<long>(c) + kFullWidthOffset);
    return fonts_[font].glyphForCode(c);
}

GlyphView FontTable::doubleByteGlyph(uint8_t first, uint8_t second) const {
    if (!has(0)) return GlyphView{};
    if (first < 0xA0 || second < 0xA0) return fonts_[0].glyph(-1);
    // A cell of 0xA0 (below the first cell) lands on the previous row's last glyph, as the
    // sign's own lookup does; the font holds no glyph before row 0xA1 cell 0xA1.
    long n = (static_cast<long>(first) - 0xA1) * kCellsPerRow + (static_cast<long>(second) - 0xA1);
    return fonts_[0].glyph(n);
}

int FontTable::fontForIndex(long index) const {
    if (index >= -1 && index < count() - 1) return static_cast<int>(index + 1);
    return 3;
}

std::string findFontFile(const std::string& name, const std::string& startFolder,
                         const std::string& programFolder) {
    std::string first = startFolder + "/fonts/" + name;
    if (fileExists(first)) return first;
    std::string beside = programFolder + "/fonts/" + name;
    if (fileExists(beside)) return beside;
    const std::string data = installedDataFolder(programFolder);
    if (!data.empty() && fileExists(data + "/fonts/" + name)) return data + "/fonts/" + name;
    return beside;
}

}  // namespace brightline
