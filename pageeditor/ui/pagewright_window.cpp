#include "pageeditor/ui/pagewright_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>

#include "common/file_io.h"
#include "pageeditor/document_names.h"
#include "pageeditor/ui/extend_font_style_dialog.h"
#include "pageeditor/ui/page_format_dialog.h"
#include "pageeditor/ui/page_view.h"

namespace brightline::ui {

using namespace pageeditor;

namespace {

struct MenuEntry {
    PagewrightWindow::Command command;
    const char* menu;
    const char* text;
    const char* key;  // empty: none
    bool checkable;
};

using C = PagewrightWindow::Command;

// The menus in order; a null entry text is a separator.
const MenuEntry kMenus[] = {
    {C::New, "&File", "New(&N)", "Ctrl+N", false},
    {C::Open, "&File", "Open(&O)", "Ctrl+O", false},
    {C::Save, "&File", "Save(&S)", "Ctrl+S", false},
    {C::SaveAs, "&File", "Save As", "", false},
    {C::Exit, "&File", "Exit(&X)", "Ctrl+X", false},
    {C::Undo, "&Edit", "Undo(&Z)", "Ctrl+Z", false},
    {C::Redo, "&Edit", "Redo(&Y)", "Ctrl+Y", false},
    {C::SelectAll, "&Edit", "Select All(&A)", "Ctrl+A", false},
    {C::AlignLeft, "&Edit", "Align Left(&L)", "Ctrl+L", false},
    {C::AlignCenter, "&Edit", "Align Center(&E)", "Ctrl+E", false},
    {C::AlignRight, "&Edit", "Align Right(&R)", "Ctrl+R", false},
    {C::InsertPicture, "&Edit", "Insert Picture(&P)", "Ctrl+P", false},
    {C::Zoom, "&View", "Zoom(&Z)", "", true},
    {C::Font, "&Set", "Font(&F)", "Ctrl+F", false},
    {C::Color, "&Set", "Color(&U)", "Ctrl+U", false},
    {C::ExtendFontStyle, "&Set", "Extend Font Style", "Ctrl+Shift+E", false},
    {C::PageFormat, "&Set", "Page Format(&M)", "Ctrl+M", false},
    {C::PageEdit, "&Set", "Page Edit(&I)", "", true},
    {C::About, "&Help", "About(&A)", "", false},
};

// The keys of an entry: its Ctrl+letter, and the same letter in upper case (Ctrl+Shift), except
// where Ctrl+Shift+letter is a command of its own.
QList<QKeySequence> keysOf(const MenuEntry& entry) {
    QList<QKeySequence> keys;
    if (!*entry.key) return keys;
    keys << QKeySequence(entry.key);
    const QString key = entry.key;
    if (key.startsWith("Ctrl+") && key.size() == 6 && key != "Ctrl+E") {
        keys << QKeySequence("Ctrl+Shift+" + key.mid(5));
    }
    if (entry.command == C::Redo) keys << QKeySequence("Ctrl+Shift+Z");
    return keys;
}

}  // namespace

PagewrightWindow::PagewrightWindow(std::unique_ptr<StandardDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtStandardDialogs>()),
      editor_(std::make_unique<PageEditor>(this)) {
    view_ = new PageView(*editor_, this);
    setCentralWidget(view_);
    createActions();
    connect(editor_.get(), &PageEditor::changed, this, &PagewrightWindow::updateActions);
    updateActions();
    fitToCanvas();
    view_->setFocus();
}

PagewrightWindow::~PagewrightWindow() = default;

void PagewrightWindow::createActions() {
    std::map<std::string, QMenu*> menus;
    for (const MenuEntry& entry : kMenus) {
        QMenu*& menu = menus[entry.menu];
        if (!menu) menu = menuBar()->addMenu(entry.menu);
        if (entry.command == C::SelectAll) menu->addSeparator();
        auto* action = new QAction(entry.text, this);
        action->setShortcuts(keysOf(entry));
        action->setCheckable(entry.checkable);
        const Command command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
        menu->addAction(action);
        actions_[command] = action;
    }
}

void PagewrightWindow::updateActions() {
    const TextDocument& doc = editor_->document();
    setWindowTitle(qs(windowTitleFor(doc.path(), doc.modified())));
    actions_[C::Undo]->setEnabled(editor_->canUndo());
    actions_[C::Redo]->setEnabled(editor_->canRedo());
    actions_[C::Zoom]->setChecked(doc.zoom());
    actions_[C::PageEdit]->setChecked(doc.pageEdit());
}

void PagewrightWindow::run(Command command) {
    TextDocument& doc = editor_->document();
    switch (command) {
        case C::New:
            if (!maybeSave()) return;
            editor_->newDocument();
            view_->scrollToStart();
            return;
        case C::Open:
            return open();
        case C::Save:
            save();
            return;
        case C::SaveAs:
            saveAs();
            return;
        case C::Exit:
            close();
            return;
        case C::Undo:
            return editor_->undo();
        case C::Redo:
            return editor_->redo();
        case C::SelectAll:
            doc.selectAll();
            return editor_->announceCaretMove();
        case C::AlignLeft:
        case C::AlignCenter:
        case C::AlignRight: {
            const Alignment a = command == C::AlignLeft     ? Alignment::Left
                                : command == C::AlignCenter ? Alignment::Centre
                                                            : Alignment::Right;
            return editor_->edit(EditKind::Other, [&] { doc.alignCaretLine(a); });
        }
        case C::InsertPicture:
            return insertPicture();
        case C::Zoom:
            doc.setZoom(!doc.zoom());
            editor_->announceChange();
            return fitToCanvas();
        case C::Font:
            return chooseFont();
        case C::Color:
            return chooseColor();
        case C::ExtendFontStyle:
            return extendFontStyle();
        case C::PageFormat:
            return pageFormat();
        case C::PageEdit:
            doc.setPageEdit(!doc.pageEdit());
            return editor_->announceChange();
        case C::About:
            editor_->messages().show(kAboutText, kAboutCaption, MessageIcon::Information);
            return;
    }
}

void PagewrightWindow::startOn(const std::string& path) {
    editor_->document().setPath(path);
    if (fileExists(path) && !editor_->load(path)) editor_->document().setPath(kNewDocumentPath);
    updateActions();
    fitToCanvas();
}

// --- files -----------------------------------------------------------------------------------

QString PagewrightWindow::documentFolder() const {
    return QFileInfo(qs(editor_->document().path())).absolutePath();
}

bool PagewrightWindow::maybeSave() {
    const TextDocument& doc = editor_->document();
    if (!doc.modified()) return true;
    switch (editor_->messages().show(saveChangesQuestion(doc.path()))) {
        case MessageAnswer::Yes:
            return save();
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

bool PagewrightWindow::save() {
    return editor_->save(editor_->document().path());
}

bool PagewrightWindow::saveAs() {
    const QString initial = QFileInfo(qs(editor_->document().path())).absoluteFilePath();
    const std::string chosen = ss(dialogs_->saveTextPage(this, initial));
    if (chosen.empty()) return false;
    const std::string path = saveAsPath(chosen);
    // The dialog asked about the name it showed; the name with ".ZRT" is asked about here.
    if (path != chosen && fileExists(path)) {
        std::string question = kReplaceQuestion;
        question.replace(question.find("%s"), 2, path);
        if (editor_->messages().show(question, "Save As", MessageIcon::Warning,
                                     MessageButtons::YesNo) != MessageAnswer::Yes)
            return false;
    }
    return editor_->save(path);
}

void PagewrightWindow::open() {
    if (!maybeSave()) return;
    const QString path = dialogs_->openTextPage(this, documentFolder());
    if (path.isEmpty()) return;
    if (editor_->load(ss(path))) {
        view_->scrollToStart();
        fitToCanvas();
    }
}

void PagewrightWindow::closeEvent(QCloseEvent* event) {
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void PagewrightWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitToCanvas();
}

// --- edit and set ----------------------------------------------------------------------------

void PagewrightWindow::insertPicture() {
    const QString path = dialogs_->openPicture(this, documentFolder());
    if (path.isEmpty()) return;
    TextDocument& doc = editor_->document();
    editor_->edit(EditKind::Other, [&] { doc.insertPictureFile(ss(path), editor_->messages()); });
}

void PagewrightWindow::chooseFont() {
    TextDocument& doc = editor_->document();
    const auto font = dialogs_->chooseFont(this, doc.currentFont().font);
    if (font) editor_->edit(EditKind::Other, [&] { doc.setFont(*font); });
}

void PagewrightWindow::chooseColor() {
    TextDocument& doc = editor_->document();
    const auto color = dialogs_->chooseColor(this, doc.currentStyle().textColor);
    if (color) editor_->edit(EditKind::Other, [&] { doc.setTextColor(*color); });
}

void PagewrightWindow::extendFontStyle() {
    auto* dialog = new ExtendFontStyleDialog(editor_->document().currentStyle(), *dialogs_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        TextDocument& doc = editor_->document();
        editor_->edit(EditKind::Other, [&] {
            doc.setContourStyle(dialog->contour(), dialog->outlineColor(), dialog->outlineWidth());
        });
    });
    dialog->open();
}

void PagewrightWindow::pageFormat() {
    auto apply = [this](PageLayout layout, int width, int height) {
        TextDocument& doc = editor_->document();
        PageFormatCheck check;
        editor_->edit(EditKind::Other, [&] {
            check = doc.setPageFormat(layout, width, height, pageFormatLimits());
        });
        if (check.accepted) {
            fitToCanvas();
            view_->scrollToStart();
        }
        return check;
    };
    auto* dialog = new PageFormatDialog(editor_->document().page().geometry, apply, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// --- size ------------------------------------------------------------------------------------

PageFormatLimits PagewrightWindow::pageFormatLimits() const {
    const QScreen* s = screen();
    const QSize size = s ? s->geometry().size() : QSize(1024, 768);
    const QRect outer = frameGeometry(), inner = geometry();
    const int frameWidth = std::max(0, (outer.width() - inner.width()) / 2);
    const int frameHeight = std::max(0, outer.bottom() - inner.bottom());
    const int caption = std::max(0, inner.top() - outer.top() - frameHeight);
    return limitsForScreen(size.width(), size.height(), frameWidth, frameHeight, caption,
                           menuBar()->sizeHint().height());
}

void PagewrightWindow::fitToCanvas() {
    const PageFormatLimits limits = pageFormatLimits();
    view_->setMaximumCanvasView(
        QSize(std::max(128, limits.maxWidth), std::max(128, limits.maxHeight)));
    if (isMaximized() || isFullScreen()) return;
    resize(QSize(view_->sizeHint().width(),
                 view_->sizeHint().height() + menuBar()->sizeHint().height()));
}

}  // namespace brightline::ui
