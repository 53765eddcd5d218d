#pragma once
// The one place the desktop chooses how Make converts media.
#include <functional>
#include <memory>

#include "editor/media_export.h"

namespace brightline::ui {

// A new exporter for one Make: the workspace media export with the JPEG quality of "jpg.ini".
// `grey` (the profile's greyMode()) turns pictures grey.
std::unique_ptr<MediaExport> createMediaExport(bool grey);

// Replaces the exporter Make uses (tests); an empty function restores the default.
using MediaExportFactory = std::function<std::unique_ptr<MediaExport>(bool grey)>;
void setMediaExportFactory(MediaExportFactory factory);

}  // namespace brightline::ui
