#pragma once
// Firmware (".WOS") and font (".WFN") update files: a 16-byte header "ZOS_ZSY" 0, a uint32
// length and a uint32 sum (little-endian), then the content.
//
//   firmware: length and sum must be 0; the prepared "zos.zos" is the header with the content's
//             byte count and 32-bit byte sum filled in, then the content unchanged.
//   font:     length and sum must be non-zero and match the content; the prepared "ezfon.bin"
//             is the content alone.
//
// Preparing first empties the workspace folder (every file directly in it), so whether or not
// the chosen file passes, the show made there before is gone.
#include <cstdint>
#include <string>
#include <vector>

namespace brightline {

class OperatorMessages;

enum class UpdateKind { Firmware, Font };

// The prepared file's bytes, or false when the update file is refused.
bool prepareUpdateBytes(UpdateKind kind, const std::vector<uint8_t>& file,
                        std::vector<uint8_t>& prepared);

// Empties `workspace`, checks `chosenPath` and writes "zos.zos" / "ezfon.bin" into `workspace`.
// On any failure shows "File %s format unknown." (caption "INFO", error icon) and returns false.
bool prepareUpdate(UpdateKind kind, const std::string& chosenPath, const std::string& workspace,
                   OperatorMessages& messages);

}  // namespace brightline
