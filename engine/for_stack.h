#pragma once
// The loop frames of one interpreter (the show script's, or one region's): FOR n pushes a frame
// that runs the body n times (0 and 1 both run it once); END jumps back or pops.
#include <cstddef>
#include <optional>
#include <vector>

namespace brightline::engine {

class ForStack {
  public:
    // A FOR is refused once this many frames are open (the 40th nested FOR).
    static constexpr int kMaxOpen = 39;

    // Opens a loop of `count` passes resuming at `resume`; false (nothing pushed) when full.
    bool push(int count, size_t resume);
    // END: the position to jump back to, or nullopt when the loop is done (its frame is popped)
    // or no loop is open (a stray END).
    std::optional<size_t> end();
    void clear() { frames_.clear(); }
    int open() const { return static_cast<int>(frames_.size()); }

  private:
    struct Frame {
        bool active;
        int remaining;
        size_t resume;
    };
    std::vector<Frame> frames_;
};

}  // namespace brightline::engine
