// font-sheet: every glyph of every font in a ZFON file, drawn into a PNG so a person can look
// at the fonts.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "apps/brightline-cli/commands.h"
#include "common/file_io.h"
#include "engine/fonts/font_table.h"
#include "engine/fonts/zfon_file.h"

namespace brightline::cli {
namespace {

constexpr uint32_t kPaper = 0x000000;
constexpr uint32_t kCell = 0x1c2a48;      // glyph cell, inside the advance
constexpr uint32_t kCellPast = 0x101520;  // proportional glyph: the cell past its advance
constexpr uint32_t kInk = 0xffffff;
constexpr uint32_t kLabel = 0xf0c040;
constexpr int kLabelScale = 2;
constexpr int kGap = 2;

// A 3 x 5 pixel font for the labels: hexadecimal digits and a few marks.
struct LabelGlyph {
    char c;
    uint16_t rows[5];  // 3 bits a row, most significant on the left
};
const LabelGlyph kLabelGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {7, 4, 4, 4, 7}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'P', {7, 5, 7, 4, 4}}, {'x', {0, 5, 2, 5, 0}}, {':', {0, 2, 0, 2, 0}}, {' ', {0, 0, 0, 0, 0}},
};

class Sheet {
  public:
    Sheet(int width, int height)
        : width_(width), height_(height), px_(size_t(width) * height, kPaper) {}
    void put(int x, int y, uint32_t rgb) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) px_[size_t(y) * width_ + x] = rgb;
    }
    void fill(int x, int y, int w, int h, uint32_t rgb) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) put(x + i, y + j, rgb);
    }
    // Returns the width drawn.
    int label(int x, int y, const std::string& text) {
        int at = x;
        for (char c : text) {
            for (const LabelGlyph& g : kLabelGlyphs) {
                if (g.c != c) continue;
                for (int r = 0; r < 5; ++r)
                    for (int b = 0; b < 3; ++b)
                        if ((g.rows[r] >> (2 - b)) & 1)
                            fill(at + b * kLabelScale, y + r * kLabelScale, kLabelScale,
                                 kLabelScale, kLabel);
            }
            at += 4 * kLabelScale;
        }
        return at - x;
    }
    bool writePng(const std::string& path, std::string& error) const;

  private:
    int width_;
    int height_;
    std::vector<uint32_t> px_;
};

bool Sheet::writePng(const std::string& path, std::string& error) const {
    AtomicFileWriter file;
    if (!file.open(path, &error)) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "libpng could not start";
        return false;
    }
    std::vector<uint8_t> row(size_t(width_) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        const bool diskError = file.stream() && std::ferror(file.stream());
        error =
            "cannot write " + path +
            (diskError ? std::string(": ") + std::strerror(errno) : std::string(": libpng failed"));
        return false;
    }
    png_init_io(png, file.stream());
    // Flat colours compress well unfiltered, and the rows stay simple to read back.
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_IHDR(png, info, width_, height_, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            uint32_t p = px_[size_t(y) * width_ + x];
            row[x * 3] = uint8_t(p >> 16);
            row[x * 3 + 1] = uint8_t(p >> 8);
            row[x * 3 + 2] = uint8_t(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file.commit(&error);
}

std::string hex(unsigned v, int digits) {
    static const char* kDigits = "0123456789ABCDEF";
    std::string s(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = kDigits[v & 15];
    return s;
}

// The layout of one font's block on the sheet.
struct Block {
    const BitmapFont* font;
    int number;
    int scale;
    int columns;
    int rows;
    int cellW, cellH;
    int width() const { return kLeft + columns * cellW; }
    int height() const { return kHead + rows * cellH + 2 * kGap * 4; }
    static constexpr int kLeft = 4 * 4 * kLabelScale;         // row labels: 3 hex digits
    static constexpr int kHead = 6 * kLabelScale + 3 * kGap;  // the font's title line
};

void drawBlock(Sheet& sheet, const Block& b, int top) {
    const BitmapFont& f = *b.font;
    bool doubleByte = b.columns == 94;
    std::string title = std::to_string(b.number) + ": " + std::to_string(f.width()) + "x" +
                        std::to_string(f.height()) + (f.proportional() ? " P" : "") + "  " +
                        hex(f.header().firstCode, 2) + " " + std::to_string(f.glyphCount());
    sheet.label(0, top + kGap, title);
    int gridTop = top + Block::kHead;
    for (int r = 0; r < b.rows; ++r) {
        unsigned rowCode =
            doubleByte ? 0xA1u + unsigned(r) : f.header().firstCode + unsigned(r * b.columns);
        sheet.label(0, gridTop + r * b.cellH + kGap, hex(rowCode, doubleByte ? 2 : 3));
        for (int c = 0; c < b.columns; ++c) {
            long n = long(r) * b.columns + c;
            if (n >= f.glyphCount()) break;
            GlyphView g = f.glyph(n);
            int x0 = Block::kLeft + c * b.cellW;
            int y0 = gridTop + r * b.cellH;
            sheet.fill(x0, y0, f.width() * b.scale, f.height() * b.scale, kCellPast);
            sheet.fill(x0, y0, std::min(g.advance, f.width()) * b.scale, f.height() * b.scale,
                       kCell);
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x)
                    if (g.ink(x, y))
                        sheet.fill(x0 + x * b.scale, y0 + y * b.scale, b.scale, b.scale, kInk);
        }
    }
}

}  // namespace

int runFontSheet(const Args& args) {
    const char* synopsis = "font-sheet FONTFILE OUT.png [--scale N]";
    std::vector<std::string> files;
    int scale = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--scale" && i + 1 < args.size()) {
            scale = std::atoi(args[++i].c_str());
            if (scale < 1 || scale > 16) return usage(synopsis);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) return usage(synopsis);
    std::string error;
    if (sameFile(files[0], files[1])) {
        std::fprintf(stderr, "brightline-cli: %s is the font file itself; name another file\n",
                     files[1].c_str());
        return kExitFailed;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(files[0], bytes, &error, size_t(64) << 20)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    ZfonContents contents = readZfon(bytes, kMaxFonts);
    if (!contents.error.empty()) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", files[0].c_str(), contents.error.c_str());
        return kExitFailed;
    }
    if (contents.fonts.empty()) {
        std::fprintf(stderr, "brightline-cli: %s holds no fonts\n", files[0].c_str());
        return kExitFailed;
    }
    std::vector<Block> blocks;
    int width = 1, height = 0;
    for (size_t i = 0; i < contents.fonts.size(); ++i) {
        const BitmapFont& f = contents.fonts[i];
        Block b{};
        b.font = &f;
        b.number = static_cast<int>(i);
        bool doubleByte = f.glyphCount() > 256;
        b.scale = scale ? scale : (doubleByte ? 1 : 2);
        b.columns = doubleByte ? 94 : 16;
        b.rows = (f.glyphCount() + b.columns - 1) / b.columns;
        b.cellW = std::max(1, f.width()) * b.scale + kGap;
        b.cellH = std::max(12, f.height() * b.scale + kGap);
        blocks.push_back(b);
        width = std::max(width, b.width());
        height += b.height();
    }
    // Keep the picture within what viewers open comfortably.
    if (double(width) * height > 400e6) {
        std::fprintf(stderr,
                     "brightline-cli: the sheet would be %dx%d pixels; try a smaller --scale\n",
                     width, height);
        return kExitFailed;
    }
    Sheet sheet(width, std::max(1, height));
    int top = 0;
    for (const Block& b : blocks) {
        drawBlock(sheet, b, top);
        top += b.height();
    }
    if (!sheet.writePng(files[1], error)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("%zu fonts, sheet %dx%d written to %s\n", contents.fonts.size(), width, height,
                files[1].c_str());
    return kExitOk;
}

}  // namespace brightline::cli
