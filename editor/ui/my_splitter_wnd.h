#pragma once
// The program frame's static splitter: fixed panes whose first sizes are given when it is built.
#include <QSplitter>

namespace brightline::ui {

class CMy_SplitterWnd : public QSplitter {
    Q_OBJECT
  public:
    CMy_SplitterWnd(Qt::Orientation orientation, QWidget* parent = nullptr);
    // The panes' sizes, first to last, in pixels.
    void setPaneSizes(const QList<int>& sizes) { setSizes(sizes); }
};

}  // namespace brightline::ui
