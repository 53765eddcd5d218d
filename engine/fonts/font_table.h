#pragma once
// The bitmap fonts of one show (or of one user interface), numbered in load order, at most 50.
//
// A show loads "zhzk16.bin" first (its 16 x 16 GB2312 font becomes font 0), then "ezfon.bin"
// (the named single-byte fonts from font 1), each from "fonts/" under the start folder, else
// from "fonts/" beside the executable; then the file its script's FONT line names (found by
// the engine in the workspace folder and passed to loadFile()).
//
// Glyph lookup:
//   - single-byte character c in font f: glyph c - first code of f;
//   - a single-byte character in font 0 uses glyph c + 155, the GB2312 row of full-width forms;
//   - a double-byte GB2312 character (both bytes 0xA0 or above) is drawn from font 0 with glyph
//     (row - 0xA1) x 94 + (cell - 0xA1); a pair with a byte below 0xA0 is a blank glyph.
// A font number that is not loaded gives a blank glyph of width 0.
//
// Loading and clearing belong to one thread (the show player or the UI thread); lookups may be
// made from any thread while no load or clear runs. GlyphViews stay valid until clear().
#include <functional>
#include <string>
#include <vector>

#include "engine/fonts/bitmap_font.h"

namespace brightline {

inline constexpr int kMaxFonts = 50;
inline constexpr char kGb2312FontFile[] = "zhzk16.bin";
inline constexpr char kNamedFontFile[] = "ezfon.bin";
// The engine's diagnostic lines, printed on standard output.
inline constexpr char kCouldNotOpenFont[] = "could not open font %s \r\n";
inline constexpr char kFontReadFailed[] = "read failed\n";

// Receives one formatted diagnostic line; the default prints it on standard output.
using FontDiagnostics = std::function<void(const std::string&)>;
void printDiagnostic(const std::string& line);

class FontTable {
  public:
    int count() const { return static_cast<int>(fonts_.size()); }
    bool has(int font) const { return font >= 0 && font < count(); }
    // Null when the font is not loaded.
    const BitmapFont* font(int font) const { return has(font) ? &fonts_[font] : nullptr; }

    // Adds a font at the next number; false when 50 are loaded.
    bool add(BitmapFont font);
    void clear() { fonts_.clear(); }

    // Loads the fonts of a ZFON file into the next free numbers; returns how many were loaded.
    // A missing file reports "could not open font <path> \r\n", a cut-short glyph block
    // "read failed\n" (that font is dropped and loading stops); a bad header loads nothing.
    int loadFile(const std::string& path, const FontDiagnostics& diag = printDiagnostic);
    int loadBytes(const std::vector<uint8_t>& bytes, const FontDiagnostics& diag = printDiagnostic);
    // Loads "zhzk16.bin" then "ezfon.bin", each found by findFontFile(); returns the number of
    // fonts loaded.
    int loadBuiltIn(const std::string& startFolder, const std::string& programFolder,
                    const FontDiagnostics& diag = printDiagnostic);

    // Single-byte character c in font f (font 0: the full-width row).
    GlyphView glyph(int font, uint8_t c) const;
    // Double-byte GB2312 character, from font 0.
    GlyphView doubleByteGlyph(uint8_t first, uint8_t second) const;

    // The engine font of a stored font index n (clock fields, editor lists): n + 1 when that
    // font is loaded, else font 3.
    int fontForIndex(long index) const;
    // Width, height, proportional flag of a font; 0 when not loaded.
    int width(int font) const { return has(font) ? fonts_[font].width() : 0; }
    int height(int font) const { return has(font) ? fonts_[font].height() : 0; }
    bool proportional(int font) const { return has(font) && fonts_[font].proportional(); }

  private:
    std::vector<BitmapFont> fonts_;
};

// The first of "<start folder>/fonts/<name>", "<program folder>/fonts/<name>" and, for an
// installed program, "<prefix>/share/brightline/fonts/<name>" that exists; else the one in the
// program folder (which does not exist either).
std::string findFontFile(const std::string& name, const std::string& startFolder,
                         const std::string& programFolder);

}  // namespace brightline
