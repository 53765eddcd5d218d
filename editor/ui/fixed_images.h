#pragma once
// The program editor's fixed pictures, drawn by our own code the first time they are asked for:
// the placeholder of a medium that cannot be read, the clock page and Flash pictures, the
// entry and exit boxes of an item without an effect, the picture shown while a thumbnail is
// being made, and the effect lists' pictures (drawn by the show engine at build time and
// compiled in). User interface thread only.
#include <QPixmap>

namespace brightline::ui {

inline constexpr int kThumbWidth = 96;
inline constexpr int kThumbHeight = 72;
// The exit box's picture when an item has no exit effect.
inline constexpr int kNoExitWidth = 56;
inline constexpr int kNoExitHeight = 40;

// 96 x 72 each.
QPixmap placeholderImage();  // a medium whose picture cannot be read
QPixmap clockImage();        // a clock page
QPixmap flashImage();        // a Flash movie whose first frame cannot be drawn
QPixmap loadingImage();      // while the thumbnail is made
QPixmap noEffectImage();     // an item without an entry effect
QPixmap noExitImage();       // 56 x 40: an item without an exit effect

// Picture `index` of the Move In list (0..44) and of the Move Out list (0..45); the
// no-effect pictures outside those ranges.
QPixmap moveInImage(int index);
QPixmap moveOutImage(int index);

}  // namespace brightline::ui
