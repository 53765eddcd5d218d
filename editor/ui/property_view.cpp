#include "editor/ui/property_view.h"

#include <QMimeData>
#include <QTabBar>
#include <QVBoxLayout>

#include "editor/area_format.h"
#include "editor/ui/area_format_thumbnail.h"

namespace brightline::ui {

namespace {
const char* const kTabLabels[] = {"Area Format", "Move In", "Move Out", "Picture",
                                  "AVI",         "ZRT",     "Time"};
constexpr int kTabCount = 7;
}  // namespace

CProgram_Property_ListView::CProgram_Property_ListView(QWidget* parent) : QListWidget(parent) {
    setViewMode(QListView::IconMode);
    setIconSize(QSize(kThumbWidth, kThumbHeight));
    setGridSize(QSize(kThumbWidth + 16, kThumbHeight + 24));
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QMimeData* CProgram_Property_ListView::mimeData(const QList<QListWidgetItem*>& items) const {
    auto* mime = new QMimeData;
    if (!items.isEmpty() && tab == 0)
        mime->setData(kAreaFormatMime, QByteArray::number(row(items.first())));
    return mime;
}

int areaFormatOfDrag(const QMimeData* mime) {
    if (!mime || !mime->hasFormat(kAreaFormatMime)) return -1;
    bool ok = false;
    const int format = mime->data(kAreaFormatMime).toInt(&ok);
    return ok && format >= 0 && format < kAreaFormats ? format : -1;
}

CPropertyView::CPropertyView(int firstTab, QWidget* parent) : QWidget(parent) {
    setObjectName("CPropertyView");
    tabs_ = new QTabBar(this);
    for (const char* label : kTabLabels) tabs_->addTab(label);
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
    list_ = new CProgram_Property_ListView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(list_);
    const int tab = firstTab >= 0 && firstTab < kTabCount ? firstTab : 0;
    tabs_->setCurrentIndex(tab);
    fill(tab);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        fill(index);
        emit tabChanged(index);
    });
}

int CPropertyView::currentTab() const {
    return tabs_->currentIndex();
}

void CPropertyView::setCurrentTab(int tab) {
    tabs_->setCurrentIndex(tab);
}

void CPropertyView::fill(int tab) {
    list_->clear();
    list_->tab = tab;
    if (tab != 0) return;
    for (int format = 0; format < kAreaFormats; ++format)
        list_->addItem(
            new QListWidgetItem(QIcon(areaFormatThumbnail(format)), QString::number(format)));
}

}  // namespace brightline::ui
