#include "editor/medium_kind.h"

#include <algorithm>

#include "common/paths.h"

namespace brightline {

const std::vector<std::string>& videoExtensions() {
    static const std::vector<std::string> extensions = {".AVI",  ".MP4", ".MOV", ".MKV",
                                                        ".WEBM", ".MPG", ".M4V"};
    return extensions;
}

MediumKind mediumKindOf(const std::string& path) {
    const std::string ext = extensionUpper(path);
    if (ext == ".BMP" || ext == ".JPG" || ext == ".PNG") return MediumKind::Picture;
    if (ext == ".SWF") return MediumKind::Flash;
    if (ext == ".ZRT") return MediumKind::TextPage;
    if (ext == ".TIM") return MediumKind::ClockPage;
    const auto& videos = videoExtensions();
    if (!ext.empty() && std::find(videos.begin(), videos.end(), ext) != videos.end())
        return MediumKind::Video;
    return MediumKind::None;
}

bool isClip(MediumKind kind) {
    return kind == MediumKind::Video || kind == MediumKind::Flash;
}

}  // namespace brightline
