#pragma once
// The item view: the selected area's elements as a row of cards on a light blue ground. The
// background card comes first, then one card per item with its thumbnail, name, hold time
// ("Stop hh:mm:ss") and entry effect, and beside it the item's exit effect box. The geometry
// and the edits are the core's (editor/program_list_geometry.h, editor/element_list.h); the
// view paints, forwards the mouse and the keyboard, and reports.
//
// A click selects an element and has the layout view show it; a double click asks for its
// medium to be opened in its editor; the context menu offers "Set Speed" (for "Move left" and
// "Move right" only), "Set Delay" and "Del Program"; the Delete key deletes the selected
// element. Entries dragged from the property view land here: entry effects on a card, exit
// effects on an exit box, media on the background card or between the cards (an insertion mark
// shows where). Every change is reported with `edited`, which records the step and saves the
// program. User interface thread only.
#include <QAbstractScrollArea>

#include "common/operator_messages.h"
#include "editor/program_data.h"
#include "editor/program_list_geometry.h"

class QMenu;

namespace brightline::ui {

class ThumbnailService;

class CProgram_Menu_view : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // All three are borrowed and outlive the view.
    CProgram_Menu_view(ProgramData& program, ThumbnailService& thumbnails,
                       OperatorMessages& messages, QWidget* parent = nullptr);

    // Select area: the cards of area `slot`.
    void selectArea(int slot);
    // Refresh: the cards from the area list (after the list changed elsewhere).
    void refresh();
    int currentArea() const { return area_; }
    int count() const;
    // The selected element, -1 when none.
    int selectedIndex() const { return selected_; }
    void selectElement(int index);

    // The context menu of element `index` (the caller owns it).
    QMenu* contextMenuFor(int index);
    void setSpeedOf(int index);
    void setDelayOf(int index);
    void deleteElementAt(int index);

    // Where card content coordinate x lies in the viewport.
    int viewX(int contentX) const;

  signals:
    // `what` names the step; `save`: the program is saved, as this edit always did.
    void edited(const QString& what, bool save);
    // The layout view shows element `index` of `area` (-1: nothing).
    void elementShown(int area, int index);
    void openMediumRequested(const QString& path);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    ItemHit hitAt(const QPoint& viewPoint) const;
    void updateScrollRange();
    void clearDropMarks();
    void drawCard(QPainter& p, int index);

    ProgramData& program_;
    ThumbnailService& thumbnails_;
    OperatorMessages& messages_;
    int area_ = 0;
    int selected_ = -1;
    ItemHit hover_;
    ItemHit dropTarget_;
    int insertSlot_ = -1;  // the insertion mark's slot during a drag, -1 when none
};

}  // namespace brightline::ui
