#pragma once
// The program frame: the one open program in the main window. A toolbar ("Add Resource ",
// "Del Resource ", "Set Delay"), then two static splitters: row 0 (screen height - 368, at least
// 200) holds the property view and the layout view side by side, row 1 (200) the program list.
// Its title is the program path. Opening loads the program (defaults for a new one, which takes
// the current sign's size); closing empties the program's lists and reports `closed` unless the
// main window closed it itself. Play, Stop and Send run through the main window's PlaySession,
// which the frame lends its layout view. User interface thread only.
#include <QPointer>
#include <QWidget>
#include <string>

#include "common/operator_messages.h"
#include "editor/ui/play_session.h"
#include "editor/ui/step_guide.h"

namespace brightline::ui {

class CMy_SplitterWnd;
class CPropertyView;
class CProgram_Layout_view;

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
    CStepGuide* stepGuide() const { return guide_; }
    int selectedArea() const { return selectedArea_; }

    // The step guide's five steps (1..5).
    void guideStep(int step);

  signals:
    void closed(CProgramFrame* frame);
    void textPageEditorRequested(const QString& path);
    void propertyTabChanged(int tab);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void notAvailable(const char* what);

    QString path_;
    OperatorMessages& messages_;
    CMy_SplitterWnd* rows_ = nullptr;
    CMy_SplitterWnd* columns_ = nullptr;
    CPropertyView* property_ = nullptr;
    CProgram_Layout_view* layout_ = nullptr;
    QWidget* programList_ = nullptr;
    QPointer<CStepGuide> guide_;
    int selectedArea_ = 0;
    bool closedByOwner_ = false;
    bool closing_ = false;
};

}  // namespace brightline::ui
