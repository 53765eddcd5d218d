#pragma once
// Draws a clock page's fields into page 0 of a region: Draw clock (date, time, weekday) and the
// extras (temperature, title), each glyph in its field's colour, pixels outside the region cut.
// The texts and glyph positions come from the clock layout (engine/clock/clock_fields.h).
//
// Pure drawing into a caller's buffer; thread-safe as long as the buffer is the caller's.
#include <cstdint>
#include <optional>

#include "engine/clock/clock_page.h"
#include "engine/clock/local_time.h"
#include "engine/fonts/font_table.h"

namespace brightline::content {

// `page` is width x height pixels, rows top first. Draw clock clears it first.
void drawClockFields(const ClockPage& clock, const CivilTime& shown, const FontTable& fonts,
                     uint32_t* page, int width, int height);
// Draws over what is there. `celsius` is the reading, nullopt when there is none ("##").
void drawClockExtras(const ClockPage& clock, std::optional<int> celsius, const FontTable& fonts,
                     uint32_t* page, int width, int height);

}  // namespace brightline::content
