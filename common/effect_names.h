#pragma once
// The transition effect table: the script names of the AP, EP and ZAVI lines, the engine's
// internal codes and the names the editor's lists show.
//
// Positions 0..45 run from "NULL" ("No clear") to "RANDOM" ("Random"). The Move In list offers
// positions 1..45 (moveIn = list index, script name = position moveIn + 1); the Move Out list
// offers 0..45 (moveOut = position). "ROTATE" is a script name without a position: scripts may
// use it, the editor does not offer it and RANDOM does not draw it.
#include <optional>
#include <string>

namespace brightline {

struct EffectInfo {
    const char* name;         // script word, matched exactly
    int code;                 // the engine's internal code, never written to a file
    const char* displayName;  // editor list text; nullptr for ROTATE
};

inline constexpr int kEffectCount = 46;  // positions 0..45
inline constexpr int kEffectRotateCode = 343;

// Entry `position` (0..45); out of range gives nullptr.
const EffectInfo* effectAt(int position);
// The position of a script name (0..45), nullopt for unknown names and for "ROTATE".
std::optional<int> effectPosition(const std::string& name);
// The table entry of a script name including "ROTATE"; nullptr for unknown names.
const EffectInfo* effectByName(const std::string& name);

// The script name Make writes for an element's entry effect: position moveIn + 1, "SHOW" when
// moveIn is negative. An index past the table also gives "SHOW", the engine's answer to an
// unknown word.
std::string entryEffectName(int moveIn);
// The script name for an exit effect: position moveOut. Only called for moveOut >= 0; an index
// past the table gives "NULL".
std::string exitEffectName(int moveOut);

}  // namespace brightline
