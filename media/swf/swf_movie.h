#pragma once
// A Flash movie read from memory: the header, every character it defines and the control tags
// of each frame of the main timeline and of each sprite.
//
// Characters are defined in timeline order and may be defined again under the same id (a movie
// made of JPEG frames redefines one bitmap every frame), so a definition is itself a control tag
// of the frame it appears in: the player keeps the live dictionary as it plays.
//
// The reader never reads past the data it is given. A damaged definition is left out and named
// in `problems`; a tag cut short ends the movie there, keeping the frames before it.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "media/swf/swf_bitmap.h"
#include "media/swf/swf_shape.h"
#include "media/swf/swf_text.h"
#include "media/swf/swf_video.h"

namespace brightline::swf {

// Uncompressed movies larger than this are read only up to it.
inline constexpr size_t kMaxMovieBytes = size_t(256) << 20;

struct PlaceObject {
    uint16_t depth = 0;
    bool move = false;  // changes the object at `depth` instead of placing a new one
    bool hasCharacter = false;
    uint16_t characterId = 0;
    bool hasMatrix = false;
    Matrix matrix;
    bool hasColorTransform = false;
    ColorTransform colorTransform;
    bool hasRatio = false;
    uint16_t ratio = 0;
    bool hasClipDepth = false;
    uint16_t clipDepth = 0;  // the object masks the depths above it up to this one
    bool hasVisible = false;
    bool visible = true;
};

struct RemoveObject {
    uint16_t depth = 0;
};

// Binds `id` to movie.definitions[definition]; definition -1 frees the id (FreeCharacter).
struct DefineCharacter {
    uint16_t id = 0;
    int definition = -1;
};

struct VideoFrame {
    uint16_t streamId = 0;
    uint16_t frameNumber = 0;
    std::vector<uint8_t> data;
};

struct SetBackgroundColor {
    Rgba color;
};

using ControlTag =
    std::variant<PlaceObject, RemoveObject, DefineCharacter, VideoFrame, SetBackgroundColor>;
using Frame = std::vector<ControlTag>;

struct Sprite {
    std::vector<Frame> frames;
};

using CharacterBody =
    std::variant<Shape, BitmapDefinition, Font, Text, Sprite, VideoStreamDefinition, MorphShape>;

struct Character {
    uint16_t id = 0;
    int tagCode = 0;
    CharacterBody body;
};

struct Movie {
    int version = 0;
    bool compressed = false;  // "CWS"
    Rect frameSize;           // the stage, twips
    double frameRate = 0;     // frames a second
    int headerFrameCount = 0;
    std::vector<Character> definitions;
    std::vector<Frame> frames;               // the main timeline, one entry per ShowFrame
    std::vector<uint8_t> jpegTables;         // for DefineBits
    std::map<int, int> tagCounts;            // tag code -> how often it was met (sprites included)
    std::set<std::string> featuresNotDrawn;  // e.g. "filters", "blend modes"
    std::vector<std::string> problems;       // damage met, in file order

    // The frames a player steps through: the header's count, or the frames the file really
    // holds when it holds fewer (or the header says 0).
    int frameCount() const;
    int widthPixels() const;  // the stage size rounded to whole pixels, at least 1
    int heightPixels() const;
};

// True when the data starts like a movie: "FWS", "CWS" or "ZWS" and a version byte.
bool looksLikeMovie(const uint8_t* data, size_t size);

// Reads a movie. False with `error` set only when there is no movie to play (not a movie, an
// LZMA-compressed one, a header cut short); damage further on lands in `out.problems`.
bool parseMovie(const uint8_t* data, size_t size, Movie& out, std::string& error);

// parseMovie on the file at `path`.
bool loadMovie(const std::string& path, Movie& out, std::string& error);

}  // namespace brightline::swf
