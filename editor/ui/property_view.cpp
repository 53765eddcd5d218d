#include "editor/ui/property_view.h"

#include <unistd.h>
#include <QDrag>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTabBar>
#include <QVBoxLayout>

#include "common/effect_names.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/ui/file_dialog_filter.h"
#include "common/ui/qt_text.h"
#include "editor/area_format.h"
#include "editor/ui/area_format_thumbnail.h"
#include "editor/ui/fixed_images.h"
#include "editor/ui/thumbnail_service.h"

namespace brightline::ui {

namespace {

const char* const kTabLabels[kPropertyTabCount] = {"Area Format", "Move In", "Move Out", "Picture",
                                                   "AVI",         "ZRT",     "Time"};
// The drag image's hot spot.
const QPoint kDragHotSpot(8, 8);
const QSize kThumbSize(kThumbWidth, kThumbHeight);
constexpr const char* kMsgMissingEntry =
    "%1 cannot be opened. It stays in the library until you delete it.";
constexpr const char* kMsgLibraryTabs =
    "Resources are kept on the Picture, AVI, ZRT and Time tabs: choose one of them first.";
constexpr const char* kMsgNothingSelected = "Select the entries to delete first.";

bool readable(const std::string& path) {
    return ::access(path.c_str(), R_OK) == 0;
}

}  // namespace

// --- Drags -------------------------------------------------------------------------------

std::optional<PropertyEntry> propertyEntryOfDrag(const QMimeData* mime) {
    if (!mime || !mime->hasFormat(kPropertyEntryMime)) return std::nullopt;
    const QList<QByteArray> parts = mime->data(kPropertyEntryMime).split('\n');
    if (parts.size() != 3) return std::nullopt;
    bool tabOk = false, entryOk = false;
    PropertyEntry entry;
    entry.tab = parts[0].toInt(&tabOk);
    entry.entry = parts[1].toInt(&entryOk);
    entry.path = QString::fromUtf8(parts[2]).toStdString();
    if (!tabOk || !entryOk || entry.tab < 0 || entry.tab >= kPropertyTabCount || entry.entry < 0)
        return std::nullopt;
    if (isLibraryTab(entry.tab) == entry.path.empty()) return std::nullopt;
    return entry;
}

int areaFormatOfDrag(const QMimeData* mime) {
    const auto entry = propertyEntryOfDrag(mime);
    return entry && entry->tab == kTabAreaFormat && entry->entry < kAreaFormats ? entry->entry : -1;
}

// --- The list ----------------------------------------------------------------------------

CProgram_Property_ListView::CProgram_Property_ListView(QWidget* parent) : QListWidget(parent) {
    setObjectName("CProgram_Property_ListView");
    setViewMode(QListView::IconMode);
    setIconSize(kThumbSize);
    setGridSize(QSize(kThumbWidth + 16, kThumbHeight + 36));
    setWordWrap(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void CProgram_Property_ListView::setBackdrop(const QImage& image) {
    backdrop_ = image;
    viewport()->update();
}

QMimeData* CProgram_Property_ListView::entryMime(int entry) const {
    auto* mime = new QMimeData;
    std::string path;
    if (isLibraryTab(tab) && entry >= 0 && static_cast<size_t>(entry) < paths.size())
        path = paths[static_cast<size_t>(entry)];
    const QByteArray data = QByteArray::number(tab) + '\n' + QByteArray::number(entry) + '\n' +
                            QByteArray::fromStdString(path);
    mime->setData(kPropertyEntryMime, data);
    return mime;
}

QMimeData* CProgram_Property_ListView::mimeData(const QList<QListWidgetItem*>& items) const {
    return entryMime(items.isEmpty() ? -1 : row(items.first()));
}

void CProgram_Property_ListView::startDrag(Qt::DropActions) {
    QListWidgetItem* item = currentItem();
    if (!item) return;
    const int entry = row(item);
    if (isLibraryTab(tab)) {
        const std::string& path = paths[static_cast<size_t>(entry)];
        if (!readable(path)) {
            emit missingEntryDragged(qs(path));
            return;
        }
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(entryMime(entry));
    drag->setPixmap(item->icon().pixmap(kThumbSize));
    drag->setHotSpot(kDragHotSpot);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void CProgram_Property_ListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && isLibraryTab(tab)) {
        emit deleteRequested();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CProgram_Property_ListView::paintEvent(QPaintEvent* event) {
    if (!backdrop_.isNull()) {
        QPainter p(viewport());
        const QRect area = viewport()->rect();
        p.drawImage(
            area.bottomRight() - QPoint(backdrop_.width(), backdrop_.height()) + QPoint(1, 1),
            backdrop_);
    }
    QListWidget::paintEvent(event);
}

// --- The view ----------------------------------------------------------------------------

CPropertyView::CPropertyView(int firstTab, ThumbnailService& thumbnails, OperatorMessages& messages,
                             QWidget* parent)
    : QWidget(parent), thumbnails_(thumbnails), messages_(messages) {
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
    const int tab = firstTab >= 0 && firstTab < kPropertyTabCount ? firstTab : 0;
    tabs_->setCurrentIndex(tab);
    fill(tab);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        fill(index);
        emit tabChanged(index);
    });
    connect(&thumbnails_, &ThumbnailService::ready, this, &CPropertyView::thumbnailReady);
    connect(list_, &CProgram_Property_ListView::deleteRequested, this,
            &CPropertyView::deleteResources);
    connect(list_, &CProgram_Property_ListView::missingEntryDragged, this,
            [this](const QString& path) {
                messages_.show(ss(QString(kMsgMissingEntry).arg(path)), "INFO",
                               MessageIcon::Information);
                refill();
            });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int tab = list_->tab;
        if (tab != kTabPicture && tab != kTabTextPage && tab != kTabClockPage) return;
        const int entry = list_->row(item);
        if (entry >= 0 && static_cast<size_t>(entry) < list_->paths.size())
            emit openMediumRequested(qs(list_->paths[static_cast<size_t>(entry)]));
    });
}

int CPropertyView::currentTab() const {
    return tabs_->currentIndex();
}

void CPropertyView::setCurrentTab(int tab) {
    if (tab == tabs_->currentIndex())
        fill(tab);
    else
        tabs_->setCurrentIndex(tab);
}

void CPropertyView::refill() {
    fill(currentTab());
}

std::string CPropertyView::libraryFile() const {
    const char* name = libraryFileName(currentTab());
    return name ? joinPath(startFolder(), name) : std::string();
}

void CPropertyView::fill(int tab) {
    list_->clear();
    list_->paths.clear();
    list_->tab = tab;
    list_->setSelectionMode(isLibraryTab(tab) ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::SingleSelection);
    const QImage backdrop(qs(joinPath(startFolder(), kBackdropFile)));
    list_->setBackdrop(backdrop);
    switch (tab) {
        case kTabAreaFormat:
            for (int format = 0; format < kAreaFormats; ++format)
                list_->addItem(new QListWidgetItem(QIcon(areaFormatThumbnail(format)),
                                                   QString::number(format)));
            return;
        case kTabMoveIn:
            for (int index = 0; index < kEffectCount - 1; ++index)
                list_->addItem(new QListWidgetItem(QIcon(moveInImage(index)),
                                                   effectAt(index + 1)->displayName));
            return;
        case kTabMoveOut:
            for (int index = 0; index < kEffectCount; ++index)
                list_->addItem(
                    new QListWidgetItem(QIcon(moveOutImage(index)), effectAt(index)->displayName));
            return;
        default:
            break;
    }
    LibraryList library;
    if (library.load(libraryFile()) == LibraryLoadResult::BadMark) {
        messages_.show(kLibraryMarkError);
        return;
    }
    for (int entry = 0; entry < library.shownCount(); ++entry) {
        const std::string path = library.shownPath(entry);
        list_->paths.push_back(path);
        auto* item = new QListWidgetItem(QIcon(mediumPicture(thumbnails_, path, kThumbSize)),
                                         qs(fileNameOf(path)));
        item->setToolTip(qs(path));
        list_->addItem(item);
    }
}

void CPropertyView::thumbnailReady(const QString& path, QSize size) {
    if (size != kThumbSize || !isLibraryTab(list_->tab)) return;
    const std::string changed = ss(path);
    for (size_t entry = 0; entry < list_->paths.size(); ++entry) {
        if (list_->paths[entry] != changed) continue;
        if (QListWidgetItem* item = list_->item(static_cast<int>(entry)))
            item->setIcon(QIcon(mediumPicture(thumbnails_, changed, kThumbSize)));
    }
}

void CPropertyView::addResource() {
    const int tab = currentTab();
    if (!isLibraryTab(tab)) {
        messages_.show(kMsgLibraryTabs, "INFO", MessageIcon::Information);
        return;
    }
    auto* dialog = new QFileDialog(this, "Add Resource", qs(startFolder()),
                                   dialogFilter(addResourceFilters(tab)));
    dialog->setObjectName("addResourceDialog");
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::filesSelected, this, &CPropertyView::addResources);
    dialog->open();
}

void CPropertyView::addResources(const QStringList& files) {
    const int tab = currentTab();
    if (!isLibraryTab(tab)) return;
    std::vector<std::string> chosen;
    for (const QString& file : files) chosen.push_back(ss(file));
    brightline::addResources(tab, libraryFile(), chosen, messages_);
    refill();
}

void CPropertyView::deleteResources() {
    if (!isLibraryTab(currentTab())) {
        messages_.show(kMsgLibraryTabs, "INFO", MessageIcon::Information);
        return;
    }
    std::vector<int> entries;
    for (QListWidgetItem* item : list_->selectedItems()) entries.push_back(list_->row(item));
    if (entries.empty()) {
        messages_.show(kMsgNothingSelected, "INFO", MessageIcon::Information);
        return;
    }
    brightline::deleteResources(libraryFile(), entries, messages_);
    refill();
}

}  // namespace brightline::ui
