#include "pageeditor/edit_history.h"

#include <utility>

namespace brightline::pageeditor {

EditHistory::State EditHistory::stateOf(const TextDocument& document) {
    State s;
    s.page = document.page();
    s.style = document.currentStyle();
    s.caret = document.caret();
    s.selectionStart = document.selectionStart();
    s.selectionEnd = document.selectionEnd();
    return s;
}

EditHistory::Step EditHistory::stepOf(State before, EditKind kind, int32_t caretAfter) {
    const TextPage& p = before.page;
    const size_t bytes = sizeof(Step) + p.text.size() + p.widths.size() +
                         p.runs.size() * sizeof(StyleRun) + p.lines.size() * sizeof(LineEntry) +
                         p.fonts.size() * sizeof(FontEntry) +
                         p.pictures.size() * sizeof(PictureEntry);
    return Step{std::move(before), kind, caretAfter, bytes};
}

void EditHistory::apply(TextDocument& document, State state) const {
    document.restore(std::move(state.page));
    document.setCurrentStyle(state.style);
    document.clearSelection();
    if (state.selectionStart >= 0) document.select(state.selectionStart, state.selectionEnd);
    document.setCaret(state.caret);
    document.setModified(!isClean());
}

void EditHistory::record(State before, EditKind kind, const TextDocument& document) {
    for (const Step& step : redo_) bytes_ -= step.bytes;
    redo_.clear();
    if (cleanDepth_ > static_cast<std::ptrdiff_t>(undo_.size())) cleanDepth_ = -1;
    const bool joins =
        kind == EditKind::Typing && !undo_.empty() && undo_.back().kind == EditKind::Typing &&
        undo_.back().caretAfter == before.caret && before.selectionStart < 0 && !isClean();
    if (joins) {
        undo_.back().caretAfter = document.caret();
        return;
    }
    undo_.push_back(stepOf(std::move(before), kind, document.caret()));
    bytes_ += undo_.back().bytes;
    while (undo_.size() > 1 && (undo_.size() > maxSteps_ || bytes_ > maxBytes_)) {
        bytes_ -= undo_.front().bytes;
        undo_.pop_front();
        cleanDepth_ = cleanDepth_ > 0 ? cleanDepth_ - 1 : -1;
    }
}

bool EditHistory::travel(std::deque<Step>& from, std::deque<Step>& to, TextDocument& document) {
    if (from.empty()) return false;
    Step step = std::move(from.back());
    from.pop_back();
    bytes_ -= step.bytes;
    to.push_back(stepOf(stateOf(document), step.kind, step.caretAfter));
    bytes_ += to.back().bytes;
    // The clean state is counted in undo steps, so the undo stack must be right before applying.
    apply(document, std::move(step.before));
    return true;
}

bool EditHistory::undo(TextDocument& document) {
    return travel(undo_, redo_, document);
}

bool EditHistory::redo(TextDocument& document) {
    return travel(redo_, undo_, document);
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    cleanDepth_ = 0;
}

void EditHistory::markClean() {
    cleanDepth_ = static_cast<std::ptrdiff_t>(undo_.size());
}

}  // namespace brightline::pageeditor
