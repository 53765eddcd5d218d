#pragma once
// Reading a clock page file for a region. The engine finds the file in the workspace folder
// (case-blind, as the sign's names are) and hands over its path.
#include <string>

#include "engine/clock/clock_page.h"
#include "engine/fonts/font_table.h"

namespace brightline {

// Applies the keys of the file (its first 65,536 bytes) to `page`. A missing file reports
// "could not open <path> \n", an unreadable one "read tim failed\n"; both leave `page` as it
// was and return false.
bool loadClockPage(const std::string& path, ClockPage& page,
                   const FontDiagnostics& diag = printDiagnostic);

}  // namespace brightline
