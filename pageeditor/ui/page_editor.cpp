#include "pageeditor/ui/page_editor.h"

#include <cstdio>

#include "pageeditor/dbcs_text.h"
#include "pageeditor/page_format.h"
#include "pageeditor/render/page_pictures.h"

namespace brightline::ui {

using namespace pageeditor;

PageEditor::PageEditor(QWidget* messageParent) : messages_(messageParent), document_(fonts_) {}

bool PageEditor::typeText(const QString& text) {
    const TypedText typed = pageeditor::typedText(ss(text));
    if (!typed.oem.empty()) edit(EditKind::Typing, [&] { document_.typeText(typed.oem); });
    if (typed.refused.empty()) return true;
    std::string message = kCharactersRefusedMessage;
    message.replace(message.find("%s"), 2, typed.refused);
    messages_.show(message, kPagewrightTitle, MessageIcon::Information);
    return false;
}

void PageEditor::undo() {
    if (history_.undo(document_)) emit changed();
}

void PageEditor::redo() {
    if (history_.redo(document_)) emit changed();
}

void PageEditor::newDocument() {
    document_.clear();
    history_.clear();
    emit changed();
}

bool PageEditor::load(const std::string& path) {
    std::string error;
    const bool loaded = document_.load(path, &error) == TextPageLoadResult::Loaded;
    if (loaded) history_.clear();
    return finishFileWork(loaded, "opened", error);
}

bool PageEditor::save(const std::string& path) {
    std::string error;
    const bool saved = saveTextDocument(document_, path, fonts_, &error);
    if (saved) history_.markClean();
    return finishFileWork(saved, "saved", error);
}

bool PageEditor::finishFileWork(bool done, const char* what, const std::string& error) {
    if (!done) {
        messages_.show(std::string("The text page could not be ") + what + ".\n" + error,
                       kPagewrightTitle, MessageIcon::Warning);
        return false;
    }
    emit changed();
    return true;
}

}  // namespace brightline::ui
