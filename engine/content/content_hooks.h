#pragma once
// The show engine's content layer: what the region commands draw. Pictures go through the codec
// layer (BMP, JPG, PNG from the workspace folder, DSN from the DSN folder), text pages (".htm",
// ".ztx") and clock pages (".tim") are drawn with the bitmap fonts, double-byte characters of
// HTML pages with a scalable CJK face, and clips (".zvi") are played with the entry and exit
// effects. The desktop preview, the virtual sign and the CLI's play all use it.
//
// Fonts: "zhzk16.bin" and "ezfon.bin" are loaded on first use from "<start folder>/fonts/", else
// "<program folder>/fonts/"; the show's FONT file is added after them.
//
// One ContentHooks serves one show at a time; its members are called on the region threads
// (and loadFont on the show player thread before the regions start) and are safe to call
// concurrently.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>

#include "engine/clock/clock_page.h"
#include "engine/clock/utc_clock.h"
#include "engine/content/cjk_face.h"
#include "engine/fonts/font_table.h"
#include "engine/media_hooks.h"

namespace brightline::content {

// The sign's temperature sensor: the reading in degrees Celsius, nullopt when there is none.
// Called on region threads, once per clock tick of a page that shows the temperature.
using TemperatureSource = std::function<std::optional<int>()>;

struct ContentSettings {
    std::string startFolder;    // empty: the current directory
    std::string programFolder;  // empty: the running executable's folder
    std::string dsnFolder;      // empty: media::dsnFolder() ("/mnt/dsn/" unless overridden)
    std::string cjkFacePath = kDefaultCjkFacePath;
    // Where clock pages take universal time from; null: the machine's clock.
    std::shared_ptr<const UtcClock> clock;
    // Null: no reading, clock pages show "##".
    TemperatureSource temperature;
};

class ContentHooks : public engine::MediaHooks {
  public:
    explicit ContentHooks(ContentSettings settings);

    void loadPicture(engine::PictureKind kind, const std::string& name,
                     engine::RegionContext& ctx) override;
    void loadTextPage(engine::TextPageKind kind, const std::string& name,
                      engine::RegionContext& ctx) override;
    bool loadClockPage(const std::string& name, engine::RegionContext& ctx) override;
    bool clockTick(engine::RegionContext& ctx) override;
    void playClip(const engine::ClipCommand& clip, engine::RegionContext& ctx) override;
    void loadFont(const std::string& path, engine::DiagnosticOutput& diag) override;

    // How many fonts are loaded (loads the built-in ones when not done yet).
    int fontCount(engine::DiagnosticOutput& diag);

  private:
    void ensureBuiltInFonts(engine::DiagnosticOutput& diag);
    int loadBuiltInLocked(engine::DiagnosticOutput& diag);

    const ContentSettings settings_;
    std::shared_ptr<const UtcClock> clock_;
    CjkFace face_;

    std::shared_mutex fontsMutex_;  // exclusive while loading, shared while drawing
    FontTable fonts_;
    bool builtInLoaded_ = false;
};

// What the hosts call: a content layer for a show.
std::unique_ptr<engine::MediaHooks> makeContentHooks(ContentSettings settings = ContentSettings());

}  // namespace brightline::content
