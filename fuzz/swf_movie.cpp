// Flash movies from arbitrary bytes: the reader keeps within the data, and the first frames play
// and draw (bitmaps and video decoded, sprites stepped) without crashing.
#include <cstdlib>

#include "media/swf/swf_renderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline::swf;
    Movie movie;
    std::string error;
    if (!parseMovie(data, size, movie, error)) return 0;
    Player player(movie);
    if (player.frameCount() <= 0) return 0;
    player.gotoFrame(0);
    for (int i = 0; i < 4; ++i) {
        brightline::media::Picture picture;
        if (renderFrame(player, 32, 24, RenderOptions(), picture) &&
            picture.pixels.size() != size_t(32 * 24))
            std::abort();
        if (!player.nextFrame()) break;
    }
    return 0;
}
