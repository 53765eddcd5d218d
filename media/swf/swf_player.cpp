#include "media/swf/swf_player.h"

#include <algorithm>

namespace brightline::swf {

DisplayObject::DisplayObject() = default;
DisplayObject::~DisplayObject() = default;
DisplayObject::DisplayObject(DisplayObject&&) noexcept = default;
DisplayObject& DisplayObject::operator=(DisplayObject&&) noexcept = default;

struct Player::Video {
    int definition = -1;
    VideoDecoder decoder;
    bool open = false;
};

namespace {

void clearFresh(Timeline& t) {
    for (auto& [depth, object] : t.objects) {
        object.fresh = false;
        if (object.sprite) clearFresh(*object.sprite);
    }
}

}  // namespace

Player::Player(const Movie& movie) : movie_(movie) {
    reset();
}

Player::~Player() = default;

void Player::diagnose(const std::string& line) {
    if (diagnosed_.insert(line).second) diagnostics_.push_back(line);
}

void Player::reset() {
    root_ = Timeline();
    root_.frames = &movie_.frames;
    dictionary_.clear();
    videos_.clear();
    background_ = Rgba{255, 255, 255, 255};
}

const Character* Player::character(uint16_t id) const {
    auto it = dictionary_.find(id);
    return it == dictionary_.end() ? nullptr : &movie_.definitions[size_t(it->second)];
}

const Image* Player::bitmap(uint16_t id) {
    auto it = dictionary_.find(id);
    if (it == dictionary_.end()) return nullptr;
    const int def = it->second;
    auto cached = bitmaps_.find(def);
    if (cached != bitmaps_.end()) return &cached->second;
    if (badBitmaps_.count(def)) return nullptr;
    const auto* b = std::get_if<BitmapDefinition>(&movie_.definitions[size_t(def)].body);
    if (!b) return nullptr;
    Image image;
    std::string error;
    if (!decodeBitmap(*b, movie_.jpegTables, image, error)) {
        badBitmaps_.insert(def);
        diagnose("bitmap " + std::to_string(id) + " is not drawn: " + error);
        return nullptr;
    }
    // Movies that define a new bitmap every frame without freeing the old ones would keep every
    // picture: past the budget the cache starts again.
    const size_t bytes = image.pixels.size() * sizeof(uint32_t);
    if (cachedBytes_ + bytes > kMaxCachedBitmapBytes) {
        bitmaps_.clear();
        cachedBytes_ = 0;
    }
    cachedBytes_ += bytes;
    return &bitmaps_.emplace(def, std::move(image)).first->second;
}

void Player::forgetBitmap(int definition) {
    auto it = bitmaps_.find(definition);
    if (it == bitmaps_.end()) return;
    cachedBytes_ -= it->second.pixels.size() * sizeof(uint32_t);
    bitmaps_.erase(it);
}

const Image* Player::videoImage(uint16_t streamId) const {
    auto it = videos_.find(streamId);
    if (it == videos_.end() || it->second->decoder.image().empty()) return nullptr;
    return &it->second->decoder.image();
}

void Player::gotoFrame(int frame) {
    const int count = frameCount();
    if (count <= 0) return;
    frame = std::clamp(frame, 0, count - 1);
    if (root_.current < 0 || frame < root_.current) {
        reset();
        objectBudget_ = kMaxDisplayObjects;
        runFrame(root_, 0, 0);
        clearFresh(root_);
        root_.current = 0;
    }
    while (root_.current < frame) nextFrame();
}

bool Player::nextFrame() {
    if (root_.current < 0) {
        gotoFrame(0);
        return root_.current == 0;
    }
    if (root_.current + 1 >= frameCount()) return false;
    objectBudget_ = kMaxDisplayObjects - countObjects(root_);
    const int next = root_.current + 1;
    runFrame(root_, next, 0);
    root_.current = next;
    advance(root_, 0);
    clearFresh(root_);
    return true;
}

int Player::countObjects(const Timeline& t) const {
    int n = 0;
    for (const auto& [depth, object] : t.objects) {
        ++n;
        if (object.sprite) n += countObjects(*object.sprite);
    }
    return n;
}

void Player::runFrame(Timeline& timeline, int frame, int nesting) {
    if (!timeline.frames || frame < 0 || size_t(frame) >= timeline.frames->size()) return;
    timeline.current = frame;
    for (const ControlTag& tag : (*timeline.frames)[size_t(frame)]) {
        if (const auto* p = std::get_if<PlaceObject>(&tag)) {
            place(timeline, *p, nesting);
        } else if (const auto* r = std::get_if<RemoveObject>(&tag)) {
            timeline.objects.erase(r->depth);
        } else if (const auto* d = std::get_if<DefineCharacter>(&tag)) {
            auto old = dictionary_.find(d->id);
            if (old != dictionary_.end()) {
                // A redefined bitmap is not drawn again: free its pixels.
                forgetBitmap(old->second);
                if (d->definition < 0) dictionary_.erase(old);
            }
            if (d->definition >= 0) dictionary_[d->id] = d->definition;
        } else if (const auto* v = std::get_if<VideoFrame>(&tag)) {
            decodeVideo(*v);
        } else if (const auto* bg = std::get_if<SetBackgroundColor>(&tag)) {
            background_ = bg->color;
            background_.a = 255;
        }
    }
}

void Player::decodeVideo(const VideoFrame& frame) {
    auto it = dictionary_.find(frame.streamId);
    if (it == dictionary_.end()) return;
    const auto* def =
        std::get_if<VideoStreamDefinition>(&movie_.definitions[size_t(it->second)].body);
    if (!def) return;
    std::unique_ptr<Video>& video = videos_[frame.streamId];
    if (!video || video->definition != it->second) {
        video = std::make_unique<Video>();
        video->definition = it->second;
        std::string error;
        video->open = video->decoder.open(*def, error);
        if (!video->open)
            diagnose("video " + std::to_string(frame.streamId) + " is not drawn: " + error);
    }
    if (!video->open) return;
    std::string error;
    if (!video->decoder.decode(frame.data.data(), frame.data.size(), error))
        diagnose("video " + std::to_string(frame.streamId) + ": " + error);
}

void Player::startSprite(DisplayObject& object, int nesting) {
    object.sprite.reset();
    const auto* sprite = std::get_if<Sprite>(&movie_.definitions[size_t(object.definition)].body);
    if (!sprite) return;
    if (nesting >= kMaxSpriteNesting) {
        diagnose("sprites nested deeper than " + std::to_string(kMaxSpriteNesting) +
                 " are not drawn");
        return;
    }
    object.sprite = std::make_unique<Timeline>();
    object.sprite->frames = &sprite->frames;
    runFrame(*object.sprite, 0, nesting + 1);
}

void Player::place(Timeline& timeline, const PlaceObject& p, int nesting) {
    auto it = timeline.objects.find(p.depth);
    if (!p.hasCharacter && (!p.move || it == timeline.objects.end())) return;
    int definition = -1;
    if (p.hasCharacter) {
        auto d = dictionary_.find(p.characterId);
        if (d == dictionary_.end()) {
            diagnose("character " + std::to_string(p.characterId) +
                     " is placed before it is defined");
            return;
        }
        definition = d->second;
        if (it == timeline.objects.end() || !p.move) {
            if (objectBudget_ <= 0) {
                diagnose("more than " + std::to_string(kMaxDisplayObjects) +
                         " objects on the stage: the rest are not drawn");
                return;
            }
            --objectBudget_;
            it = timeline.objects.insert_or_assign(p.depth, DisplayObject()).first;
        }
    }
    DisplayObject& o = it->second;
    if (p.hasMatrix) o.matrix = p.matrix;
    if (p.hasColorTransform) o.colorTransform = p.colorTransform;
    if (p.hasRatio) o.ratio = p.ratio;
    if (p.hasClipDepth) o.clipDepth = p.clipDepth;
    if (p.hasVisible) o.visible = p.visible;
    if (p.hasCharacter) {
        o.characterId = p.characterId;
        o.definition = definition;
        o.fresh = true;
        startSprite(o, nesting);
    }
}

void Player::advance(Timeline& timeline, int nesting) {
    for (auto& [depth, object] : timeline.objects) {
        if (!object.sprite || object.fresh) continue;
        Timeline& t = *object.sprite;
        const int frames = int(t.frames->size());
        if (frames > 1) {
            int next = t.current + 1;
            if (next >= frames) {
                t.objects.clear();
                next = 0;
            }
            runFrame(t, next, nesting + 1);
        }
        advance(t, nesting + 1);
    }
}

}  // namespace brightline::swf
