#pragma once
// The timeline view: a ruler of seconds, then one row per area of the format, and in each row
// one bar per element from its `start`, `hold` seconds long (one pixel a second), with the
// medium's picture at its left. Hovering shows the time on the ruler and an element's path and
// hold on its bar, and has the layout view show that element; a click makes a bar current, and
// dragging the current bar's right end resizes it (10 seconds at least, the later bars follow); the
// Delete key deletes the current element; media dragged from the property view are inserted into a
// row where the green insertion mark shows. Every change is reported with `edited`, which records
// the step and saves the program. The geometry and the edits are the core's. User interface thread
// only.
#include <QAbstractScrollArea>

#include "editor/program_data.h"

namespace brightline::ui {

class ThumbnailService;

class CProgram_Menu_Time_view : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // Both are borrowed and outlive the view.
    CProgram_Menu_Time_view(ProgramData& program, ThumbnailService& thumbnails,
                            QWidget* parent = nullptr);

    // Set area count: one row per area (1..4).
    void setAreaCount(int count);
    int areaCount() const { return areaCount_; }
    int currentArea() const { return area_; }
    void setCurrentArea(int area);
    // The current element of the current area; one past the last after a click on empty space.
    int currentElement() const { return element_; }
    void refresh();

    // The viewport rectangle of element `index`'s bar in row `area` (tests and the tour).
    QRect barRect(int area, int index) const;

  signals:
    void edited(const QString& what, bool save);
    void elementShown(int area, int index);
    void currentAreaChanged(int area);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    int scroll() const;
    QRect rowRect(int row) const;
    const std::vector<CElement>* list(int area) const;
    void updateScrollRange();
    void drawRuler(QPainter& p);
    void drawRow(QPainter& p, int row);
    void setCurrent(int area, int element);

    ProgramData& program_;
    ThumbnailService& thumbnails_;
    int areaCount_ = 1;
    int area_ = 0;
    int element_ = -1;
    int hoverArea_ = -1;
    int hoverElement_ = -1;
    bool resizeReady_ = false;  // the pointer is on a bar's end
    bool resizing_ = false;
    bool resizeMoved_ = false;
    int resizeArea_ = -1;
    int resizeElement_ = -1;
    int focusRight_ = 0;  // the dragged end, in seconds
    int markArea_ = -1;   // the insertion mark during a drag
    int markX_ = 0;
};

}  // namespace brightline::ui
