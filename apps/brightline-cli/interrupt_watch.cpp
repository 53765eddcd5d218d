#include "apps/brightline-cli/interrupt_watch.h"

#include <atomic>
#include <csignal>

namespace brightline::cli {
namespace {

std::atomic<bool> gInterrupted{false};

extern "C" void onInterrupt(int) {
    gInterrupted.store(true);
}

}  // namespace

InterruptWatch::InterruptWatch() {
    gInterrupted.store(false);
    oldInt_ = std::signal(SIGINT, onInterrupt);
    oldTerm_ = std::signal(SIGTERM, onInterrupt);
}

InterruptWatch::~InterruptWatch() {
    std::signal(SIGINT, oldInt_);
    std::signal(SIGTERM, oldTerm_);
}

bool InterruptWatch::interrupted() const {
    return gInterrupted.load();
}

}  // namespace brightline::cli
