#include "tools/fontgen/gb2312_font.h"

#include <iconv.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "tools/fontgen/glyph_canvas.h"

namespace brightline::fontgen {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "XXXX:hex" lines; 32 hex digits are an 8 x 16 glyph, 64 a 16 x 16 one.
std::unordered_map<uint32_t, std::string> readUnifontHex(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::unordered_map<uint32_t, std::string> glyphs;
    std::string line;
    while (std::getline(in, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0 || colon > 6) continue;
        uint32_t code = 0;
        bool good = true;
        for (size_t i = 0; i < colon; ++i) {
            int v = hexValue(line[i]);
            if (v < 0) good = false;
            code = code * 16 + static_cast<uint32_t>(v < 0 ? 0 : v);
        }
        std::string bits = line.substr(colon + 1);
        while (!bits.empty() && (bits.back() == '\r' || bits.back() == ' ')) bits.pop_back();
        if (good && (bits.size() == 32 || bits.size() == 64)) glyphs[code] = bits;
    }
    return glyphs;
}

class Gb2312Decoder {
  public:
    Gb2312Decoder() : cd_(iconv_open("UTF-32LE", "GB2312")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no GB2312");
    }
    ~Gb2312Decoder() { iconv_close(cd_); }
    Gb2312Decoder(const Gb2312Decoder&) = delete;
    Gb2312Decoder& operator=(const Gb2312Decoder&) = delete;

    // The Unicode code point of a GB2312 pair; 0 when the pair is unassigned.
    uint32_t decode(uint8_t row, uint8_t cell) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {static_cast<char>(row), static_cast<char>(cell)};
        uint8_t out[8] = {};
        char* inp = in;
        char* outp = reinterpret_cast<char*>(out);
        size_t inLeft = 2, outLeft = sizeof out;
        if (iconv(cd_, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return 0;
        if (sizeof out - outLeft != 4) return 0;
        return static_cast<uint32_t>(out[0]) | static_cast<uint32_t>(out[1]) << 8 |
               static_cast<uint32_t>(out[2]) << 16 | static_cast<uint32_t>(out[3]) << 24;
    }

  private:
    iconv_t cd_;
};

void drawHexGlyph(const std::string& bits, GlyphCanvas& canvas) {
    int glyphWidth = bits.size() == 64 ? 16 : 8;
    int left = (16 - glyphWidth) / 2;
    int digitsPerRow = glyphWidth / 4;
    for (int y = 0; y < 16; ++y)
        for (int d = 0; d < digitsPerRow; ++d) {
            int v = hexValue(bits[y * digitsPerRow + d]);
            for (int b = 0; b < 4; ++b)
                if (v >= 0 && (v >> (3 - b)) & 1) canvas.set(left + d * 4 + b, y);
        }
}

}  // namespace

BitmapFont makeGb2312Font(const std::string& unifontHexPath) {
    auto unifont = readUnifontHex(unifontHexPath);
    if (unifont.empty()) throw std::runtime_error("no glyphs in " + unifontHexPath);
    Gb2312Decoder decoder;
    FontHeader h;
    h.proportional = 0;
    h.width = 16;
    h.height = 16;
    h.firstCode = 0;
    h.count = static_cast<uint16_t>((kGbLastRow - kGbFirstRow + 1) * kGbCellsPerRow);
    std::vector<uint8_t> block;
    block.reserve(h.blockSize());
    for (int row = kGbFirstRow; row <= kGbLastRow; ++row)
        for (int cell = 0xA1; cell < 0xA1 + kGbCellsPerRow; ++cell) {
            GlyphCanvas canvas(16, 16);
            uint32_t code = decoder.decode(static_cast<uint8_t>(row), static_cast<uint8_t>(cell));
            auto it = code ? unifont.find(code) : unifont.end();
            if (it != unifont.end()) drawHexGlyph(it->second, canvas);
            auto rows = canvas.pack();
            block.insert(block.end(), rows.begin(), rows.end());
        }
    return BitmapFont(h, std::move(block));
}

}  // namespace brightline::fontgen
