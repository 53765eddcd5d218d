#pragma once
// The scalable face that text pages draw double-byte (GB2312) characters with: an outline font
// opened through FreeType (WenQuanYi Zen Hei by default) and rendered as a one-bit mask at the
// text's current size, at most kMaskSize x kMaskSize pixels.
//
// The face is opened on first use. One CjkFace may be shared by every region of a show: render()
// serialises its callers (FreeType faces are not thread-safe).
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brightline::content {

inline constexpr const char* kDefaultCjkFacePath = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

// A rendered character: `width` x `height` ink flags, top row first, placed in a cell `size`
// pixels tall whose top row is row 0 (rows of the mask that fall outside the cell are cut).
struct CjkGlyph {
    static constexpr int kMaskSize = 96;
    int width = 0;    // columns of ink, 0 for a character without ink
    int height = 0;   // the cell height (the size asked for, at most kMaskSize)
    int advance = 0;  // where the pen goes: width + 1, or the face's advance for a blank glyph
    std::vector<uint8_t> ink;  // width x height, 1 = ink

    bool inkAt(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && ink[size_t(y) * width + x];
    }
};

class CjkFace {
  public:
    explicit CjkFace(std::string path = kDefaultCjkFacePath);
    ~CjkFace();
    CjkFace(const CjkFace&) = delete;
    CjkFace& operator=(const CjkFace&) = delete;

    // Renders Unicode character `codePoint` at `size` pixels (1 .. kMaskSize). False when the
    // face cannot be opened or holds no such character.
    bool render(uint32_t codePoint, int size, CjkGlyph& out);
    // True when the face could be opened (opens it when not tried yet).
    bool available();

  private:
    struct Impl;
    bool openLocked();

    std::string path_;
    std::mutex mutex_;
    std::unique_ptr<Impl> impl_;
    bool tried_ = false;
};

// The Unicode character of a GB2312 pair (both bytes 0xA1 or above); 0 when there is none.
uint32_t gb2312ToUnicode(uint8_t first, uint8_t second);

}  // namespace brightline::content
