#pragma once
// Undo and redo for the text page editor. Before each edit the document's content, current
// style, caret and selection are kept as a snapshot (a page copies cheaply: picture bits are
// shared); undo brings the snapshot back and keeps the present state for redo.
//
// Typing that goes on where the last typing ended joins that step, so one undo takes back a run
// of typed text. The state in which the document was last saved or loaded is the clean one:
// undoing or redoing back to it clears the modified mark, any other state sets it.
//
// At most `maxSteps` steps, and steps of at most `maxBytes` together (counting the text, widths,
// runs, lines and tables they copy; picture bits are shared and not counted), are kept: the
// oldest go first, but the last edit can always be undone. One thread owns a history, the same
// that owns the document.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "pageeditor/text_document.h"

namespace brightline::pageeditor {

enum class EditKind { Typing, Other };

class EditHistory {
  public:
    explicit EditHistory(size_t maxSteps = 1000, size_t maxBytes = size_t(64) << 20)
        : maxSteps_(maxSteps == 0 ? 1 : maxSteps), maxBytes_(maxBytes) {}

    // Runs `change` (which edits `document`) as one step. A change that does not change the
    // document (its revision stays) records nothing.
    template <class Change>
    void edit(TextDocument& document, EditKind kind, Change&& change) {
        State before = stateOf(document);
        const uint64_t revision = document.revision();
        change();
        if (document.revision() != revision) record(std::move(before), kind, document);
    }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // Takes the document back one step (false when there is none) and sets the modified mark
    // by the clean state.
    bool undo(TextDocument& document);
    bool redo(TextDocument& document);

    // After New or Open: nothing to undo or redo, and the present state is clean.
    void clear();
    // After a save: the present state is clean.
    void markClean();
    bool isClean() const { return cleanDepth_ == static_cast<std::ptrdiff_t>(undo_.size()); }

  private:
    struct State {
        TextPage page;
        CurrentStyle style;
        int32_t caret = 0;
        int32_t selectionStart = -1;
        int32_t selectionEnd = -1;
    };
    struct Step {
        State before;
        EditKind kind = EditKind::Other;
        int32_t caretAfter = 0;
        size_t bytes = 0;  // what `before` holds of its own
    };
    static Step stepOf(State before, EditKind kind, int32_t caretAfter);

    static State stateOf(const TextDocument& document);
    void apply(TextDocument& document, State state) const;
    void record(State before, EditKind kind, const TextDocument& document);
    // Undo (from undo to redo) or redo (the other way): the present state goes to `to`, the
    // last state of `from` is brought back.
    bool travel(std::deque<Step>& from, std::deque<Step>& to, TextDocument& document);

    size_t maxSteps_;
    size_t maxBytes_;
    size_t bytes_ = 0;  // of the steps on both stacks
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    // Undo steps at the clean state; -1 when it can no longer be reached.
    std::ptrdiff_t cleanDepth_ = 0;
};

}  // namespace brightline::pageeditor
