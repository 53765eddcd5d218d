#pragma once
// The program list view, the bottom pane of the program frame: a tab strip along its bottom edge
// (30 pixels) with "Program list", which shows the item view, and "Time", which shows the
// timeline view. Going back to "Program list" gives the item view the timeline's current area.
// User interface thread only.
#include <QWidget>

#include "common/operator_messages.h"
#include "editor/program_data.h"

class QStackedWidget;
class QTabBar;

namespace brightline::ui {

class CProgram_Menu_view;
class CProgram_Menu_Time_view;
class ThumbnailService;

inline constexpr int kProgramListTabHeight = 30;

class CProgramMenuView : public QWidget {
    Q_OBJECT
  public:
    // All three are borrowed and outlive the view.
    CProgramMenuView(ProgramData& program, ThumbnailService& thumbnails, OperatorMessages& messages,
                     QWidget* parent = nullptr);

    CProgram_Menu_view* itemView() const { return items_; }
    CProgram_Menu_Time_view* timelineView() const { return timeline_; }
    QTabBar* tabs() const { return tabs_; }
    // 0 the item view, 1 the timeline.
    void showTab(int tab);

  private:
    QTabBar* tabs_;
    QStackedWidget* stack_;
    CProgram_Menu_view* items_;
    CProgram_Menu_Time_view* timeline_;
};

}  // namespace brightline::ui
