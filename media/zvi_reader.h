#pragma once
// Reads a ZVI clip record by record, for the clip player and for inspection.
//
// Open clip gives the header; each readFrame() takes the next record and decodes it. A record
// whose length is negative, shorter than its checksum, longer than what is left or longer than
// kMaxZviRecordLength is damaged: it is not decoded, and reading goes on at the next place
// further on where a record of the clip's codec plausibly starts (a length that fits, followed by
// a JPEG or PNG signature), so the rest of the clip still plays; when there is none the clip ends.
// Nothing is ever read past the data. One reader per clip, one thread at a time.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/byte_source.h"
#include "media/picture.h"
#include "media/zvi_format.h"

namespace brightline::media {

// The file the clip command opens: `folder` (the workspace folder) + `name` lower-cased (A-Z
// only) + ".zvi".
std::string clipPath(const std::string& folder, const std::string& name);

struct ZviFrameRecord {
    int index = 0;        // record number from 0 (damaged records count too)
    uint64_t offset = 0;  // file offset of the length field
    int64_t length = 0;   // L as stored (signed)
    std::vector<uint8_t>
        stream;  // the L - 2 stream bytes (with the padding byte); empty when damaged
    uint16_t storedChecksum = 0;
    uint16_t computedChecksum = 0;
    bool checksumMatches() const { return storedChecksum == computedChecksum; }
};

enum class RecordStatus {
    Ok,       // `record` holds the stream and both checksums
    Damaged,  // the length was unusable: `why` says so; the next call goes on after it
    End,      // no more records
};

enum class ClipFrameStatus {
    Decoded,  // `frame` holds the decoded picture
    Skipped,  // this frame could not be read or decoded: show the previous one again
    End,      // the clip has no more frames to read
};

class ZviReader {
  public:
    // False with `error` set when fewer than 24 bytes are there or the mark is not "ZAVI".
    bool open(std::unique_ptr<ByteSource> source, std::string* error = nullptr);
    bool openFile(const std::string& path, std::string* error = nullptr);

    const ZviHeader& header() const { return header_; }
    // Records read so far (damaged ones included): the index of the next record.
    int recordsRead() const { return index_; }
    uint64_t position() const { return pos_; }

    RecordStatus nextRecord(ZviFrameRecord& record, std::string* why = nullptr);

    // Reads and decodes the next frame (the stream's own signature decides JPEG or PNG, so a clip
    // whose codec tag is wrong still plays). Pictures above kMaxPicturePixels are skipped.
    ClipFrameStatus readFrame(Picture& frame, std::string* why = nullptr);

  private:
    // The offset of the next plausible record start after `from`, or the source size.
    uint64_t resync(uint64_t from);

    std::unique_ptr<ByteSource> source_;
    ZviHeader header_;
    uint64_t pos_ = 0;
    int index_ = 0;
};

// Read clip frame: what the player gets for the next frame of a clip in a region.
enum class ClipPageResult {
    End = -1,    // no more frames: the clip stops, the page keeps the last good frame
    Failed = 0,  // this frame was skipped: `page` is untouched, the previous frame shows again
    Shown = 1,   // `page` holds the frame
    ShownSizeDiffers = 2,  // a "PNG " clip's frame whose size differs from the region (the player
                           // clears the region's display once when it first sees this)
};

// Reads the next frame and places it into a regionWidth x regionHeight page (top-left, cut to
// the region, black elsewhere). `why` is set for End after damage and for Failed.
ClipPageResult readClipFrameIntoPage(ZviReader& reader, int regionWidth, int regionHeight,
                                     Picture& page, std::string* why = nullptr);

}  // namespace brightline::media
