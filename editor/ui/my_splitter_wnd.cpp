#include "editor/ui/my_splitter_wnd.h"

namespace brightline::ui {

CMy_SplitterWnd::CMy_SplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setChildrenCollapsible(false);
    setHandleWidth(4);
}

}  // namespace brightline::ui
