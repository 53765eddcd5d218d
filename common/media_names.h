#pragma once
// Names of what Make writes into the workspace folder.
//
// Region script "70001.shw": first digit, two-digit program number, area slot, window digit
// (0 background, 1 items). Medium "70001002": the same five digits and a three-digit sequence
// number. A program number of -1 is taken as 0. The numbers are written as printf's %d would,
// so out-of-range values widen the name rather than being cut.
#include <string>

namespace brightline {

std::string regionScriptName(int firstDigit, int program, int slot, int window);
std::string mediaName(int firstDigit, int program, int slot, int window, int sequence);

}  // namespace brightline
