#pragma once
// The Pagewright window: one text page, its menus with their Ctrl keys, the dialogs, and the
// title "Pagewright V1.3 - [path]" with " *" while modified.
//
// Menus (Ctrl with the letter in either case, that is also with Shift, runs the same command;
// Ctrl+Shift+E is Extend Font Style):
//   File  New Ctrl+N, Open Ctrl+O, Save Ctrl+S, Save As, Exit Ctrl+X
//   Edit  Undo Ctrl+Z, Redo Ctrl+Y (also Ctrl+Shift+Z), Select All Ctrl+A, Align Left Ctrl+L,
//         Align Center Ctrl+E, Align Right Ctrl+R, Insert Picture Ctrl+P
//   View  Zoom (on at start)
//   Set   Font Ctrl+F, Color Ctrl+U, Extend Font Style Ctrl+Shift+E, Page Format Ctrl+M,
//         Page Edit (on at start)
//   Help  About
// New, Open and closing ask "Save changes to <path>" while the document is modified: Yes saves
// first (a save that fails abandons the command, so nothing is lost), No discards, Cancel
// abandons. A file that cannot be opened is named in a message and the document stays.
//
// Owns the PageEditor (document, fonts, undo history) and the PageView. The standard dialogs
// (files, font, colour) are asked through StandardDialogs, which tests replace. User interface
// thread only.
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "pageeditor/page_format.h"
#include "pageeditor/ui/page_editor.h"
#include "pageeditor/ui/standard_dialogs.h"

class QAction;

namespace brightline::ui {

class PageView;

inline constexpr const char* kAboutCaption = "About Pagewright";
inline constexpr const char* kAboutText = "Pagewright\nVersion : 1.3\nDate : 2009-11-24";
inline constexpr const char* kReplaceQuestion = "%s already exists.\nDo you want to replace it?";

class PagewrightWindow : public QMainWindow {
    Q_OBJECT

  public:
    enum class Command {
        New,
        Open,
        Save,
        SaveAs,
        Exit,
        Undo,
        Redo,
        SelectAll,
        AlignLeft,
        AlignCenter,
        AlignRight,
        InsertPicture,
        Zoom,
        Font,
        Color,
        ExtendFontStyle,
        PageFormat,
        PageEdit,
        About,
    };

    // `dialogs` null: Qt's own standard dialogs.
    explicit PagewrightWindow(std::unique_ptr<StandardDialogs> dialogs = nullptr,
                              QWidget* parent = nullptr);
    ~PagewrightWindow() override;

    // The start: the path becomes the document's and the file is loaded when it exists. A file
    // that is there but cannot be read is named in a message, and the document keeps the
    // default path so that Save cannot overwrite it unawares.
    void startOn(const std::string& path);

    QAction* action(Command command) const { return actions_.at(command); }
    void run(Command command);
    PageEditor& editor() { return *editor_; }
    PageView* view() const { return view_; }
    // The largest page: from the screen, the window's frame, caption and menu.
    pageeditor::PageFormatLimits pageFormatLimits() const;

    // Save to the current path; Save As with its dialog. False when nothing was saved.
    bool save();
    bool saveAs();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void createActions();
    void updateActions();
    // Asks to save a modified document: true when the command may go on.
    bool maybeSave();
    void open();
    void insertPicture();
    void chooseFont();
    void chooseColor();
    void extendFontStyle();
    void pageFormat();
    // Sizes the window to the canvas at its zoom, within the largest page the screen shows.
    void fitToCanvas();
    QString documentFolder() const;

    std::unique_ptr<StandardDialogs> dialogs_;
    std::unique_ptr<PageEditor> editor_;
    PageView* view_;
    std::map<Command, QAction*> actions_;
};

}  // namespace brightline::ui
