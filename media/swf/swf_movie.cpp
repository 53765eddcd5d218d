#include "media/swf/swf_movie.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/file_io.h"

namespace brightline::swf {
namespace {

// Inflates as much of a zlib stream as it holds, at most `limit` bytes. False when not even
// the start could be inflated.
bool inflatePrefix(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& out,
                   bool& complete) {
    out.clear();
    complete = false;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(std::min<size_t>(size, 0x7FFFFFFF));
    uint8_t chunk[65536];
    int rc = Z_OK;
    while (rc == Z_OK && out.size() < limit) {
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        rc = inflate(&z, Z_NO_FLUSH);
        const size_t got = sizeof chunk - z.avail_out;
        out.insert(out.end(), chunk, chunk + std::min(got, limit - out.size()));
        if (got == 0 && rc == Z_OK) break;  // no input left
    }
    complete = rc == Z_STREAM_END || out.size() >= limit;
    inflateEnd(&z);
    return !out.empty() || complete;
}

class TagParser {
  public:
    explicit TagParser(Movie& movie) : movie_(movie) {}

    // Reads tags up to End or the end of the data into `frames`. Definitions are allowed only on
    // the main timeline.
    void readTimeline(SwfReader& r, std::vector<Frame>& frames, bool sprite);

  private:
    void problem(const std::string& text) { movie_.problems.push_back(text); }
    bool readPlace(int code, SwfReader& r, PlaceObject& out);
    void skipFilters(SwfReader& r);
    void readDefinition(int code, const std::string& name, SwfReader& r, Frame& frame);

    Movie& movie_;
};

void TagParser::skipFilters(SwfReader& r) {
    const int count = r.u8();
    for (int i = 0; i < count && r.ok(); ++i) {
        const int id = r.u8();
        switch (id) {
            case 0:
                r.skip(23);
                break;
            case 1:
                r.skip(9);
                break;
            case 2:
                r.skip(15);
                break;
            case 3:
                r.skip(27);
                break;
            case 4:
            case 7: {
                const int colours = r.u8();
                r.skip(size_t(colours) * 5 + 19);
                break;
            }
            case 5: {
                const int x = r.u8(), y = r.u8();
                r.skip(8 + size_t(x) * size_t(y) * 4 + 5);
                break;
            }
            case 6:
                r.skip(80);
                break;
            default:
                r.skip(r.remaining() + 1);  // unknown filter: the rest cannot be read
        }
    }
}

bool TagParser::readPlace(int code, SwfReader& r, PlaceObject& p) {
    if (code == 4) {
        p.hasCharacter = true;
        p.characterId = r.u16();
        p.depth = r.u16();
        p.hasMatrix = true;
        p.matrix = r.matrix();
        if (r.ok() && r.remaining() > 0) {
            p.hasColorTransform = true;
            p.colorTransform = r.colorTransform(false);
        }
        return r.ok();
    }
    const uint8_t flags = r.u8();
    const uint8_t flags2 = code == 70 ? r.u8() : 0;
    p.depth = r.u16();
    p.move = flags & 0x01;
    p.hasCharacter = flags & 0x02;
    if (code == 70 && ((flags2 & 0x08) || ((flags2 & 0x10) && p.hasCharacter))) r.string();
    if (p.hasCharacter) p.characterId = r.u16();
    if ((p.hasMatrix = flags & 0x04)) p.matrix = r.matrix();
    if ((p.hasColorTransform = flags & 0x08)) p.colorTransform = r.colorTransform(true);
    if ((p.hasRatio = flags & 0x10)) p.ratio = r.u16();
    if (flags & 0x20) r.string();  // instance name: only actions use it
    if ((p.hasClipDepth = flags & 0x40)) p.clipDepth = r.u16();
    if (!r.ok()) return false;
    if (code == 70) {
        // What follows changes only how the object is drawn; a damaged tail is not fatal.
        if (flags2 & 0x01) {
            movie_.featuresNotDrawn.insert("filters");
            skipFilters(r);
        }
        if (flags2 & 0x02) {
            if (r.u8() > 1) movie_.featuresNotDrawn.insert("blend modes");
        }
        if (flags2 & 0x04) r.u8();  // cached as bitmap
        if (flags2 & 0x20) {
            const uint8_t visible = r.u8();
            if (r.ok()) {
                p.hasVisible = true;
                p.visible = visible != 0;
            }
        }
    }
    return true;
}

void TagParser::readDefinition(int code, const std::string& name, SwfReader& r, Frame& frame) {
    Character ch;
    ch.tagCode = code;
    ch.id = r.u16();
    std::string error;
    bool ok = r.ok();
    if (!ok) error = "the tag is too short";
    const std::string what = name + " (character " + std::to_string(ch.id) + ")";
    if (ok) switch (code) {
            case 2:
            case 22:
            case 32:
            case 83: {
                Shape shape;
                shape.bounds = r.rect();
                if (code == 83) {
                    r.rect();  // edge bounds
                    r.u8();    // flags
                }
                const int version = code == 2 ? 1 : code == 22 ? 2 : code == 32 ? 3 : 4;
                ok = readShapeWithStyle(r, version, shape, error);
                ch.body = std::move(shape);
                break;
            }
            case 6:
            case 20:
            case 21:
            case 35:
            case 36: {
                BitmapDefinition bitmap;
                ok = readBitmapDefinition(code, r, bitmap, error);
                ch.body = std::move(bitmap);
                break;
            }
            case 10:
            case 48:
            case 75: {
                Font font;
                ok = readFont(code, r, font, error);
                ch.body = std::move(font);
                break;
            }
            case 11:
            case 33: {
                Text text;
                ok = readText(code, r, text, error);
                ch.body = std::move(text);
                break;
            }
            case 39: {
                Sprite sprite;
                r.u16();  // frame count: the frames are counted as they are read
                readTimeline(r, sprite.frames, true);
                ch.body = std::move(sprite);
                break;
            }
            case 46:
            case 84: {
                MorphShape morph;
                ok = readMorphShape(r, code == 46 ? 1 : 2, morph, error);
                ch.body = std::move(morph);
                break;
            }
            case 60: {
                VideoStreamDefinition video;
                video.frameCount = r.u16();
                video.width = r.u16();
                video.height = r.u16();
                video.smoothing = (r.u8() & 1) != 0;
                video.codec = r.u8();
                ok = r.ok();
                if (!ok) error = "the tag is too short";
                ch.body = video;
                break;
            }
            default:
                return;
        }
    if (!ok) {
        problem(what + ": " + error);
        return;
    }
    movie_.definitions.push_back(std::move(ch));
    frame.push_back(
        DefineCharacter{movie_.definitions.back().id, int(movie_.definitions.size() - 1)});
}

void TagParser::readTimeline(SwfReader& r, std::vector<Frame>& frames, bool sprite) {
    Frame current;
    while (r.remaining() > 0) {
        const size_t at = r.position();
        const uint16_t head = r.u16();
        const int code = head >> 6;
        size_t length = head & 0x3F;
        if (length == 0x3F) length = r.u32();
        const std::string name = tagName(code);
        if (!r.ok() || length > r.remaining()) {
            problem(name + " at byte " + std::to_string(at) + " claims " + std::to_string(length) +
                    " bytes, " + std::to_string(r.remaining()) + " are left");
            break;
        }
        SwfReader t(r.bytes(length), length);
        ++movie_.tagCounts[code];
        if (code == 0) break;
        switch (code) {
            case 1:
                frames.push_back(std::move(current));
                current.clear();
                break;
            case 4:
            case 26:
            case 70: {
                PlaceObject p;
                if (readPlace(code, t, p))
                    current.push_back(std::move(p));
                else
                    problem(name + " at byte " + std::to_string(at) + " is cut short");
                break;
            }
            case 5:
            case 28: {
                RemoveObject rm;
                if (code == 5) t.u16();
                rm.depth = t.u16();
                if (t.ok()) current.push_back(rm);
                break;
            }
            case 9: {
                SetBackgroundColor bg{t.rgb()};
                if (t.ok()) current.push_back(bg);
                break;
            }
            case 61: {
                VideoFrame v;
                v.streamId = t.u16();
                v.frameNumber = t.u16();
                const size_t n = t.remaining();
                const uint8_t* p = t.bytes(n);
                if (p) v.data.assign(p, p + n);
                if (t.ok()) current.push_back(std::move(v));
                break;
            }
            case 3: {
                const uint16_t id = t.u16();
                if (t.ok() && !sprite) current.push_back(DefineCharacter{id, -1});
                break;
            }
            case 8:
                if (!sprite && movie_.jpegTables.empty() && length > 0)
                    movie_.jpegTables.assign(t.data(), t.data() + length);
                break;
            case 2:
            case 6:
            case 10:
            case 11:
            case 20:
            case 21:
            case 22:
            case 32:
            case 33:
            case 35:
            case 36:
            case 39:
            case 46:
            case 48:
            case 60:
            case 75:
            case 83:
            case 84:
                if (sprite)
                    problem(name + " inside a sprite is left out");
                else
                    readDefinition(code, name, t, current);
                break;
            default:
                break;  // counted; tagHandling() tells what leaving it out means
        }
    }
    if (frames.empty() && !current.empty()) frames.push_back(std::move(current));
}

}  // namespace

int Movie::frameCount() const {
    const int inFile = int(frames.size());
    return headerFrameCount > 0 ? std::min(headerFrameCount, inFile) : inFile;
}

int Movie::widthPixels() const {
    return std::max(1, int(std::lround(frameSize.width() / kTwipsPerPixel)));
}

int Movie::heightPixels() const {
    return std::max(1, int(std::lround(frameSize.height() / kTwipsPerPixel)));
}

bool looksLikeMovie(const uint8_t* data, size_t size) {
    return size >= 4 && (data[0] == 'F' || data[0] == 'C' || data[0] == 'Z') && data[1] == 'W' &&
           data[2] == 'S';
}

bool parseMovie(const uint8_t* data, size_t size, Movie& out, std::string& error) {
    out = Movie();
    if (!looksLikeMovie(data, size) || size < 8) {
        error = "not a Flash movie";
        return false;
    }
    if (data[0] == 'Z') {
        error = "LZMA-compressed Flash movies (ZWS) are not read";
        return false;
    }
    out.version = data[3];
    const uint32_t declared = uint32_t(data[4]) | (uint32_t(data[5]) << 8) |
                              (uint32_t(data[6]) << 16) | (uint32_t(data[7]) << 24);
    std::vector<uint8_t> inflated;
    const uint8_t* body = data + 8;
    size_t bodySize = size - 8;
    if (data[0] == 'C') {
        out.compressed = true;
        const size_t limit = std::min<size_t>(declared > 8 ? declared - 8 : 0, kMaxMovieBytes);
        bool complete = false;
        if (!inflatePrefix(body, bodySize, limit, inflated, complete)) {
            error = "the compressed movie cannot be inflated";
            return false;
        }
        if (!complete) out.problems.push_back("the compressed movie is cut short");
        body = inflated.data();
        bodySize = inflated.size();
    } else {
        bodySize = std::min(bodySize, kMaxMovieBytes);
    }
    SwfReader r(body, bodySize);
    out.frameSize = r.rect();
    out.frameRate = r.u16() / 256.0;
    out.headerFrameCount = r.u16();
    if (!r.ok()) {
        error = "the movie's header is cut short";
        return false;
    }
    TagParser(out).readTimeline(r, out.frames, false);
    return true;
}

bool loadMovie(const std::string& path, Movie& out, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, &error, kMaxMovieBytes)) return false;
    if (!parseMovie(bytes.data(), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace brightline::swf
