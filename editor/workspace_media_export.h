#pragma once
// The media export Make uses: pictures decoded with the engine's codecs, stretched to the area
// with libswscale, turned grey in the sign's grey mode and written as PNG or JPEG; video clips,
// Flash movies and text pages converted to ZVI clips.
#include <string>

#include "editor/media_export.h"

namespace brightline {

class WorkspaceMediaExport : public MediaExport {
  public:
    // `grey`: the profile's grey mode (greyMode()); `jpegQuality` 1..100 ("jpg.ini").
    WorkspaceMediaExport(bool grey, int jpegQuality);

    // Settings from the process's profile and "jpg.ini" in the program folder.
    static WorkspaceMediaExport fromSettings();

    // Each call decodes, scales and encodes with state of its own.
    bool concurrent() const override { return true; }

    bool exportPicture(const std::string& source, const std::string& target, int width, int height,
                       std::string& error) override;
    int convertVideo(const std::string& source, const std::string& target, int width, int height,
                     const std::atomic<bool>& cancel, const ConversionProgress& progress,
                     std::string& error) override;
    // Flash movies are drawn at width x height; what the renderer could not draw is written to
    // standard error, one line each, after the source path.
    int convertFlash(const std::string& source, const std::string& target, int width, int height,
                     const std::atomic<bool>& cancel, const ConversionProgress& progress,
                     std::string& error) override;
    int convertTextPage(const std::string& source, const std::string& target,
                        std::string& error) override;

  private:
    bool grey_;
    int jpegQuality_;
};

}  // namespace brightline
