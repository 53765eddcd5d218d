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

// The prepared file's bytes, or false (with `why` set) when the update file is refused.
bool prepareUpdateBytes(UpdateKind kind, const std::vector<uint8_t>& file,
                        std::vector<uint8_t>& prepared, std::string* why = nullptr);

// Empties `workspace` (cleanWorkspace(): a folder that is no workspace is refused, with that
// reason shown), checks `chosenPath` and writes "zos.zos" / "ezfon.bin" into `workspace`. When
// the file cannot be read, is refused or cannot be written, shows "File %s format unknown."
// followed by the cause on a line of its own (caption "INFO", error icon). False on any failure.
bool prepareUpdate(UpdateKind kind, const std::string& chosenPath, const std::string& workspace,
                   OperatorMessages& messages);

}  // namespace brightline
