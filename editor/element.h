#pragma once
// One element of an area list. Element 0 of each list is the area's background; elements 1..n
// are the items, played in list order.
#include <cstdint>
#include <string>

#include "common/archive_reader.h"
#include "common/archive_writer.h"
#include "common/rect.h"

namespace brightline {

struct CElement {
    static constexpr const char* kClassName = "CElement";

    // Full path of the medium; empty means none (only a background may be empty). The kind is
    // the upper-cased extension (editor/medium_kind.h): .BMP .JPG .PNG, .AVI and the video
    // containers, .SWF, .ZRT, .TIM.
    std::string path;
    // Position of the medium in its resource library list when it was dropped; 0 for clock
    // pages, -1 for an empty background.
    int32_t thumbIndex = -1;
    int32_t moveIn = 0;   // Move In list index 0..44 (script name: effect position moveIn + 1)
    int32_t moveOut = 0;  // Move Out list index 0..45; negative: no exit line
    int32_t speed = 0;
    int32_t start = 0;  // seconds from the start of the area's timeline
    int32_t hold = 3;   // seconds on the sign
    Rect barRect;       // the timeline bar, kept as stored and never read for a decision

    // Fields in archive order: moveIn, moveOut, speed, start, hold, barRect, thumbIndex, path.
    void serialize(ArchiveWriter& ar) const;
    void deserialize(ArchiveReader& ar);

    bool operator==(const CElement& o) const;
    bool operator!=(const CElement& o) const { return !(*this == o); }
};

}  // namespace brightline
