#include "common/effect_names.h"

namespace brightline {
namespace {

constexpr EffectInfo kEffects[kEffectCount] = {
    {"NULL", 300, "No clear"},
    {"SHOW", 301, "Instant"},
    {"DFR_LF", 302, "Move left"},
    {"DFR_RT", 303, "Move right"},
    {"DFR_TOP", 304, "Move up"},
    {"DFR_BOT", 305, "Move down"},
    {"DFR_LF_TOP", 306, "Move upper left diagonally"},
    {"DFR_RT_TOP", 307, "Move upper right diagonally"},
    {"DFR_LF_BOT", 308, "Move lower left diagonally"},
    {"DFR_RT_BOT", 309, "Move lower right diagonally"},
    {"DFR_H_ACROSS", 310, "Move horizontal across"},
    {"FR_LF", 311, "Cover left"},
    {"FR_RT", 312, "Cover right"},
    {"FR_TOP", 313, "Cover up"},
    {"FR_BOT", 314, "Cover down"},
    {"FR_LF_TOP", 315, "Cover upper left diagonally"},
    {"FR_RT_TOP", 316, "Cover upper right diagonally"},
    {"FR_LF_BOT", 317, "Cover lower left diagonally"},
    {"FR_RT_BOT", 318, "Cover lower right diagonally"},
    {"FR_V_CLOSE", 321, "Close vertical"},
    {"FR_V_OPEN", 322, "Open vertical"},
    {"FR_H_CLOSE", 319, "Close horizontal"},
    {"FR_H_OPEN", 320, "Open horizontal"},
    {"DFR_H_HALF", 323, "Tongue and groove horizontal"},
    {"DFR_V_HALF", 324, "Tongue and groove vertical"},
    {"FR_V_BLIND", 325, "Vertical blind"},
    {"FR_H_BLIND", 326, "Horizontal blind"},
    {"RADAR_360_CW", 327, "Radar scan 360 CW"},
    {"RADAR_180_CW", 328, "Radar scan 180 CW"},
    {"RADAR_90_CW", 329, "Radar scan 90 CW"},
    {"RADAR_360_CCW", 330, "Radar scan 360 CCW"},
    {"RADAR_180_CCW", 331, "Radar scan 180 CCW"},
    {"RADAR_90_CCW", 332, "Radar scan 90 CCW"},
    {"FR_CTB_X", 337, "X out"},
    {"FR_CTB_BOX", 334, "Box out"},
    {"FR_HV_BOX", 333, "Box in"},
    {"FR_CTB_CROSS", 336, "Cross out"},
    {"FR_HV_CROSS", 335, "Cross in"},
    {"FR_CIRCLE", 338, "Circle out"},
    {"FR_STAR", 339, "Star out"},
    {"FR_MOSAIC_S", 340, "Mosaic (small)"},
    {"FR_MOSAIC", 341, "Mosaic"},
    {"ZOOM", 342, "Zoom"},
    {"COLOR", 344, "Fade in"},
    {"FLASH", 345, "Flash"},
    {"RANDOM", 346, "Random"},
};

constexpr EffectInfo kRotate = {"ROTATE", kEffectRotateCode, nullptr};

}  // namespace

const EffectInfo* effectAt(int position) {
    if (position < 0 || position >= kEffectCount) return nullptr;
    return &kEffects[position];
}

std::optional<int> effectPosition(const std::string& name) {
    for (int i = 0; i < kEffectCount; ++i)
        if (name == kEffects[i].name) return i;
    return std::nullopt;
}

const EffectInfo* effectByName(const std::string& name) {
    if (auto pos = effectPosition(name)) return &kEffects[*pos];
    if (name == kRotate.name) return &kRotate;
    return nullptr;
}

std::string entryEffectName(int moveIn) {
    if (moveIn < 0) return "SHOW";
    const EffectInfo* e = effectAt(moveIn + 1);
    return e ? e->name : "SHOW";
}

std::string exitEffectName(int moveOut) {
    const EffectInfo* e = effectAt(moveOut);
    return e ? e->name : "NULL";
}

}  // namespace brightline
