#pragma once
// The parts of a text page file (".ZRT", written by the text page editor) that clips are made
// from: the 60-byte header and the page pictures.
//
// Header (little-endian 32-bit numbers): 0 the mark, a NUL-terminated "ZRT" in any letter case;
// 4 the version, 1; 8 offset of the font section (60); 12 font count; 16 offset of the picture
// section; 20 picture count; 24 zero; 28 run count; 32 run section size (44 a run); 36 text
// length in bytes; 40 layout (1 horizontal, 0 vertical); 44 page width; 48 page height;
// 52 file offset of the page pictures; 56 page count. Page pictures: per page a 32-bit size S,
// then S bytes of a complete bitmap file. The document sections between the header and the
// page pictures are read and written by the text page editor's library (pageeditor/).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/byte_source.h"

namespace brightline::media {

inline constexpr size_t kZrtHeaderSize = 60;
// No page picture is longer than this; a longer claimed size ends the pages.
inline constexpr uint32_t kMaxZrtPageBytes = 256u << 20;

struct ZrtHeader {
    int32_t version = 0;
    uint32_t fontOffset = 0;
    int32_t fontCount = 0;
    uint32_t pictureOffset = 0;
    int32_t pictureCount = 0;
    int32_t reserved = 0;
    int32_t runCount = 0;
    int32_t runBytes = 0;
    int32_t textLength = 0;
    int32_t layout = 0;  // 1 horizontal, 0 vertical
    int32_t width = 0;
    int32_t height = 0;
    uint32_t pageOffset = 0;
    int32_t pageCount = 0;
};

enum class ZrtHeaderStatus {
    Ok,
    Short,      // fewer than 60 bytes
    WrongMark,  // the mark is not "ZRT" or the version is not 1
};

// Reads the header from the first bytes of the file.
ZrtHeaderStatus decodeZrtHeader(const uint8_t* data, size_t size, ZrtHeader& out,
                                std::string* error = nullptr);
// The 60 header bytes: the mark "ZRT" 0, then every field as above.
std::array<uint8_t, kZrtHeaderSize> encodeZrtHeader(const ZrtHeader& header);

// Reads the page pictures of a text page file one after the other. One owner, one thread.
class ZrtPageReader {
  public:
    // Reads and checks the header; the status says why not Ok.
    ZrtHeaderStatus open(std::unique_ptr<ByteSource> source, std::string* error = nullptr);
    const ZrtHeader& header() const { return header_; }
    // The next page's bitmap file bytes. False at the end of the file, at a short read or at a
    // size above kMaxZrtPageBytes (`why` says which).
    bool nextPage(std::vector<uint8_t>& bitmapFile, std::string* why = nullptr);

  private:
    std::unique_ptr<ByteSource> source_;
    ZrtHeader header_;
    uint64_t pos_ = 0;
};

// First frame of a text page file: checks mark and version, then copies the first page picture
// (a complete bitmap file) into "1.tmp" in `folder` (the system's temporary folder when empty)
// and returns that path; empty on any failure, with `error` set.
std::string firstFrameOfZrt(const std::string& zrtPath, const std::string& folder = std::string(),
                            std::string* error = nullptr);

}  // namespace brightline::media
