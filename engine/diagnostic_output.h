#pragma once
// Where the engine writes its diagnostic lines ("could not open %s \n", "read failed\n", ...).
// The lines are the engine's own texts, written word for word; nothing here is shown to the
// operator. The host chooses the output: the CLI prints it on standard output, tests collect it.
//
// write() may be called from the show player thread and every region thread at once; every
// implementation must be thread-safe.
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

}  // namespace brightline::engine
