#pragma once
// What kind of medium an element's path names, from its upper-cased extension (either path
// separator, any letter case): the one answer the script maker, the drop rules, the thumbnails
// and the editors' opener share.
//
// Video clips are ".AVI" and the containers FFmpeg reads as video today (".MP4", ".MOV",
// ".MKV", ".WEBM", ".MPG", ".M4V"); all of them are made into ZVI clips the same way.
#include <string>
#include <vector>

namespace brightline {

enum class MediumKind {
    None,       // empty path or an extension of no kind below
    Picture,    // ".BMP", ".JPG", ".PNG"
    Video,      // ".AVI" and the video containers above
    Flash,      // ".SWF"
    TextPage,   // ".ZRT"
    ClockPage,  // ".TIM"
};

MediumKind mediumKindOf(const std::string& path);

// The video extensions, upper case with their dot, ".AVI" first.
const std::vector<std::string>& videoExtensions();

// A clip (video or Flash) plays for its own length: dropped as a background it holds 0 seconds.
bool isClip(MediumKind kind);

}  // namespace brightline
