#include "pageeditor/text_page_file.h"

#include <algorithm>

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "media/zrt_file.h"

namespace brightline::pageeditor {
namespace {

constexpr size_t kFontRecordSize = 4 + kLogFontSize;
constexpr size_t kPictureRecordSize = 28;
constexpr size_t kRunSize = 44;
constexpr size_t kLineSize = 3;

void putBigEndian16(ByteWriter& w, uint16_t v) {
    w.u8(uint8_t(v >> 8));
    w.u8(uint8_t(v));
}

// Reads the sections one after the other from a source, each length checked first.
class SectionReader {
  public:
    SectionReader(media::ByteSource& source, uint64_t at) : source_(source), pos_(at) {}

    // Reads n bytes into `out`; false with the reason set when fewer are left.
    bool take(size_t n, std::vector<uint8_t>& out, const std::string& what) {
        const uint64_t size = source_.size();
        const uint64_t left = pos_ <= size ? size - pos_ : 0;
        if (n > left) {
            error_ = what + " needs " + std::to_string(n) + " bytes at offset " +
                     std::to_string(pos_) + ", " + std::to_string(left) + " left";
            return false;
        }
        out.resize(n);
        if (n && !source_.readAt(pos_, out.data(), n)) {
            error_ = what + " cannot be read at offset " + std::to_string(pos_);
            return false;
        }
        pos_ += n;
        return true;
    }
    // Checks that count records of `each` bytes can be there before anything is allocated.
    bool fits(int64_t count, size_t each, const std::string& what) {
        const uint64_t size = source_.size();
        const uint64_t left = pos_ <= size ? size - pos_ : 0;
        if (count < 0 || uint64_t(count) > left / each) {
            error_ = what + " count " + std::to_string(count) + " does not fit in the " +
                     std::to_string(left) + " bytes left";
            return false;
        }
        return true;
    }
    const std::string& error() const { return error_; }

  private:
    media::ByteSource& source_;
    uint64_t pos_;
    std::string error_;
};

}  // namespace

std::vector<uint8_t> encodeTextPageFile(const TextPage& page,
                                        const std::vector<std::vector<uint8_t>>& pagePictures) {
    ByteWriter body;
    for (const FontEntry& f : page.fonts) {
        body.i32(f.id);
        const auto lf = f.font.encode();
        body.bytes(lf.data(), lf.size());
    }
    const size_t pictureOffset = media::kZrtHeaderSize + body.data().size();
    for (const PictureEntry& p : page.pictures) {
        const std::vector<uint8_t>& bits = p.data();
        body.i32(p.id);
        body.i32(int32_t(bits.size()));
        body.i32(p.info.width);
        body.i32(p.info.height);
        body.i32(p.info.stride);
        body.u16(p.info.planes);
        body.u16(p.info.bitsPerPixel);
        body.i32(p.info.unused);
        body.bytes(bits.data(), bits.size());
    }
    for (const StyleRun& r : page.runs) {
        for (int32_t v : {r.kind, r.resourceId, r.start, r.length, r.averageWidth, r.height,
                          r.reserved, r.contour})
            body.i32(v);
        body.u32(r.outlineColor);
        body.i32(r.outlineWidth);
        body.u32(r.textColor);
    }
    body.text(page.text);
    std::vector<uint8_t> widths = page.widths;
    widths.resize(page.text.size(), 0);
    body.bytes(widths.data(), widths.size());
    const size_t lineCount = std::min<size_t>(page.lines.size(), 0xFFFF);
    putBigEndian16(body, uint16_t(lineCount));
    for (size_t k = 0; k < lineCount; ++k) {
        body.u8(uint8_t(page.lines[k].alignment));
        putBigEndian16(body, uint16_t(std::clamp(page.lines[k].offset, 0, 0xFFFF)));
    }

    media::ZrtHeader h;
    h.version = 1;
    h.fontOffset = uint32_t(media::kZrtHeaderSize);
    h.fontCount = int32_t(page.fonts.size());
    h.pictureOffset = uint32_t(pictureOffset);
    h.pictureCount = int32_t(page.pictures.size());
    h.runCount = int32_t(page.runs.size());
    h.runBytes = int32_t(page.runs.size() * kRunSize);
    h.textLength = int32_t(page.text.size());
    h.layout = int32_t(page.geometry.layout);
    h.width = page.geometry.pageWidth;
    h.height = page.geometry.pageHeight;
    h.pageOffset = uint32_t(media::kZrtHeaderSize + body.data().size());
    h.pageCount = int32_t(pagePictures.size());

    const auto header = media::encodeZrtHeader(h);
    std::vector<uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), body.data().begin(), body.data().end());
    ByteWriter tail;
    for (const std::vector<uint8_t>& bmp : pagePictures) {
        tail.u32(uint32_t(bmp.size()));
        tail.bytes(bmp.data(), bmp.size());
    }
    out.insert(out.end(), tail.data().begin(), tail.data().end());
    return out;
}

TextPageLoadResult decodeTextPageFile(media::ByteSource& source, TextPage& out,
                                      std::string* error) {
    auto fail = [&](TextPageLoadResult r, const std::string& why) {
        if (error) *error = why;
        return r;
    };
    uint8_t head[media::kZrtHeaderSize];
    if (source.size() < media::kZrtHeaderSize || !source.readAt(0, head, sizeof head))
        return fail(TextPageLoadResult::NotATextPage, "shorter than the 60-byte text page header");
    media::ZrtHeader h;
    std::string why;
    if (media::decodeZrtHeader(head, sizeof head, h, &why) != media::ZrtHeaderStatus::Ok)
        return fail(TextPageLoadResult::NotATextPage, why);

    TextPage page;
    page.geometry.layout = h.layout == 1 ? PageLayout::Horizontal : PageLayout::Vertical;
    page.geometry.pageWidth = h.width;
    page.geometry.pageHeight = h.height;
    SectionReader in(source, media::kZrtHeaderSize);
    std::vector<uint8_t> block;
    auto corrupt = [&]() { return fail(TextPageLoadResult::Unreadable, in.error()); };

    if (!in.fits(h.fontCount, kFontRecordSize, "font") ||
        !in.take(size_t(h.fontCount) * kFontRecordSize, block, "the font section"))
        return corrupt();
    for (int32_t i = 0; i < h.fontCount; ++i) {
        const uint8_t* rec = block.data() + size_t(i) * kFontRecordSize;
        FontEntry f;
        f.id = ByteReader(rec, 4).i32();
        f.font = LogFont::decode(rec + 4);
        page.fonts.push_back(f);
    }

    if (!in.fits(h.pictureCount, kPictureRecordSize, "picture")) return corrupt();
    for (int32_t i = 0; i < h.pictureCount; ++i) {
        const std::string what = "picture " + std::to_string(i);
        if (!in.take(kPictureRecordSize, block, what)) return corrupt();
        ByteReader r(block);
        PictureEntry p;
        p.id = r.i32();
        p.info.bitsSize = r.i32();
        p.info.width = r.i32();
        p.info.height = r.i32();
        p.info.stride = r.i32();
        p.info.planes = r.u16();
        p.info.bitsPerPixel = r.u16();
        p.info.unused = r.i32();
        if (p.info.bitsSize < 0)
            return fail(TextPageLoadResult::Unreadable,
                        what + " claims " + std::to_string(p.info.bitsSize) + " bytes of bits");
        auto bits = std::make_shared<std::vector<uint8_t>>();
        if (!in.fits(p.info.bitsSize, 1, what + " bits") ||
            !in.take(size_t(p.info.bitsSize), *bits, what + " bits"))
            return corrupt();
        p.bits = std::move(bits);
        page.pictures.push_back(std::move(p));
    }

    if (!in.fits(h.runCount, kRunSize, "run") ||
        !in.take(size_t(h.runCount) * kRunSize, block, "the run section"))
        return corrupt();
    ByteReader runs(block);
    for (int32_t i = 0; i < h.runCount; ++i) {
        StyleRun r;
        r.kind = runs.i32();
        r.resourceId = runs.i32();
        r.start = runs.i32();
        r.length = runs.i32();
        r.averageWidth = runs.i32();
        r.height = runs.i32();
        r.reserved = runs.i32();
        r.contour = runs.i32();
        r.outlineColor = runs.u32();
        r.outlineWidth = runs.i32();
        r.textColor = runs.u32();
        page.runs.push_back(r);
    }

    if (!in.fits(h.textLength, 2, "text length") ||
        !in.take(size_t(h.textLength) * 2, block, "the text section"))
        return corrupt();
    page.text.assign(block.begin(), block.begin() + h.textLength);
    page.widths.assign(block.begin() + h.textLength, block.end());

    if (!in.take(2, block, "the line count")) return corrupt();
    const size_t lineCount = size_t(block[0]) << 8 | block[1];
    if (!in.take(lineCount * kLineSize, block, "the line section")) return corrupt();
    for (size_t k = 0; k < lineCount; ++k) {
        const uint8_t* l = block.data() + k * kLineSize;
        LineEntry e;
        e.alignment = Alignment(l[0]);
        e.offset = int32_t(l[1]) << 8 | l[2];
        page.lines.push_back(e);
    }
    out = std::move(page);
    return TextPageLoadResult::Loaded;
}

TextPageLoadResult readTextPageFile(const std::string& path, TextPage& page, std::string* error) {
    std::string why;
    auto file = media::FileByteSource::open(path, &why);
    if (!file) {
        if (error) *error = why;
        return TextPageLoadResult::Unreadable;
    }
    const TextPageLoadResult r = decodeTextPageFile(*file, page, &why);
    if (r != TextPageLoadResult::Loaded && error) *error = path + ": " + why;
    return r;
}

}  // namespace brightline::pageeditor
