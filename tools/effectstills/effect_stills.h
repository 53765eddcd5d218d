#pragma once
// The pictures of the property view's effect lists, drawn by the show engine: for every effect a
// still from the middle of the effect at 96 x 72. An entry effect brings picture B in over
// picture A; an exit effect takes picture A away and leaves the black the sign shows. The Move
// In list holds effect positions 1..45, the Move Out list positions 0..45; each list is one
// strip of pictures side by side, as its image list is built from.
#include <cstdint>
#include <vector>

namespace brightline::tools {

inline constexpr int kStillWidth = 96;
inline constexpr int kStillHeight = 72;

// The two test pictures (kStillWidth x kStillHeight, 0x00RRGGBB, no pixel black): A a blue field
// with a white ring, B an orange field with dark stripes.
std::vector<uint32_t> pictureA();
std::vector<uint32_t> pictureB();

// The still of the effect at `position` (0..45) as an entry (true) or exit effect.
std::vector<uint32_t> effectStill(int position, bool entry);

// A strip of stills for positions first..45, side by side: (46 - first) x 96 wide, 72 high.
struct Strip {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
Strip effectStrip(bool entry);

}  // namespace brightline::tools
