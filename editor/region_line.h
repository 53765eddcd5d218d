#pragma once
// One dividing line of the sign face, in sign pixels.
#include <cstdint>

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/rect.h"

namespace brightline {

struct CRegion_Line {
    static constexpr const char* kClassName = "CRegion_Line";
    static constexpr size_t kStoredSize = 36;

    // A band 6 pixels wide centred on the line (x-3..x+3 or y-3..y+3), running from one end to
    // the other along it.
    Rect band;
    int32_t selected = 0;    // 1 while the user drags this line
    int32_t horizontal = 0;  // 0 vertical, 1 horizontal
    // Bit 0: other lines end on this one (moving it moves their ends). Bit 1: this line's own
    // ends lie on other lines.
    int32_t role = 0;
    int32_t endLineA = -1;  // line (0..7) on which the first end lies; -1: the sign edge
    int32_t endLineB = -1;  // the same for the second end

    // The 36 bytes the program file holds inline: band, selected, horizontal, role, endLineA,
    // endLineB.
    void serialize(ByteWriter& out) const;
    void deserialize(ByteReader& in);

    bool operator==(const CRegion_Line& o) const;
    bool operator!=(const CRegion_Line& o) const { return !(*this == o); }
};

}  // namespace brightline
