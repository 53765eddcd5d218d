#pragma once
// The 96 x 72 picture of an area format, drawn from the area tables: each area outlined and
// numbered, the dividing lines in green. User interface thread only.
#include <QPixmap>

#include "editor/ui/fixed_images.h"

namespace brightline::ui {

QPixmap areaFormatThumbnail(int format);

}  // namespace brightline::ui
