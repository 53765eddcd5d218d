#include "engine/fiber.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRIGHTLINE_FIBER_ASAN 1
#endif
#if __has_feature(thread_sanitizer)
#define BRIGHTLINE_FIBER_TSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define BRIGHTLINE_FIBER_ASAN 1
#endif
#if defined(__SANITIZE_THREAD__)
#define BRIGHTLINE_FIBER_TSAN 1
#endif

#ifdef BRIGHTLINE_FIBER_ASAN
#include <sanitizer/common_interface_defs.h>
#endif
#ifdef BRIGHTLINE_FIBER_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace brightline::engine {
namespace {

// The fiber being started by resume(): makecontext passes only ints, so entry() finds it here.
thread_local Fiber* starting = nullptr;

size_t pageSize() {
    static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

}  // namespace

struct Fiber::Context {
    ucontext_t host{};
    ucontext_t own{};
    void* mapping = nullptr;  // guard page, then the stack
    size_t mappingBytes = 0;
    char* stack = nullptr;
    // The sanitizers' view of the two stacks.
    const void* hostStack = nullptr;
    size_t hostStackBytes = 0;
    void* hostFakeStack = nullptr;
    void* ownFakeStack = nullptr;
    void* hostTsan = nullptr;
    void* ownTsan = nullptr;
};

Fiber::Fiber(std::function<void()> body) : body_(std::move(body)), context_(new Context) {
    Context& c = *context_;
    c.mappingBytes = kStackBytes + pageSize();
    c.mapping = mmap(nullptr, c.mappingBytes, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (c.mapping == MAP_FAILED) throw std::bad_alloc();
    // A stack overflow faults on the guard page instead of writing over other memory.
    mprotect(c.mapping, pageSize(), PROT_NONE);
    c.stack = static_cast<char*>(c.mapping) + pageSize();
    if (getcontext(&c.own) != 0) {
        munmap(c.mapping, c.mappingBytes);
        throw std::bad_alloc();
    }
    c.own.uc_stack.ss_sp = c.stack;
    c.own.uc_stack.ss_size = kStackBytes;
    c.own.uc_link = nullptr;
    makecontext(&c.own, &Fiber::entry, 0);
#ifdef BRIGHTLINE_FIBER_TSAN
    c.ownTsan = __tsan_create_fiber(0);
#endif
}

Fiber::~Fiber() {
#ifdef BRIGHTLINE_FIBER_TSAN
    if (context_->ownTsan) __tsan_destroy_fiber(context_->ownTsan);
#endif
    munmap(context_->mapping, context_->mappingBytes);
}

void Fiber::entry() {
    Fiber* self = starting;
    starting = nullptr;
    Context& c = *self->context_;
#ifdef BRIGHTLINE_FIBER_ASAN
    __sanitizer_finish_switch_fiber(nullptr, &c.hostStack, &c.hostStackBytes);
#endif
    (void)c;
    try {
        self->body_();
    } catch (...) {
        std::terminate();
    }
    self->switchOut(true);
    std::abort();  // a finished fiber is never resumed
}

void Fiber::resume() {
    if (finished_ || running_) return;
    Context& c = *context_;
    running_ = true;
    starting = this;
#ifdef BRIGHTLINE_FIBER_ASAN
    __sanitizer_start_switch_fiber(&c.hostFakeStack, c.stack, kStackBytes);
#endif
#ifdef BRIGHTLINE_FIBER_TSAN
    c.hostTsan = __tsan_get_current_fiber();
    __tsan_switch_to_fiber(c.ownTsan, 0);
#endif
    swapcontext(&c.host, &c.own);
#ifdef BRIGHTLINE_FIBER_ASAN
    __sanitizer_finish_switch_fiber(c.hostFakeStack, nullptr, nullptr);
#endif
    running_ = false;
}

void Fiber::yield() {
    if (!running_) return;
    switchOut(false);
}

void Fiber::switchOut(bool ending) {
    Context& c = *context_;
    if (ending) finished_ = true;
#ifdef BRIGHTLINE_FIBER_ASAN
    // Leaving for the last time: the fiber's fake stack is freed.
    __sanitizer_start_switch_fiber(ending ? nullptr : &c.ownFakeStack, c.hostStack,
                                   c.hostStackBytes);
#endif
#ifdef BRIGHTLINE_FIBER_TSAN
    __tsan_switch_to_fiber(c.hostTsan, 0);
#endif
    swapcontext(&c.own, &c.host);
    // Resumed again.
#ifdef BRIGHTLINE_FIBER_ASAN
    __sanitizer_finish_switch_fiber(c.ownFakeStack, &c.hostStack, &c.hostStackBytes);
#endif
}

}  // namespace brightline::engine
