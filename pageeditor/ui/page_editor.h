#pragma once
// The one text page being edited in the editor window: the document, the fonts it is measured
// and drawn with, and its undo history, shared by the window (menus and dialogs) and the page
// view (keys, mouse, input method).
//
// Every change goes through edit() (or typeText(), undo(), redo()), which keeps the history and
// announces the change with changed(); moves of the caret and selection are announced with
// caretMoved(). The modified mark follows the history: undoing back to the state last saved or
// loaded clears it.
//
// Messages to the operator go through QtMessages (tests intercept them). User interface thread
// only; needs a QApplication.
#include <QObject>
#include <QString>
#include <string>

#include "common/ui/qt_messages.h"
#include "pageeditor/edit_history.h"
#include "pageeditor/render/qt_font_catalog.h"
#include "pageeditor/text_document.h"

namespace brightline::ui {

// "%s cannot be written in a text page: it holds GBK characters only." with the refused
// characters for %s.
inline constexpr const char* kCharactersRefusedMessage =
    "\"%s\" cannot be written in a text page: it holds GBK characters only.";

class PageEditor : public QObject {
    Q_OBJECT

  public:
    // `messageParent` (may be null) is the window message boxes are centred on.
    explicit PageEditor(QWidget* messageParent = nullptr);

    pageeditor::TextDocument& document() { return document_; }
    const pageeditor::TextDocument& document() const { return document_; }
    pageeditor::QtFontCatalog& fonts() { return fonts_; }
    OperatorMessages& messages() { return messages_; }

    // Runs `change` on the document as one undoable step and announces it.
    template <class Change>
    void edit(pageeditor::EditKind kind, Change&& change) {
        history_.edit(document_, kind, std::forward<Change>(change));
        emit changed();
    }
    // Typed or committed text (from the keyboard or an input method): the selection is replaced
    // by what GBK holds of it; characters GBK cannot hold are refused with a short message.
    // False when something was refused.
    bool typeText(const QString& text);

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    void undo();
    void redo();

    // New: an empty document with the default path, nothing to undo, not modified.
    void newDocument();
    // Loads a text page file. Not loaded: the operator is told why and the document stays as
    // it was. Loaded: nothing to undo, not modified.
    bool load(const std::string& path);
    // Saves with the page pictures to `path`, which becomes the document's path; the saved
    // state is the clean one. A failure is reported and changes nothing.
    bool save(const std::string& path);

    // The caret or selection moved (not a change of the document).
    void announceCaretMove() { emit caretMoved(); }
    // The document's state changed outside edit() (zoom, page edit).
    void announceChange() { emit changed(); }

  signals:
    void changed();
    void caretMoved();

  private:
    // Done: announces the change. Not done: "The text page could not be <what>." with the error
    // on a line of its own.
    bool finishFileWork(bool done, const char* what, const std::string& error);

    QtMessages messages_;
    pageeditor::QtFontCatalog fonts_;
    pageeditor::TextDocument document_;
    pageeditor::EditHistory history_;
};

}  // namespace brightline::ui
