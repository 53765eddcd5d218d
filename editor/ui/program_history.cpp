#include "editor/ui/program_history.h"

namespace brightline::ui {

namespace {

class ProgramStep : public QUndoCommand {
  public:
    ProgramStep(ProgramHistory& history, const QString& what, int id, std::vector<uint8_t> before,
                std::vector<uint8_t> after)
        : QUndoCommand(what),
          history_(history),
          id_(id),
          before_(std::move(before)),
          after_(std::move(after)) {}

    int id() const override { return id_; }
    bool mergeWith(const QUndoCommand* other) override {
        if (other->id() != id_ || id_ == ProgramHistory::kNoMerge) return false;
        after_ = static_cast<const ProgramStep*>(other)->after_;
        setObsolete(before_ == after_);  // typed back to where it was: no step
        return true;
    }
    void undo() override { history_.restore(before_); }
    void redo() override {
        // The edit itself has happened when the step is pushed.
        if (first_) {
            first_ = false;
            return;
        }
        history_.restore(after_);
    }

  private:
    ProgramHistory& history_;
    int id_;
    std::vector<uint8_t> before_;
    std::vector<uint8_t> after_;
    bool first_ = true;
};

}  // namespace

ProgramHistory::ProgramHistory(ProgramData& program, std::function<bool()> save, QObject* parent)
    : QObject(parent), program_(program), save_(std::move(save)) {
    reset();
}

void ProgramHistory::reset() {
    stack_.clear();
    current_ = encodeProgram(program_);
    unsaved_ = false;
}

void ProgramHistory::commit(const QString& what, bool save, int mergeId) {
    std::vector<uint8_t> now = encodeProgram(program_);
    if (now != current_) {
        stack_.push(new ProgramStep(*this, what, mergeId, current_, now));
        current_ = std::move(now);
        if (!save) unsaved_ = true;
    }
    if (save && save_) save_();
}

void ProgramHistory::restore(const std::vector<uint8_t>& bytes) {
    ProgramData stored;
    stored.needsMake = program_.needsMake;
    if (decodeProgram(bytes.data(), bytes.size(), stored) != ProgramLoadResult::Loaded) return;
    program_ = std::move(stored);
    current_ = bytes;
    if (save_) save_();
    emit restored();
}

}  // namespace brightline::ui
