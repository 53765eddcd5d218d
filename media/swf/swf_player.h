#pragma once
// Plays a movie frame by frame: the display list of the main timeline and of every sprite
// instance, the live dictionary of characters, decoded bitmaps and video pictures.
//
// Stepping is deterministic: each step runs the main timeline's next frame and moves every
// sprite that was already on the stage one frame on (sprites loop; the main timeline stops at
// its last frame). Actions are not run. One owner, one thread.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/swf/swf_movie.h"

namespace brightline::swf {

// Sprites inside sprites deeper than this are not instantiated (a sprite may place itself).
inline constexpr int kMaxSpriteNesting = 16;
// At most this many objects are on the stage at once, sprites' contents included.
inline constexpr int kMaxDisplayObjects = 100000;
// Decoded bitmaps are kept up to this many bytes.
inline constexpr size_t kMaxCachedBitmapBytes = size_t(256) << 20;

struct Timeline;

struct DisplayObject {
    DisplayObject();
    ~DisplayObject();
    DisplayObject(DisplayObject&&) noexcept;
    DisplayObject& operator=(DisplayObject&&) noexcept;

    uint16_t characterId = 0;
    int definition = -1;  // index into the movie's definitions
    Matrix matrix;
    ColorTransform colorTransform;
    uint16_t ratio = 0;
    uint16_t clipDepth = 0;
    bool visible = true;
    std::unique_ptr<Timeline> sprite;  // a sprite instance's own timeline
    bool fresh = false;                // placed during the current step
};

struct Timeline {
    const std::vector<Frame>* frames = nullptr;
    int current = -1;
    std::map<uint16_t, DisplayObject> objects;  // by depth, drawn from the lowest
};

class Player {
  public:
    // `movie` must outlive the player. The player stands before the first frame: call
    // gotoFrame(0).
    explicit Player(const Movie& movie);
    ~Player();

    const Movie& movie() const { return movie_; }
    int frameCount() const { return movie_.frameCount(); }
    int currentFrame() const { return root_.current; }

    // Goes to `frame` (clamped to the movie's frames); going back replays from frame 0.
    void gotoFrame(int frame);
    // The next frame; at the last frame nothing changes. False there.
    bool nextFrame();

    const Timeline& root() const { return root_; }
    Rgba backgroundColor() const { return background_; }

    // The definition an id names now, or null.
    const Character* character(uint16_t id) const;
    // The decoded pixels of the bitmap an id names now; null (with a diagnostic) when it is no
    // bitmap or cannot be decoded. Valid until the next call or the next step.
    const Image* bitmap(uint16_t id);
    // The newest picture of a video stream, or null before its first decoded frame.
    const Image* videoImage(uint16_t streamId) const;

    // What could not be drawn, one line each, in the order met (repeats are dropped).
    const std::vector<std::string>& diagnostics() const { return diagnostics_; }
    void diagnose(const std::string& line);

  private:
    void reset();
    void runFrame(Timeline& timeline, int frame, int nesting);
    void advance(Timeline& timeline, int nesting);
    void place(Timeline& timeline, const PlaceObject& p, int nesting);
    void startSprite(DisplayObject& object, int nesting);
    void decodeVideo(const VideoFrame& frame);
    void forgetBitmap(int definition);
    int countObjects(const Timeline& timeline) const;

    const Movie& movie_;
    Timeline root_;
    std::unordered_map<uint16_t, int> dictionary_;  // id -> definition index
    std::unordered_map<int, Image> bitmaps_;        // definition index -> pixels
    size_t cachedBytes_ = 0;
    std::set<int> badBitmaps_;
    struct Video;
    std::map<uint16_t, std::unique_ptr<Video>> videos_;
    Rgba background_{255, 255, 255, 255};
    int objectBudget_ = kMaxDisplayObjects;
    std::vector<std::string> diagnostics_;
    std::set<std::string> diagnosed_;
};

}  // namespace brightline::swf
