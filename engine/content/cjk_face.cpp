#include "engine/content/cjk_face.h"

#include <algorithm>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "common/code_page.h"

namespace brightline::content {

struct CjkFace::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

CjkFace::CjkFace(std::string path) : path_(std::move(path)) {}
CjkFace::~CjkFace() = default;

bool CjkFace::openLocked() {
    if (tried_) return impl_ != nullptr;
    tried_ = true;
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) return false;
    if (FT_New_Face(impl->library, path_.c_str(), 0, &impl->face) != 0) return false;
    impl_ = std::move(impl);
    return true;
}

bool CjkFace::available() {
    std::lock_guard<std::mutex> lock(mutex_);
    return openLocked();
}

bool CjkFace::render(uint32_t codePoint, int size, CjkGlyph& out) {
    out = CjkGlyph();
    size = std::clamp(size, 1, CjkGlyph::kMaskSize);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!openLocked()) return false;
    FT_Face face = impl_->face;
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0) return false;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;

    // The baseline sits where the face's ascender puts it in a cell `size` pixels tall.
    const long ascender = face->size->metrics.ascender >> 6;
    const long descender = -(face->size->metrics.descender >> 6);
    const long extent = std::max(ascender + descender, 1L);
    const long baseline = (long(size) * ascender + extent / 2) / extent;

    const int width = std::min<int>(static_cast<int>(bitmap.width), CjkGlyph::kMaskSize);
    out.width = width;
    out.height = size;
    out.ink.assign(size_t(width) * size_t(size), 0);
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row) {
        long y = baseline - slot->bitmap_top + row;
        if (y < 0 || y >= size) continue;
        const unsigned char* src = bitmap.buffer + long(row) * bitmap.pitch;
        for (int col = 0; col < width; ++col) {
            bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (src[col / 8] >> (7 - col % 8)) & 1
                                                              : src[col] >= 128;
            if (on) out.ink[size_t(y) * width + size_t(col)] = 1;
        }
    }
    out.advance = width > 0 ? width + 1 : std::max<int>(1, static_cast<int>(slot->advance.x >> 6));
    return true;
}

uint32_t gb2312ToUnicode(uint8_t first, uint8_t second) {
    if (first < 0xA1 || second < 0xA1 || first == 0xFF || second == 0xFF) return 0;
    const std::string utf8 = fromOem(std::string{char(first), char(second)});
    // One UTF-8 character of two or three bytes is expected.
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    uint32_t cp = 0;
    if (utf8.size() == 2 && (s[0] & 0xE0) == 0xC0)
        cp = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
    else if (utf8.size() == 3 && (s[0] & 0xF0) == 0xE0)
        cp = ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
    return cp == 0xFFFD ? 0 : cp;
}

}  // namespace brightline::content
