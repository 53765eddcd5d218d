#pragma once
// One entry of the slot table: slot 0 is the screen, slots 1..9 the regions of the page playing
// (a page uses at most 8). Geometry and buffers are written by the show player while no region
// thread of the page runs; the flags are shared between the player and the region's thread.
#include <atomic>
#include <cstdint>

namespace brightline::engine {

struct RegionSlot {
    int regionNumber = 0;
    // Screen pixels, top-left corner; clipped to the screen.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // width x height x 4: the size of each of the three buffers.
    uint32_t bufferSize = 0;
    // 0x00RRGGBB pixels, row-major, top row first; owned by the PixelArena.
    uint32_t* display = nullptr;  // what composition reads and effects write
    uint32_t* page = nullptr;     // page 0 of the region's page list
    uint32_t* work = nullptr;     // scratch (effect masks)

    // Set by the player, polled by the region.
    std::atomic<bool> quitRequest{false};  // end the script at the next command
    std::atomic<bool> stop{false};         // leave every effect and wait at once
    // Set by the region, polled (and `changed` cleared) by the player.
    std::atomic<bool> finished{false};      // the region thread has ended
    std::atomic<bool> passComplete{false};  // the script has run through once
    std::atomic<bool> changed{false};       // display changed since the last composition
    std::atomic<int> windowType{1};         // copied from the region when marked changed
    // SIGNAL raises `signalRaised`; the player publishes it into `signal` at the end of the tick
    // (so whether a WAIT in another region sees it does not depend on thread timing); a WAIT
    // that finds `signal` raised lowers it.
    std::atomic<bool> signalRaised{false};
    std::atomic<bool> signal{false};
};

}  // namespace brightline::engine
