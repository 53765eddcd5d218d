#pragma once
// The 96 x 72 picture of an area format, drawn from the area tables: each area outlined and
// numbered, the dividing lines in green. User interface thread only.
#include <QPixmap>

namespace brightline::ui {

inline constexpr int kThumbWidth = 96;
inline constexpr int kThumbHeight = 72;

QPixmap areaFormatThumbnail(int format);

}  // namespace brightline::ui
