#pragma once
// Undo and redo for every edit of the program: one QUndoStack per program frame. After each edit
// the view that made it calls commit(); the history keeps the program as stored before and after
// (the program file's own bytes), so undo and redo give back the program exactly, and the
// file, which each undo and redo saves, byte for byte.
//
// Edits that the program saves at once (drops, deletes, speed, delay, bar resizes) save in
// commit(); the others (area formats, dividing lines, the sign size) leave the file alone as
// they always did, and are remembered as unsaved until the file is next written (the frame
// asks before it closes with them). Changes the program gets outside an edit (Make's background
// hold of 0) are not steps of their own: the next step's undo returns to the program as the
// previous step left it. User interface thread only.
#include <QObject>
#include <QUndoStack>
#include <cstdint>
#include <functional>
#include <vector>

#include "editor/program_data.h"

namespace brightline::ui {

class ProgramHistory : public QObject {
    Q_OBJECT
  public:
    // Merged steps: consecutive edits of the same id become one (typing a size).
    enum MergeId { kNoMerge = -1, kSignSizeEdit = 1 };

    // `program` is borrowed; `save` writes it to its file and says whether that worked.
    ProgramHistory(ProgramData& program, std::function<bool()> save, QObject* parent = nullptr);

    QUndoStack* stack() { return &stack_; }
    // The program as it is now is where the history starts (after opening it); no steps.
    void reset();
    // An edit happened: when the program differs from the last step, a step named `what` is
    // recorded; `save` writes the file as the edit is designed to.
    void commit(const QString& what, bool save, int mergeId = kNoMerge);

    // Whether an edit that leaves the file alone changed the program since the history started
    // or the file was last written (markSaved()).
    bool unsavedEdits() const { return unsaved_; }
    void markSaved() { unsaved_ = false; }

    // Used by the steps: puts `bytes` back as the program and saves it.
    void restore(const std::vector<uint8_t>& bytes);

  signals:
    // Undo or redo changed the program: every view shows it again.
    void restored();

  private:
    ProgramData& program_;
    std::function<bool()> save_;
    QUndoStack stack_;
    std::vector<uint8_t> current_;
    bool unsaved_ = false;
};

}  // namespace brightline::ui
