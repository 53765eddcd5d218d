#include "editor/ui/media_export_factory.h"

#include <mutex>

#include "editor/workspace_media_export.h"
#include "media/jpeg_quality.h"

namespace brightline::ui {

namespace {

MediaExportFactory& factoryOverride() {
    static MediaExportFactory factory;
    return factory;
}

std::mutex factoryMutex;

}  // namespace

std::unique_ptr<MediaExport> createMediaExport(bool grey) {
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        if (factoryOverride()) return factoryOverride()(grey);
    }
    return std::make_unique<WorkspaceMediaExport>(grey, media::configuredJpegQuality());
}

void setMediaExportFactory(MediaExportFactory factory) {
    std::lock_guard<std::mutex> lock(factoryMutex);
    factoryOverride() = std::move(factory);
}

}  // namespace brightline::ui
