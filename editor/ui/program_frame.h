#pragma once
// The program frame: the one open program in the main window. A toolbar ("Add Resource ",
// "Del Resource ", "Set Delay"), then two static splitters: row 0 (screen height - 368, at least
// 200) holds the property view and the layout view side by side, row 1 (200) the program list
// (the item view and the timeline). Its title is the program path. Opening loads the program
// (defaults for a new one, which takes the current sign's size); closing asks "Save changes to
// PATH" (Yes, No) when an area format, a dividing line or the sign size changed since the file
// was last written, empties the program's lists and reports `closed` unless the main window
// closed it itself. Play, Stop and Send run
// through the main window's PlaySession, which the frame lends its layout view.
//
// The frame wires its views together: an area selected in the layout view is the one the item
// view shows; an element clicked or hovered in the program list is shown in its area; every edit
// a view reports becomes a step of the frame's undo history (undoStack()), which also saves the
// program where the edit is designed to. Media are opened in their editors by whoever listens
// to `openMediumRequested` (the main window decides by the medium's kind). Owns the thumbnail
// service its views share. User interface thread only.
#include <QPointer>
#include <QWidget>
#include <string>

#include "common/operator_messages.h"
#include "editor/ui/play_session.h"
#include "editor/ui/step_guide.h"

class QUndoStack;

namespace brightline::ui {

class CMy_SplitterWnd;
class CPropertyView;
class CProgram_Layout_view;
class CProgramMenuView;
class ProgramHistory;
class ThumbnailService;

class CProgramFrame : public QWidget {
    Q_OBJECT
  public:
    // `session` and `messages` are borrowed and outlive the frame. `firstTab` is the property
    // view's first tab ("FIRST_SEL_RC").
    CProgramFrame(const QString& programPath, bool newProgram, bool showGuide, int firstTab,
                  PlaySession& session, OperatorMessages& messages, QWidget* parent = nullptr);
    ~CProgramFrame() override;

    QString programPath() const { return path_; }
    // Save As: the program takes the path (and the frame its title).
    void setProgramPath(const QString& path);
    // Writes the program to its path; false (reported) when it could not be written.
    bool save();
    // The main window closes the frame itself: no `closed` report.
    void markClosedByOwner() { closedByOwner_ = true; }

    CProgram_Layout_view* layoutView() const { return layout_; }
    CPropertyView* propertyView() const { return property_; }
    CProgramMenuView* programList() const { return programList_; }
    CStepGuide* stepGuide() const { return guide_; }
    QUndoStack* undoStack() const;
    ThumbnailService& thumbnails() const { return *thumbnails_; }
    int selectedArea() const { return selectedArea_; }

    // The toolbar's "Set Delay": the delay of the element selected in the item view.
    void setDelayOfSelected();
    // The step guide's five steps (1..5).
    void guideStep(int step);

  signals:
    void closed(CProgramFrame* frame);
    // A medium (a picture, a text page, a clock page) is to be opened in its editor; guide
    // step 1 asks for a new text page this way.
    void openMediumRequested(const QString& path);
    void propertyTabChanged(int tab);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void wireViews();
    void showElement(int area, int index);
    void insertFirstTextPage();

    QString path_;
    OperatorMessages& messages_;
    ThumbnailService* thumbnails_ = nullptr;
    ProgramHistory* history_ = nullptr;
    CMy_SplitterWnd* rows_ = nullptr;
    CMy_SplitterWnd* columns_ = nullptr;
    CPropertyView* property_ = nullptr;
    CProgram_Layout_view* layout_ = nullptr;
    CProgramMenuView* programList_ = nullptr;
    QPointer<CStepGuide> guide_;
    int selectedArea_ = 0;
    bool closedByOwner_ = false;
    bool closing_ = false;
};

}  // namespace brightline::ui
