#pragma once
// Draws a player's current frame with Cairo (anti-aliased) into a picture of any size: the
// movie's stage is stretched to fill the picture exactly, as a player whose scale mode is
// "exact fit" shows it.
#include <string>

#include "media/picture.h"
#include "media/swf/swf_player.h"

namespace brightline::swf {

struct RenderOptions {
    bool movieBackground = true;    // the movie's SetBackgroundColor (white when it has none)
    Rgba background{0, 0, 0, 255};  // used when movieBackground is false
};

// Draws the frame the player stands on into `out` (width x height, 0x00RRGGBB pixels). False
// with `error` set when the size is out of range or Cairo cannot draw; what the player could not
// draw is in its diagnostics.
bool renderFrame(Player& player, int width, int height, const RenderOptions& options,
                 media::Picture& out, std::string* error = nullptr);

}  // namespace brightline::swf
