#pragma once
// Where the engine writes its diagnostic lines ("could not open %s \n", "read failed\n", ...).
// The lines are the engine's own texts, written word for word; nothing here is shown to the
// operator. The host chooses the output: the command line prints it on standard error when asked
// (--verbose), the virtual sign on its standard output, tests collect it.
//
// write() may be called from the show player thread and every region thread at once; every
// implementation must be thread-safe.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace brightline::engine {

class DiagnosticOutput {
  public:
    virtual ~DiagnosticOutput() = default;
    virtual void write(const std::string& text) = 0;
};

// printf-style formatting into `out` (the texts are short; longer results are cut at 1 KiB).
void diagf(DiagnosticOutput& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Standard output, flushed after every line so the order with other output is kept.
class StdoutDiagnostics : public DiagnosticOutput {
  public:
    void write(const std::string& text) override;

  private:
    std::mutex mutex_;
};

// Keeps everything written, for tests.
class CollectingDiagnostics : public DiagnosticOutput {
  public:
    void write(const std::string& text) override;
    std::string text() const;
    // How often `fragment` occurs in what was written.
    int count(const std::string& fragment) const;

  private:
    mutable std::mutex mutex_;
    std::string text_;
};

// What the show player writes through: a line that was already written in the same tick or the
// tick before is not written again but counted, and the count follows as one line
// "repeated N times: <line>" once the line has missed a tick, every kSummaryTicks ticks while
// it goes on, and at flush(). So a diagnostic that recurs on every tick (a missing region script on
// a page that ends at once) is printed once with its count, while a line that comes back after a
// pause (each page's "All Region quit") is printed each time.
class RepeatFilter : public DiagnosticOutput {
  public:
    static constexpr uint64_t kSummaryTicks = 1500;  // a minute

    // `out` and `tick` (the show's tick counter) must outlive the filter.
    RepeatFilter(DiagnosticOutput& out, const std::atomic<uint64_t>& tick)
        : out_(out), tick_(tick) {}
    void write(const std::string& text) override;
    // Once per tick, after the tick counter moved: counts of lines that missed a tick are
    // written and those lines forgotten.
    void tick();
    // Writes every pending count (the show has ended).
    void flush();

  private:
    struct Seen {
        uint64_t lastTick = 0;
        uint64_t repeats = 0;
        uint64_t countedSince = 0;  // the tick of the line or of its last count
    };
    void writeCount(const std::string& text, uint64_t repeats);

    DiagnosticOutput& out_;
    const std::atomic<uint64_t>& tick_;
    std::mutex mutex_;
    std::map<std::string, Seen> seen_;
};

}  // namespace brightline::engine
