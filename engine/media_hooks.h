#pragma once
// What the region commands that read media call: pictures (JPG, BMP, PNG, DSN), text pages
// (HTML, ZTXT), clock pages (TIME and STOP in clock mode), clips (ZAVI) and the show script's
// FONT. The engine owns one MediaHooks for a show and calls it on the region threads (and on the
// show player thread for FONT), so implementations must be safe to call from several threads.
//
// This class is the engine's own set: PNG pictures are decoded; the other kinds print a
// "... not supported yet" line and leave the region as it is. Codec, text, clock and clip
// layers derive from it and override what they provide.
#include <string>

namespace brightline::engine {

struct RegionContext;
class DiagnosticOutput;

enum class PictureKind { Jpg, Bmp, Png, Dsn };
enum class TextPageKind { Html, Ztx };

struct ClipCommand {
    std::string name;  // without ".zvi"
    int frames = 0;
    int speed = 0;
    std::string entryEffect;
    std::string exitEffect;
    int hold = 0;  // seconds
};

class MediaHooks {
  public:
    virtual ~MediaHooks() = default;

    // Loads picture `name` (the script's word, without extension) into page 0 of the region and
    // makes it the current source page.
    virtual void loadPicture(PictureKind kind, const std::string& name, RegionContext& ctx);
    virtual void loadTextPage(TextPageKind kind, const std::string& name, RegionContext& ctx);
    // True when the clock page was loaded and the region goes into clock mode 1.
    virtual bool loadClockPage(const std::string& name, RegionContext& ctx);
    // One tick of a STOP in clock mode 1: redraws the clock page and performs one show step.
    // False when the region was stopped. The engine's own version only waits the tick.
    virtual bool clockTick(RegionContext& ctx);
    virtual void playClip(const ClipCommand& clip, RegionContext& ctx);
    // The show script's FONT: `path` is the font file in the workspace folder.
    virtual void loadFont(const std::string& path, DiagnosticOutput& diag);
};

// The file name a media command opens: `name` + `extension`, lower-cased (A-Z only).
std::string mediaFileName(const std::string& name, const char* extension);

// Fills page 0 of the region from the PNG picture `name` (".png" added): page cleared to black
// first, the picture placed at the top-left corner and cut to the region. A missing or broken
// file leaves the black page.
void loadPngPicture(const std::string& name, RegionContext& ctx);

}  // namespace brightline::engine
