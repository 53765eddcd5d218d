#pragma once
// A fiber: a function run on a stack of its own, resumed by one host thread and yielding back
// to it. The stepped show plays every region of a page this way on the player's thread, so a
// tick costs two stack switches per region instead of two thread hand-offs.
//
// Thread affinity: a fiber is created, resumed and destroyed on one thread; yield() is called
// only from inside the fiber's own function. Fibers do not nest (a fiber never resumes another).
// The function must not let an exception escape (one that does ends the process, as it would on
// a thread of its own).
//
// Destroying a fiber whose function has not returned frees its stack without unwinding it: the
// owner drives it to its end first (the show player stops the region and resumes it until it has
// finished).
#include <cstddef>
#include <functional>
#include <memory>

namespace brightline::engine {

class Fiber {
  public:
    // Room for a region's deepest call chain (picture decoders, text layout) with sanitizers;
    // pages are committed only when touched.
    static constexpr size_t kStackBytes = 8u << 20;

    // Reserves the stack; the function starts on the first resume(). Throws std::bad_alloc
    // when no stack can be mapped.
    explicit Fiber(std::function<void()> body);
    ~Fiber();
    Fiber(const Fiber&) = delete;
    Fiber& operator=(const Fiber&) = delete;

    // Runs the fiber until it yields or its function returns. Nothing when it has returned.
    void resume();
    // From inside the fiber: back to the thread that resumed it.
    void yield();
    bool finished() const { return finished_; }

  private:
    struct Context;
    static void entry();
    void switchOut(bool ending);

    std::function<void()> body_;
    std::unique_ptr<Context> context_;
    bool finished_ = false;
    bool running_ = false;
};

}  // namespace brightline::engine
