#pragma once
// The drawing steps of each transition family, for effects.cpp. Each function draws one page
// (entry, `page` is the source) or takes the display away (exit, `page` is null), waits after
// each step as the speed rule says, and returns false as soon as the region is stopped.
// Display, page and the slot's work buffer are ctx.width x ctx.height pixels.
#include <cstdint>

namespace brightline::engine {

struct RegionContext;

// Sine and cosine of k x 7.5 degrees, k = 0..47, rounded to three decimals.
float sineTable(int k);
float cosineTable(int k);

enum class PushKind {
    Left,
    Right,
    Top,
    Bottom,
    LeftTop,
    RightTop,
    LeftBottom,
    RightBottom,
    Across,
    HalfH,
    HalfV
};
bool pushEffect(RegionContext& ctx, PushKind kind, const uint32_t* page, int speed);

enum class CoverKind { Left, Right, Top, Bottom };
bool coverEffect(RegionContext& ctx, CoverKind kind, const uint32_t* page, int speed);

enum class MaskKind {
    LeftTop,
    RightTop,
    LeftBottom,
    RightBottom,
    VClose,
    VOpen,
    HClose,
    HOpen,
    HBlind,
    VBlind,
    BoxOut,
    BoxIn,
    CrossOut,
    CrossIn,
    XOut,
    Circle,
    Star
};
bool maskEffect(RegionContext& ctx, MaskKind kind, const uint32_t* page, int speed);

enum class RadarKind { Cw360, Cw180, Cw90, Ccw360, Ccw180, Ccw90 };
bool radarEffect(RegionContext& ctx, RadarKind kind, const uint32_t* page, int speed);

// tilesPerSide 24 (small) or 8.
bool mosaicEffect(RegionContext& ctx, int tilesPerSide, const uint32_t* page, int speed);
bool zoomEffect(RegionContext& ctx, const uint32_t* page, int speed);
bool rotateEffect(RegionContext& ctx, const uint32_t* page, int speed);

}  // namespace brightline::engine
