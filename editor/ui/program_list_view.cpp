#include "editor/ui/program_list_view.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "editor/ui/item_view.h"
#include "editor/ui/timeline_view.h"

namespace brightline::ui {

CProgramMenuView::CProgramMenuView(ProgramData& program, ThumbnailService& thumbnails,
                                   OperatorMessages& messages, QWidget* parent)
    : QWidget(parent) {
    setObjectName("CProgramMenuView");
    stack_ = new QStackedWidget(this);
    items_ = new CProgram_Menu_view(program, thumbnails, messages, stack_);
    timeline_ = new CProgram_Menu_Time_view(program, thumbnails, stack_);
    stack_->addWidget(items_);
    stack_->addWidget(timeline_);
    tabs_ = new QTabBar(this);
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->addTab("Program list");
    tabs_->addTab("Time");
    tabs_->setExpanding(false);
    tabs_->setFixedHeight(kProgramListTabHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(stack_, 1);
    layout->addWidget(tabs_);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab == 0) items_->selectArea(timeline_->currentArea());
        if (tab == 1) timeline_->refresh();
        stack_->setCurrentIndex(tab);
    });
}

void CProgramMenuView::showTab(int tab) {
    tabs_->setCurrentIndex(tab);
}

}  // namespace brightline::ui
